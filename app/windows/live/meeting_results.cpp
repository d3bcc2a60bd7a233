#include "app/windows/live/meeting_results.h"

#include <utility>

#include "kestrum/common/utf.h"
#include "kestrum/core/kestrum_config.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/util_lock_guard.h"
#include "kestrum/core/util_path.h"

namespace ZuvraKestrum::Live {

void ApplyOwnInfo(const UserInfoRecord& record, CKestrumData& data) {
    Util::CLockGuard guard(&data.lock);
    data.ownInfo = record;
}

void ApplyParticipants(const std::vector<UserInfoRecord>& participants, CKestrumData& data,
                       const std::vector<size_t>* changed) {
    Util::CLockGuard guard(&data.lock);
    if (!changed || data.userList.size() != participants.size()) {
        data.userList = participants;
        return;
    }
    for (size_t at : *changed) data.userList[at] = participants[at];
}

void ApplyOwnStatus(int status, CKestrumData& data) { data.status = status; }

void ApplyOwnAvatar(CKestrumData& data, const CKestrumConfig& config) {
    data.portraitPath = kestrum::common::WideToUtf8(Util::GetPortraitPath(data.portraitId));
    config.setPortraitPath(data.portraitPath);
}

void ApplyShareResult(const RoomCtrlPayload& result, CKestrumData& data,
                      const CKestrumConfig& config) {
    data.shareToken = result.mediaToken;
    config.setShareID(std::to_string(result.shareId));
    config.setSharetoken(result.mediaToken);
}

}  // namespace ZuvraKestrum::Live
