#include "app/windows/join/join_results.h"

#include "kestrum/core/kestrum_config.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/util_lock_guard.h"
#include "kestrum/core/util_text.h"

namespace ZuvraKestrum::Join {

void ApplySignIn(const TokenPayload& token, const std::string& portraitFile, CKestrumData& data,
                 CKestrumConfig& config) {
    data.token = token.token;
    data.streamId = token.streamId;
    data.nickname = token.name;
    data.portraitId = token.portraitId;
    data.uid = token.uid;
    config.setStreamid(Util::IntToString(data.streamId));
    config.setToken(data.token);
    config.setUid(data.uid);
    config.setNickname(data.nickname);
    config.setPortraitId(data.portraitId);
    data.portraitPath = portraitFile;
}

void ApplyJoin(const JoinRoomPayload& join, CKestrumData& data, CKestrumConfig& config) {
    config.setClassname(join.rid);
    config.setClassPwd(data.roomPassword);
    data.mediaToken = join.mediaToken;
    config.setMediatoken(data.mediaToken);
    {
        Util::CLockGuard guard(&data.lock);
        data.hosts = join.hosts;
        data.initialStatus = join.initialStatus;
    }
    data.applyJoinStatus(join.initialStatus);
}

}  // namespace ZuvraKestrum::Join
