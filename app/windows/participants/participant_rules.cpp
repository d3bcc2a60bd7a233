#include "app/windows/participants/participant_rules.h"

#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/util_text.h"

namespace ZuvraKestrum::Participants {

using ZuvraKestrum::Util::Utf8ToCString;

bool IsHost(const std::string& firstHostUid, const std::string& ownUid) {
    return firstHostUid.empty() || firstHostUid == ownUid;
}

RowView ComputeRowView(const std::string& rowUid, const std::string& nicknameUtf8,
                       const std::string& ownUid, const std::string& hostUid, bool isHost,
                       int language) {
    RowView view;
    view.ownRow = rowUid == ownUid;
    view.tickEnabled = isHost && !view.ownRow;
    view.tickImage = view.tickEnabled ? kTickEnabledImage : kTickDisabledImage;
    view.optionsEnabled = view.ownRow || isHost;
    view.nickText = Utf8ToCString(nicknameUtf8);
    if (rowUid == hostUid) view.nickText += language == 0 ? L"(Host)" : L"(主持人)";
    return view;
}

int RowStatus(int status, const std::map<std::string, bool>& videoOn, const std::string& uid) {
    const auto found = videoOn.find(uid);
    if (found == videoOn.end()) return status;
    return status | (found->second ? 0 : kStatusCameraOff);
}

OptionAction DecideOptionClick(bool ownRow, bool selectedBeforeClick, bool featureSupported) {
    if (ownRow) return OptionAction::kSwitchOwn;
    if (!selectedBeforeClick) return OptionAction::kMuteOther;
    return featureSupported ? OptionAction::kInviteOther : OptionAction::kNotSupported;
}

std::wstring TitleText(int count, int language) {
    return (language == 0 ? L"Participants(" : L"与会人(") + std::to_wstring(count) + L")";
}

std::wstring RemoveQuestion(const std::string& nicknameUtf8, int language) {
    const std::wstring name = Utf8ToCString(nicknameUtf8);
    return language == 0 ? L"Remove " + name + L" from the room?" : L"将 " + name + L" 移出房间？";
}

const wchar_t* NotSupportedText(int language) {
    return language == 0 ? L"Remote client does not support this feature"
                         : L"对方客户端不支持此功能";
}

}  // namespace ZuvraKestrum::Participants
