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

void ApplyDroppedToken(CKestrumData& data, CKestrumConfig& config) {
    data.token.clear();
    config.setToken("");
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

void ApplyJoinForm(const JoinForm& form, CKestrumData& data) {
    data.roomName = Util::CStringToUtf8(form.room);
    data.roomPassword = Util::CStringToUtf8(form.password);
}

void ApplyClientConfig(const ConfigRoomPayload& config, CKestrumData& data) {
    data.unmuteRequestTimeout = config.unmuteRequestTimeout + 1;
}

void ApplyEngineLogPath(const std::wstring& path, CKestrumData& data) {
    data.setEngineLogPath(path);
}

void ApplyNickname(const std::wstring& nickname, CKestrumData& data) {
    data.nickname = Util::CStringToUtf8(nickname);
}

void ApplyAccountUpdate(const CKestrumData& data, CKestrumConfig& config) {
    config.setPortraitId(data.portraitId);
    config.setNickname(data.nickname);
}

void ApplyRefusedUpdate(CKestrumData& data, const CKestrumConfig& config) {
    config.getNickname(data.nickname);
    config.getPortraitId(data.portraitId);
}

void ApplyUpgradeOffer(const UpgradeOffer& offer, CKestrumConfig& config) {
    if (offer.kind != UpgradeOffer::kOptional) return;
    config.setUpdateOption("0");
    config.setUpdateVersion(offer.rememberVersion);
}

void ApplyOwnPortrait(const std::string& portraitId, CKestrumData& data, CKestrumConfig& config) {
    data.portraitId = portraitId;
    config.setPortraitPath(data.portraitPath);
    config.setPortraitId(portraitId);
}

}  // namespace ZuvraKestrum::Join
