#include "kestrum/core/kestrum_data.h"

#include <cstdio>
#include <cstring>
#include <utility>

#include "kestrum/bugtrap/bugtrap_api.h"
#include "kestrum/core/kestrum_config.h"
#include "kestrum/core/util_lock_guard.h"
#include "kestrum/core/util_system.h"
#include "kestrum/core/util_text.h"

using ZuvraKestrum::Util::CLockGuard;

CKestrumData* g_kestrumData = nullptr;
int g_language = 0;

namespace {

void AddCrashLogFile(const std::wstring& path) {
    if (!path.empty()) BT_AddLogFile(path.c_str());
}

}  // namespace

CKestrumData::CKestrumData(std::wstring logPath)
    : CKestrumData(std::move(logPath), *CSingleton<CKestrumConfig>::getInstance(0)) {}

CKestrumData::CKestrumData(std::wstring logPath, const CKestrumConfig& config)
    : CKestrumDump("CKestrumData", true, false, true, logPath), appLogPath(std::move(logPath)) {
    copyConfiguration(config);
    videoSourceLogName = L"VideoSourceStream.txt";
    screenLogName = L"ScreenSDK.log";
    config.setOsVersion(ZuvraKestrum::Util::GetOsProductName());
    handLogFilesToCrashHandler();
    g_language = language;
    traceSettings();
}

void CKestrumData::copyConfiguration(const CKestrumConfig& config) {
    using ZuvraKestrum::Util::StringToInt;
    std::string value;
    config.getAppID(appId);
    config.getNickname(nickname);
    config.getUid(uid);
    streamId = StringToInt(config.getStreamid(value));
    language = StringToInt(config.getLanguage(value));
    config.getToken(token);
    config.getPortraitId(portraitId);
    config.getPortraitPath(portraitPath);
    config.getMediatoken(mediaToken);
    config.getSharetoken(shareToken);
    cameraOff = StringToInt(config.getEnableCamera(value)) != 0;
    micOff = StringToInt(config.getEnableMic(value)) != 0;
    config.getAppVersion(appVersion);
}

// The engine's log does not exist yet; setEngineLogPath hands it over once it does.
void CKestrumData::handLogFilesToCrashHandler() const {
    AddCrashLogFile(appLogPath);
    AddCrashLogFile(engineLogPath);
    AddCrashLogFile(videoSourceLogName);
    AddCrashLogFile(screenLogName);
}

void CKestrumData::traceSettings() const {
    const char* format =
        "AppId: '%s' \nNickName: '%s' \nUid: '%s' \nnStream:%d \nnLanguage: %d \nstrToken: '%s' "
        "\nPortraidId: '%s'  \nPortraidPath: '%s' ";
    // Logs are uploaded for support: an access token in them would hand over the account.
    const std::string maskedToken = ZuvraKestrum::Util::MaskSecret(token);
    fileTrace(format, appId.c_str(), nickname.c_str(), uid.c_str(), streamId, language,
              maskedToken.c_str(), portraitId.c_str(), portraitPath.c_str());
    consoleTrace(format, appId.c_str(), nickname.c_str(), uid.c_str(), streamId, language,
                 maskedToken.c_str(), portraitId.c_str(), portraitPath.c_str());
}

void CKestrumData::getUserNickName(const std::string& userId, std::string& out) {
    CLockGuard guard(&lock);
    copyNickNameLocked(userId, out);
}

bool CKestrumData::tryGetUserNickName(const std::string& userId, std::string& out) {
    if (!lock.TryEnter()) return false;
    const CLockGuard guard(&lock, CLockGuard::AdoptEntered{});
    copyNickNameLocked(userId, out);
    return true;
}

void CKestrumData::copyNickNameLocked(const std::string& userId, std::string& out) const {
    for (const UserInfoRecord& user : userList) {
        if (userId == user.uid) {
            out = user.name;
            return;
        }
    }
}

std::string& CKestrumData::getUserPortraitId(std::string& out, const std::string& userId) {
    CLockGuard guard(&lock);
    out.clear();
    for (const UserInfoRecord& user : userList) {
        if (userId == user.uid) {
            out = user.portraitId;
            break;
        }
    }
    return out;
}

bool CKestrumData::isFeatureSupported(const std::string& userId) {
    CLockGuard guard(&lock);
    for (const UserInfoRecord& user : userList) {
        if (userId == user.uid) return user.feature != 0;
    }
    return false;
}

std::string CKestrumData::getUidByStreamId(int id) {
    CLockGuard guard(&lock);
    for (const UserInfoRecord& user : userList) {
        if (user.streamId == id) return user.uid;
    }
    return "";
}

std::vector<std::string> CKestrumData::getHosts() {
    CLockGuard guard(&lock);
    return hosts;
}

int CKestrumData::getChannelProfile() {
    CLockGuard guard(&lock);
    return roomInfo.sdkConfigs.channelProfile;
}

bool CKestrumData::updateRoomInfo(const RoomInfoRecord& room) {
    CLockGuard guard(&lock);
    const bool hostsChanged = hosts != room.hosts;
    roomInfo = room;
    // Another host may have changed it: the settings windows show it and every room update
    // sends it back, so a stale one would quietly undo that change.
    roomPassword = room.pwd;
    hosts = room.hosts;
    hostName = room.hostName;
    initialStatus = room.initialStatus;
    return hostsChanged;
}

void CKestrumData::endMeeting() {
    CLockGuard guard(&lock);
    hosts.clear();
    hostName.clear();
    roomInfo = RoomInfoRecord();
    userList.clear();
    ownInfo = UserInfoRecord();
}

int CKestrumData::applyJoinStatus(int roomInitialStatus) {
    const bool micBit = (roomInitialStatus & kStatusMicOff) || micOff;
    const bool cameraBit = (roomInitialStatus & kStatusCameraOff) || cameraOff;
    status = (micBit ? kStatusMicOff : 0) | (cameraBit ? kStatusCameraOff : 0);
    return status;
}

void CKestrumData::setEngineLogPath(const std::wstring& path) {
    engineLogPath = path;
    AddCrashLogFile(engineLogPath);
}

void CKestrumData::fileTrace(const char* format, ...) {
    const SYSTEMTIME now = localTime();
    char prefix[64];
    std::snprintf(prefix, sizeof prefix, "%04d%02d%02d:%02d%02d%02d:%03d [%s] ", now.wYear,
                  now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds,
                  "Kestrum");
    va_list args;
    va_start(args, format);
    const std::string line = composeLine(prefix, format, args);
    va_end(args);
    writeToSharedFileUnlocked(line);
}

void CKestrumData::consoleTrace(const char* format, ...) { (void)format; }
