#include "app/windows/participants/participant_rules.h"

#include <algorithm>
#include <functional>

#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/util_text.h"

namespace ZuvraKestrum::Participants {

using ZuvraKestrum::Util::Utf8ToCString;

bool OptionsEnabled(const std::string& rowUid, const std::string& ownUid, bool isHost) {
    return isHost || rowUid == ownUid;
}

RowView ComputeRowView(const std::string& rowUid, const std::string& nicknameUtf8,
                       const std::string& ownUid, const std::string& hostUid, bool isHost,
                       int language) {
    RowView view;
    view.ownRow = rowUid == ownUid;
    view.tickEnabled = isHost && !view.ownRow;
    view.tickImage = view.tickEnabled ? kTickEnabledImage : kTickDisabledImage;
    view.optionsEnabled = OptionsEnabled(rowUid, ownUid, isHost);
    view.nickText = Utf8ToCString(nicknameUtf8);
    view.hostMark = rowUid == hostUid;
    view.toolTip = view.nickText;
    if (view.hostMark) view.toolTip += language == 0 ? L"(Host)" : L"(主持人)";
    return view;
}

int RowStatus(int status, const std::map<std::string, bool>& videoOn, const std::string& uid) {
    const auto found = videoOn.find(uid);
    if (found == videoOn.end()) return status;
    return status | (found->second ? 0 : kStatusCameraOff);
}

std::vector<int> MatchRows(const std::vector<std::string_view>& rowUids,
                           const std::vector<UserInfoRecord>& participants) {
    // The room's next list mostly lists the same participants in the same order.
    if (rowUids.size() == participants.size() &&
        std::equal(rowUids.begin(), rowUids.end(), participants.begin(),
                   [](std::string_view row, const UserInfoRecord& p) { return row == p.uid; })) {
        std::vector<int> kept(participants.size());
        for (size_t i = 0; i < kept.size(); ++i) kept[i] = static_cast<int>(i);
        return kept;
    }
    // The rows sorted by the hash of their uid, rows of one hash in list order: found by a
    // binary search, without a heap block per row as a hash map would take on every list.
    struct Entry {
        size_t hash;
        int row;
        bool operator<(const Entry& other) const {
            return hash != other.hash ? hash < other.hash : row < other.row;
        }
    };
    const std::hash<std::string_view> hashOf;
    std::vector<Entry> byHash;
    byHash.reserve(rowUids.size());
    for (size_t row = 0; row < rowUids.size(); ++row)
        byHash.push_back({hashOf(rowUids[row]), static_cast<int>(row)});
    std::sort(byHash.begin(), byHash.end());
    std::vector<bool> taken(rowUids.size(), false);
    std::vector<int> kept;
    kept.reserve(participants.size());
    for (const UserInfoRecord& participant : participants) {
        const std::string_view uid = participant.uid;
        const size_t hash = hashOf(uid);
        int match = kNewRow;
        for (auto entry = std::lower_bound(byHash.begin(), byHash.end(), Entry{hash, 0});
             entry != byHash.end() && entry->hash == hash; ++entry) {
            if (taken[entry->row] || rowUids[entry->row] != uid) continue;
            match = entry->row;
            taken[match] = true;
            break;
        }
        kept.push_back(match);
    }
    return kept;
}

OptionAction DecideOptionClick(bool ownRow, bool selectedBeforeClick, bool featureSupported) {
    if (ownRow) return OptionAction::kSwitchOwn;
    if (!selectedBeforeClick) return OptionAction::kMuteOther;
    return featureSupported ? OptionAction::kInviteOther : OptionAction::kNotSupported;
}

OptionClick PlanOptionClick(Device device, bool ownRow, bool selectedBeforeClick,
                            bool featureSupported) {
    OptionClick click;
    click.action = DecideOptionClick(ownRow, selectedBeforeClick, featureSupported);
    click.disablesOption = click.action == OptionAction::kSwitchOwn ||
                           (click.action == OptionAction::kMuteOther && device == Device::kCamera);
    click.clearsSelection =
        click.action == OptionAction::kInviteOther || click.action == OptionAction::kNotSupported;
    click.mute = !selectedBeforeClick;
    return click;
}

const char* InviteRequest(Device device) {
    return device == Device::kMicrophone ? "unmuteAudio" : "unmuteVideo";
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
