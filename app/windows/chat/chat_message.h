#pragma once

#include <cstdint>
#include <string>

#include "app/windows/chat/bubble_layout.h"

// A chat message as the panel keeps it, and what its bubble shows. Plain values and pure
// functions without window types; safe on any thread. The controls named are the bubble
// markup's ("ChatListItem-en.xml").
namespace ZuvraKestrum::Chat {

struct ChatMessage {
    int index = 0;  // in the order of arrival
    std::string uid;
    std::string portraitId;
    std::wstring text;  // at most what its bubble shows (ShownText)
    std::string nick;   // UTF-8
    BubbleSide side = BubbleSide::kRemote;
};

// The user ownUid's own messages stand on the right, everyone else's on the left.
BubbleSide SideOf(const std::string& uid, const std::string& ownUid);

// A message gets a bubble when it names a sender and has text (UTF-8 as it arrived); otherwise
// its item stays as the markup made it.
bool HasBubble(const std::string& uid, const std::string& text);

// The bubble of message shows uid's avatar, which changes with it.
bool ShowsAvatarOf(const ChatMessage& message, const std::string& uid);

// The box of the markup holding side's avatar.
const wchar_t* AvatarBox(BubbleSide side);

// How the bubble of a message is filled.
struct BubbleLook {
    const wchar_t* sideBox = L"";   // shown: "vRemote" or "vme"
    const wchar_t* otherBox = L"";  // the other side's, taken out of the layout
    const wchar_t* avatarBox = L"";
    std::wstring nick;
    const wchar_t* nickAlign = L"left";
    std::wstring text;  // ShownText
    BubbleSize size;
    uint32_t textColor = 0;
    // An own bubble stands against the right edge by its left padding (size.leftPadding), its
    // text kOwnTextPadding pixels from both sides.
    bool padded = false;
};
inline constexpr int kOwnTextPadding = 5;

BubbleLook LookOf(const ChatMessage& message);

}  // namespace ZuvraKestrum::Chat
