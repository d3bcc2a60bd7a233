#include "app/windows/chat/chat_message.h"

#include "kestrum/core/util_text.h"

namespace ZuvraKestrum::Chat {

namespace {

constexpr uint32_t kRemoteTextColor = 0xFF333333;
constexpr uint32_t kOwnTextColor = 0xFFFFFFFF;

}  // namespace

BubbleSide SideOf(const std::string& uid, const std::string& ownUid) {
    return uid != ownUid ? BubbleSide::kRemote : BubbleSide::kOwn;
}

bool HasBubble(const std::string& uid, const std::string& text) {
    return !uid.empty() && !text.empty();
}

bool ShowsAvatarOf(const ChatMessage& message, const std::string& uid) {
    return message.uid == uid && !message.text.empty();
}

const wchar_t* AvatarBox(BubbleSide side) {
    return side == BubbleSide::kRemote ? L"chat_logo" : L"chat_logo1";
}

BubbleLook LookOf(const ChatMessage& message) {
    const bool remote = message.side == BubbleSide::kRemote;
    BubbleLook look;
    look.sideBox = remote ? L"vRemote" : L"vme";
    look.otherBox = remote ? L"vme" : L"vRemote";
    look.avatarBox = AvatarBox(message.side);
    look.nick = Util::Utf8ToCString(message.nick);
    look.nickAlign = remote ? L"left" : L"right";
    look.text = ShownText(message.text);
    look.size = LayoutBubble(message.side, MeasureChatText(look.text));
    look.textColor = remote ? kRemoteTextColor : kOwnTextColor;
    look.padded = !remote;
    return look;
}

}  // namespace ZuvraKestrum::Chat
