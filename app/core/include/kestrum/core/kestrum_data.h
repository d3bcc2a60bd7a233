#pragma once

#include <string>
#include <vector>

#include "kestrum/core/kestrum_dump.h"
#include "kestrum/core/util_lock.h"
#include "kestrum/records/room_info_record.h"
#include "kestrum/records/user_info_record.h"

class CKestrumConfig;

// Status bits of a participant and of the own user.
constexpr int kStatusMicOff = 1;
constexpr int kStatusCameraOff = 2;

// The running client's one in-memory record: the user's identity (copied from the
// configuration at start, updated as the account service answers), the joined room, the
// participants the signalling channel reports, and the log file paths.
//
// One object, created by WinMain and reached through g_kestrumData; never destroyed (its
// logging base keeps the shared log file open for the whole run).
//
// Threads: `lock` guards hosts, roomInfo, userList and ownInfo; every access to them holds it
// (the member functions below take it themselves). All other fields are written on the UI
// thread and read without a lock (the photo request's callback posts its result to a window).
// Never call the course bridge while holding `lock` (see kestrum_course.h).
class CKestrumData : public CKestrumDump {
public:
    static constexpr int kDefaultVideoQuality = 40;

    // Opens the shared log file at logPath, copies the configuration singleton's values,
    // stores the Windows product name as OsVersion, hands the log files to the crash handler,
    // sets g_language and writes the settings to the log.
    explicit CKestrumData(std::wstring logPath);
    // The same with a given configuration.
    CKestrumData(std::wstring logPath, const CKestrumConfig& config);

    // out := the name of the first participant with this uid, UTF-8 as the signalling channel
    // gave it (windows widen it with Utf8ToCString); out is left as it was when no participant
    // has it.
    void getUserNickName(const std::string& uid, std::string& out);
    // The same without waiting: false, out untouched, while another thread holds `lock`.
    bool tryGetUserNickName(const std::string& uid, std::string& out);

    // out := the portrait id of the first participant with this uid, or "" when none has it.
    std::string& getUserPortraitId(std::string& out, const std::string& uid);

    // Whether the first participant with this uid runs a client that answers invitations (a
    // non-zero feature field); false when no participant has the uid.
    bool isFeatureSupported(const std::string& uid);
    // The uid of the first participant with this media stream id, "" when none has it.
    std::string getUidByStreamId(int streamId);

    // A copy of the room's hosts, the first of them the room's host.
    std::vector<std::string> getHosts();
    // The channel profile of the stored room information (the room's mode); -1 before any
    // room information arrived.
    int getChannelProfile();

    // Stores the room information of a "room-info" event: the record, its password, hosts, host
    // name and initial status. Returns true when the hosts changed. The room's host is the first
    // of the hosts (ZuvraKestrum::Roles::FirstHostOf), for every window alike.
    bool updateRoomInfo(const RoomInfoRecord& room);
    // The meeting ended: its room state goes with it (hosts, host name, room record, participants
    // and own record), so that nothing of it speaks for the next room before that room's join
    // result and records arrive.
    void endMeeting();

    // The own status bits on joining a room: a device is off when the room's initial status or
    // the user's switch turns it off. Stores and returns them.
    int applyJoinStatus(int roomInitialStatus);

    // Stores the engine's log path and, when it is not empty, hands that file to the crash
    // handler. Set the engine log path only through this.
    void setEngineLogPath(const std::wstring& path);

    // Start-up traces without a logging object: fileTrace writes
    // "20190812:101500:123 [Kestrum] <message>" to the shared log file; consoleTrace would
    // write it to the console, whose switch is never on, so it writes nothing. UI thread only,
    // during start-up (fileTrace takes no lock).
    static void fileTrace(const char* format, ...) __attribute__((format(gnu_printf, 1, 2)));
    static void consoleTrace(const char* format, ...) __attribute__((format(gnu_printf, 1, 2)));

    std::string appId;
    std::string mediaToken;
    std::string shareToken;
    std::string token;
    int language = 0;
    bool cameraOff = false;    // EnableCamera: join with the camera off
    bool micOff = false;       // EnableMic: join with the microphone off
    std::string roomName;      // UTF-8
    std::string roomPassword;  // UTF-8
    int initialStatus = 0;
    std::vector<std::string> hosts;  // under lock
    std::string hostName;
    std::string portraitId;
    std::string portraitPath;  // UTF-8
    std::string uid;
    int streamId = 0;
    std::string nickname;  // the own name, UTF-8 (as the service takes it; windows widen it)
    int status = 0;        // kStatusMicOff | kStatusCameraOff
    ZuvraKestrum::Util::CLock lock;
    RoomInfoRecord roomInfo;                  // under lock
    std::vector<UserInfoRecord> userList;     // under lock
    UserInfoRecord ownInfo;                   // under lock
    int videoQuality = kDefaultVideoQuality;  // 50 high, 40 middle, 30 low
    std::string appVersion;
    std::string engineVersion;
    std::string signallingVersion;  // nothing sets it
    int unmuteRequestTimeout = 0;   // seconds
    // The log files, wide as the program's folder may need.
    std::wstring appLogPath;
    std::wstring engineLogPath;  // see setEngineLogPath
    std::wstring screenLogName;
    std::wstring spareLogPath;  // nothing sets it
    std::wstring videoSourceLogName;

private:
    void copyConfiguration(const CKestrumConfig& config);
    // Caller holds lock.
    void copyNickNameLocked(const std::string& uid, std::string& out) const;
    void handLogFilesToCrashHandler() const;
    void traceSettings() const;
};

// The meeting data: null until WinMain creates it.
extern CKestrumData* g_kestrumData;

// The language of every window: 0 English, 1 Chinese. Set once by the meeting data.
extern int g_language;
