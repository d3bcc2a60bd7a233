#include "kestrum/core/kestrum_course.h"

#include <chrono>
#include <iterator>
#include <optional>
#include <utility>

#include "kestrum/core/chat_text.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/kestrum_quality_upload.h"
#include "kestrum/core/util_lock_guard.h"
#include "kestrum/core/util_text.h"

using ZuvraKestrum::socketio::ISocketIOInterface;
using ZuvraKestrum::Util::CLockGuard;

namespace {

// The library passes null for an absent text.
const char* Text(const char* text) { return text ? text : ""; }

// The lines a chat batch keeps at most: more than the chat panel shows (its newest 500) and its
// badge counts (99+).
constexpr size_t kChatBatchLines = 1000;

std::atomic<CKestrumCourse::DialogWindowLookup> dialogLookup{nullptr};

// getToken's device number for this platform and its channel.
constexpr int kTokenDevice = 3;
constexpr int kTokenChannel = 0;

// How long a signalling event keeps trying for a nickname while its connection is being closed.
constexpr std::chrono::milliseconds kClosingNicknameGrace{200};

// Records with their names as every window shows them (Util::DisplayName): on one line, their
// direction their own. Done once here, where names enter the program, so that the meeting data,
// every list and every notice built from them read the same name.
UserInfoRecord Shown(const UserInfoRecord& user) {
    UserInfoRecord shown = user;
    CopyRecordText(shown.name,
                   ZuvraKestrum::Util::DisplayName(user.name, kRecordTextSize - 1).c_str());
    return shown;
}

std::vector<UserInfoRecord> Shown(const std::vector<UserInfoRecord>& users) {
    std::vector<UserInfoRecord> shown;
    shown.reserve(users.size());
    for (const UserInfoRecord& user : users) shown.push_back(Shown(user));
    return shown;
}

RoomInfoRecord Shown(const RoomInfoRecord& room) {
    RoomInfoRecord shown = room;
    CopyRecordText(shown.hostName,
                   ZuvraKestrum::Util::DisplayName(room.hostName, kRecordTextSize - 1).c_str());
    return shown;
}

}  // namespace

CKestrumCourse::CKestrumCourse(const CourseExports& exports, HttpReportFunction report)
    : CKestrumDump("CKestrumCourse", true, false, true, L""),
      exports_(exports),
      httpReport_(report) {
    exports_.init();
    // Sign-in answers go to the join window, which makes the bridge; an answer that came before
    // the window could name itself the target would otherwise be dropped.
    targetWindow = dialogWindow(kJoinDialog);
    signIn();
    std::unique_lock<std::mutex> guard(queueMutex_);
    worker_ = std::thread(&CKestrumCourse::runControlWorker, this);
    // Returned once the worker waits for requests: its thread's start-up and the wake-up's first
    // use allocate, and no caller should find the bridge's threads still doing so (the tests
    // count the program's heap blocks around their calls).
    queueWake_.wait(guard, [this] { return running_; });
}

CKestrumCourse::~CKestrumCourse() {
    stopControlWorker();
    {
        CLockGuard guard(&lock_);
        destroySocketLocked();
    }
    // uninit waits for each of the library's workers only so long and may return while one is
    // still calling this bridge; the releases wait for such a call, and no call follows them.
    // A request that ends meanwhile still starts its report: only then is the list final.
    exports_.uninit();
    exports_.releaseAccountObserver(nullptr);
    exports_.releaseMeetingObserver(nullptr);
    joinHttpReports();
}

void CKestrumCourse::setDialogWindowLookup(DialogWindowLookup lookup) { dialogLookup = lookup; }

HWND CKestrumCourse::dialogWindow(int dialog) {
    const DialogWindowLookup lookup = dialogLookup.load();
    return lookup ? lookup(dialog) : nullptr;
}

void CKestrumCourse::signIn() {
    const CKestrumData* data = g_kestrumData;
    if (data && !data->token.empty()) {
        exports_.setUserInfo(data->token.c_str(), data->uid.c_str(), data->nickname.c_str(), "",
                             "");
        exports_.configRoom(this);
        return;
    }
    exports_.getToken(this, kTokenDevice, kTokenChannel, data ? data->nickname.c_str() : "", "");
}

// ---- Room requests --------------------------------------------------------------------------

void CKestrumCourse::updateRoomWithHosts(HWND asker, std::vector<std::string> hosts) {
    const CKestrumData* data = g_kestrumData;
    if (!data) return;
    speakerAsker_ = asker;
    exports_.updateRoom(this, data->roomName.c_str(), hosts, data->initialStatus, "",
                        data->roomPassword.c_str());
}

void CKestrumCourse::applySpeaker(HWND asker) {
    updateRoomWithHosts(asker, {g_kestrumData ? g_kestrumData->uid : std::string()});
}

void CKestrumCourse::giveupSpeaker(HWND asker) { updateRoomWithHosts(asker, {}); }

void CKestrumCourse::forgetSpeakerAsker() { speakerAsker_ = nullptr; }

void CKestrumCourse::queueControl(const char* action, std::vector<std::string> uids) {
    CLockGuard guard(&lock_);
    std::lock_guard<std::mutex> queueGuard(queueMutex_);
    controlQueue_.push_back(
        std::make_unique<ControlRequest>(ControlRequest{action, std::move(uids)}));
}

void CKestrumCourse::roomctrl_audio(bool mute, std::vector<std::string> uids) {
    KESTRUM_LOG(Level_Info, "(%d)", mute);
    queueControl(mute ? "muteAudio" : "unmuteAudio", std::move(uids));
}

void CKestrumCourse::roomctrl_video(bool mute, std::vector<std::string> uids) {
    KESTRUM_LOG(Level_Info, "(%d)", mute);
    queueControl(mute ? "muteVideo" : "unmuteVideo", std::move(uids));
}

void CKestrumCourse::dropQueuedControls() {
    CLockGuard guard(&lock_);
    std::lock_guard<std::mutex> queueGuard(queueMutex_);
    if (!controlQueue_.empty()) {
        KESTRUM_LOG(Level_Info, "(%u)", static_cast<unsigned>(controlQueue_.size()));
    }
    controlQueue_.clear();
}

void CKestrumCourse::sendControlNow(const char* action, const std::vector<std::string>& uids) {
    CLockGuard guard(&lock_);
    exports_.ctrlRoom(this, action, uids);
}

void CKestrumCourse::roomctrl_ban(std::vector<std::string> uids) { sendControlNow("ban", uids); }

void CKestrumCourse::roomctrl_share(bool share, std::vector<std::string> uids) {
    sendControlNow(share ? "share" : "unshare", uids);
}

void CKestrumCourse::runControlWorker() {
    std::unique_lock<std::mutex> queueGuard(queueMutex_);
    running_ = true;
    queueWake_.notify_all();  // the constructor goes on once this thread waits below
    for (;;) {
        // Only stopping cuts the pause short: a new request waits for the next wake, which keeps
        // the service's one-request-per-second pacing.
        queueWake_.wait_for(queueGuard, std::chrono::milliseconds(kControlIntervalMs),
                            [this] { return !running_; });
        if (!running_) return;
        if (controlQueue_.empty()) continue;
        std::unique_ptr<ControlRequest> request = std::move(controlQueue_.front());
        controlQueue_.pop_front();
        queueGuard.unlock();
        KESTRUM_LOG(Level_Info, "(ctrlRoom(%s)", request->action.c_str());
        exports_.ctrlRoom(this, request->action.c_str(), request->uids);
        queueGuard.lock();
    }
}

void CKestrumCourse::stopControlWorker() {
    {
        std::lock_guard<std::mutex> queueGuard(queueMutex_);
        running_ = false;
        controlQueue_.clear();  // pending requests are discarded, not sent
    }
    queueWake_.notify_all();
    if (worker_.joinable()) worker_.join();
}

HANDLE CKestrumCourse::getPhoto(const std::string& uid, const std::string& portraitId,
                                const std::string& filePath) {
    {
        std::lock_guard<std::mutex> guard(photoMutex_);
        photoUid_ = uid;
        photoPortraitId_ = portraitId;
    }
    return exports_.getPhoto(this, uid.c_str(), portraitId.c_str(), filePath.c_str());
}

// ---- Signalling requests --------------------------------------------------------------------

void CKestrumCourse::destroySocketLocked() {
    ISocketIOInterface* handle = socketHandle_.exchange(nullptr);
    if (handle) {
        // Destroying waits for the network thread to end the session (not for the server): its
        // handlers stop waiting for the meeting data meanwhile (nicknameOf).
        closingSocket_ = true;
        exports_.destorySocketIOHandle(handle);
        closingSocket_ = false;
    }
    socketJoined = false;
    // Batches still waiting in the window's queue are the meeting's: a reconnect keeps them.
    endChatBatch();
}

std::map<std::string, std::string> CKestrumCourse::socketQuery(bool reconnect) const {
    const CKestrumData& data = *g_kestrumData;
    std::map<std::string, std::string> query = {
        {"uid", data.uid},
        {"channel", data.roomName},
        {"streamId", ZuvraKestrum::Util::IntToString(data.streamId)},
        {"status", ZuvraKestrum::Util::IntToString(data.status)},
        {"appversion", data.appVersion},
        {"platform", "win"},
    };
    if (reconnect) query["reconnect"] = "true";
    return query;
}

void CKestrumCourse::connectWith(bool reconnect) {
    if (!g_kestrumData) return;
    // Held from tearing down the old handle until the new one is connected: two connects on two
    // threads would otherwise each store a handle and one connection would leak.
    CLockGuard guard(&lock_);
    destroySocketLocked();
    ISocketIOInterface* handle = exports_.createSocketIOHandle(this);
    if (!handle) {
        KESTRUM_LOG(Level_Error, ": no signalling handle");
        return;
    }
    socketHandle_ = handle;
    handle->connect(socketQuery(reconnect), g_kestrumData->token.c_str());
}

void CKestrumCourse::connectSocket() { connectWith(false); }

void CKestrumCourse::reconnectSocket() { connectWith(true); }

void CKestrumCourse::closeSocket() {
    CLockGuard guard(&lock_);
    destroySocketLocked();
    dropChatBatches();
}

template <class Send>
void CKestrumCourse::withSocket(Send send) {
    // Held so that closeSocket on another thread cannot destroy the handle while it is in use.
    // Tearing a handle down only waits for the network thread, which never takes this lock.
    CLockGuard guard(&lock_);
    if (ISocketIOInterface* handle = socketHandle_.load()) send(handle);
}

void CKestrumCourse::broadcastMsg(const std::string& text) {
    withSocket([&text](ISocketIOInterface* handle) { handle->broadcast(text.c_str()); });
}

void CKestrumCourse::sendRequest(const std::string& op, const std::string& target,
                                 const std::string& rid) {
    withSocket([&](ISocketIOInterface* handle) {
        handle->sendRequest(op.c_str(), target.c_str(), rid.c_str());
    });
}

void CKestrumCourse::sendResponse(const std::string& requestId, bool accept,
                                  const std::string& rid) {
    withSocket([&](ISocketIOInterface* handle) {
        handle->sendResponse(requestId.c_str(), accept, rid.c_str());
    });
}

void CKestrumCourse::updateSocketStatus(int status) {
    const std::string text = ZuvraKestrum::Util::IntToString(status);
    withSocket(
        [&text](ISocketIOInterface* handle) { handle->updateQuery("status", text.c_str()); });
}

// ---- Request results ------------------------------------------------------------------------

void CKestrumCourse::onCallBackError(const char* api, const char* errorMsg, int code) {
    post<WM_ACCOUNT_ERROR>(Text(api), Text(errorMsg), code);
}

void CKestrumCourse::onUserToken(bool success, const char* uid, const char* name,
                                 const char* portraitId, int streamId, const char* token) {
    KESTRUM_LOG(Level_Info, "(%d,%s,%s,%s,%d,%s)", success, Text(uid), Text(name), Text(portraitId),
                streamId, ZuvraKestrum::Util::MaskSecret(Text(token)).c_str());
    // A new token always belongs to the join window, wherever results went before.
    targetWindow = dialogWindow(kJoinDialog);
    post<WM_USER_TOKEN>(Text(uid), Text(name), Text(portraitId), streamId, Text(token));
}

void CKestrumCourse::onUserUpdate(bool success) {
    KESTRUM_LOG(Level_Info, "(%d)", success);
    postEmpty<WM_USER_UPDATE>();
}

void CKestrumCourse::onUpdatePhoto(const char* portraitId) {
    KESTRUM_LOG(Level_Info, "(%s)", Text(portraitId));
}

void CKestrumCourse::onGetPhoto(int state, const char* uid) {
    KESTRUM_LOG(Level_Info, "(%d)", state);
    // The receiver stores the text as the user's portrait id (and the next profile update sends
    // it to the server), so only a completed download of a known request may report one.
    if (state != 1) return;
    std::string portraitId;
    {
        std::lock_guard<std::mutex> guard(photoMutex_);
        if (photoUid_ != Text(uid) || photoPortraitId_.empty()) return;
        portraitId = photoPortraitId_;
    }
    post<WM_GET_PHOTO>(std::move(portraitId));
}

void CKestrumCourse::onJoinRoom(bool /*success*/, const char* rid, const char* topic,
                                int signalAccount, int initialStatus,
                                const std::vector<std::string>& hosts, const char* mediaToken) {
    KESTRUM_LOG(Level_Info, "(%s,%s,%d,%d)", Text(rid), Text(topic), signalAccount, initialStatus);
    if (!hosts.empty()) writeLine(Level_Info, __LINE__, "Speaker: %s", hosts.front().c_str());
    post<WM_JOIN_ROOM>(Text(rid), Text(topic), signalAccount, initialStatus, hosts,
                       Text(mediaToken));
}

void CKestrumCourse::onUpdateRoom(bool success) {
    KESTRUM_LOG(Level_Info, "(%d)", success);
    // Only the window that asked waits for the answer: when it has closed, a window of its
    // kind opened since has asked nothing, and posting to the closed one's handle fails.
    PostEmpty<WM_UPDATE_ROOM>(speakerAsker_.load());
}

void CKestrumCourse::onRoomCtrl(bool success, int shareId, const char* mediaToken) {
    KESTRUM_LOG(Level_Info, "(%d,%d,%s)", success, shareId,
                ZuvraKestrum::Util::MaskSecret(Text(mediaToken)).c_str());
    if (!*Text(mediaToken)) return;
    post<WM_ROOM_CTRL>(shareId, mediaToken);
}

void CKestrumCourse::onConfigRoom(bool success, const char* minimumVersion, const char* minimumUrl,
                                  const char* latestVersion, const char* latestUrl,
                                  int maxRequestTimeout, int unmuteRequestTimeout) {
    KESTRUM_LOG(Level_Info, "(%d)", success);
    post<WM_CONFIG_ROOM>(Text(minimumVersion), Text(minimumUrl), Text(latestVersion),
                         Text(latestUrl), maxRequestTimeout, unmuteRequestTimeout);
}

void CKestrumCourse::onHttpRetUpload(const char* api, int curlCode, unsigned elapsedMs,
                                     const char* url) {
    KESTRUM_LOG(Level_Info, "(%s,%s,%d,%d)", Text(url), Text(api), curlCode,
                static_cast<int>(elapsedMs));
    startHttpReport(api, curlCode, elapsedMs);
    PostValue<WM_HTTP_RESULT>(targetWindow.load(), curlCode);
}

void CKestrumCourse::startHttpReport(const char* api, int curlCode, unsigned elapsedMs) {
    // The report reaches the engine, which may take a while: not on the library's thread, which
    // must not wait for an earlier report either.
    std::lock_guard<std::mutex> guard(reportMutex_);
    // Finished reports go as new ones start, so that a long meeting does not gather one thread
    // per request; one still running is left to the destructor.
    httpReports_.remove_if([](const std::future<void>& report) {
        return report.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
    });
    httpReports_.push_back(std::async(std::launch::async,
                                      [report = httpReport_, api = std::string(Text(api)), curlCode,
                                       elapsedMs] { report(api.c_str(), curlCode, elapsedMs); }));
}

void CKestrumCourse::ReportToQualityUpload(const char* api, int curlCode, unsigned elapsedMs) {
    CKestrumQualityUpload::getInstance()->reportHttpResult(api, curlCode, elapsedMs);
}

void CKestrumCourse::joinHttpReports() {
    std::list<std::future<void>> reports;
    {
        std::lock_guard<std::mutex> guard(reportMutex_);
        reports.swap(httpReports_);
    }
    for (std::future<void>& report : reports) report.wait();
}

// ---- Signalling events ----------------------------------------------------------------------

std::string CKestrumCourse::nicknameOf(const char* uid) {
    std::string nickname;
    CKestrumData* data = g_kestrumData;
    if (!data) return nickname;
    // Tried, never waited for: whoever holds the meeting data may be the one destroying this
    // handle and waiting for this very thread. While a handle is being destroyed the tries go on
    // for a short grace only (most holders just read the list); past it, the events of the
    // closing connection go without the nickname.
    std::optional<std::chrono::steady_clock::time_point> giveUpAt;
    while (!data->tryGetUserNickName(Text(uid), nickname)) {
        if (closingSocket_) {
            const auto now = std::chrono::steady_clock::now();
            if (!giveUpAt) giveUpAt = now + kClosingNicknameGrace;
            if (now >= *giveUpAt) {
                KESTRUM_LOG(Level_Warning, "(%s): meeting data busy while closing", Text(uid));
                break;
            }
        }
        Sleep(1);
    }
    return nickname;
}

void CKestrumCourse::onSocketStatus_Open() {
    KESTRUM_LOG(Level_Info, "");
    postEmpty<WM_SOCKET_OPEN>();
}

void CKestrumCourse::onSocketStatus_Close() { KESTRUM_LOG(Level_Info, ""); }

// Without it the meeting would wait for a connection that nobody makes again.
void CKestrumCourse::onSocketStatus_Fail() {
    KESTRUM_LOG(Level_Info, "");
    postEmpty<WM_SOCKET_FAIL>();
}

void CKestrumCourse::onSocketStatus_Reconnect() {
    KESTRUM_LOG(Level_Info, "");
    postEmpty<WM_SOCKET_RECONNECT>();
}

void CKestrumCourse::onSocketUserError(int code, const char* text) {
    post<WM_SOCKET_USER_ERROR>(Text(text), code);
}

void CKestrumCourse::onSocketJoinSuccess(const UserInfoRecord* user) {
    KESTRUM_LOG(Level_Info, "");
    socketJoined = true;
    if (user) post<WM_SOCKET_JOIN_SUCCESS>(Shown(*user));
}

void CKestrumCourse::onSocketUserJoin(const UserInfoRecord* user) {
    if (!user) return;
    KESTRUM_LOG(Level_Info, "(%s,%s,%d)", user->uid, user->name, user->streamId);
    post<WM_SOCKET_USER_JOIN>(Shown(*user));
}

void CKestrumCourse::onSocketUserLeave(const char* uid) { post<WM_SOCKET_USER_LEAVE>(Text(uid)); }

void CKestrumCourse::onSocketUserList(const std::vector<UserInfoRecord>& users) {
    post<WM_SOCKET_USER_LIST>(Shown(users));
}

void CKestrumCourse::onSocketRoomInfo(const RoomInfoRecord* room) {
    if (room) post<WM_SOCKET_ROOM_INFO>(Shown(*room));
}

void CKestrumCourse::onSocketUserOperator(const char* operatorUid, const char* type,
                                          const char* target,
                                          const std::vector<UserInfoRecord>& users) {
    post<WM_SOCKET_USER_OPERATOR>(Text(operatorUid), Text(target), Text(type), Shown(users));
}

void CKestrumCourse::onSocketUserInfo(const UserInfoRecord* user) {
    if (user) post<WM_SOCKET_USER_INFO>(Shown(*user));
}

// A window hands out the messages posted to it before its input: a message per chat line kept
// the meeting window from its input for as long as a flood lasted. What comes while a batch's
// message waits in the window's queue joins that batch instead. Each keeps only what its bubble
// can show: a peer's flood of the largest messages would otherwise hold a GB while the window is
// behind.
void CKestrumCourse::onSocketUserMsg(const char* uid, const char* msg) {
    std::string shown(ZuvraKestrum::Chat::ShownPartOfUtf8(Text(msg)));
    int batch = 0;
    {
        CLockGuard guard(&chatLock_);
        if (chatOpen_) {
            std::list<ChatLine>& lines = chatBatches_.back().lines;
            lines.push_back({Text(uid), std::move(shown)});
            // More than the chat shows and counts: the oldest are of no use.
            if (lines.size() > kChatBatchLines) lines.pop_front();
            return;
        }
        batch = nextChatBatch_++;
        chatBatches_.push_back({batch, {}});
        chatOpen_ = true;
    }
    KESTRUM_LOG(Level_Info, "(%d)", batch);
    if (PostPayload<WM_SOCKET_USER_MSG>(
            targetWindow.load(),
            NewRecord<StringPairPayload>(Text(uid), std::move(shown), batch))) {
        return;
    }
    CLockGuard guard(&chatLock_);
    chatBatches_.remove_if([batch](const ChatBatch& posted) { return posted.id == batch; });
    chatOpen_ = false;
}

std::vector<CKestrumCourse::ChatLine> CKestrumCourse::takeChat(int batch) {
    CLockGuard guard(&chatLock_);
    // Older batches belong to messages freed unhandled (a window that was leaving).
    while (!chatBatches_.empty() && chatBatches_.front().id < batch) chatBatches_.pop_front();
    if (chatBatches_.empty() || chatBatches_.front().id != batch) return {};
    std::list<ChatLine> lines = std::move(chatBatches_.front().lines);
    chatBatches_.pop_front();
    if (chatBatches_.empty()) chatOpen_ = false;
    return {std::make_move_iterator(lines.begin()), std::make_move_iterator(lines.end())};
}

void CKestrumCourse::endChatBatch() {
    CLockGuard guard(&chatLock_);
    chatOpen_ = false;
}

void CKestrumCourse::dropChatBatches() {
    CLockGuard guard(&chatLock_);
    chatBatches_.clear();
    chatOpen_ = false;
}

void CKestrumCourse::onSocketRequestResult(const char* op, const char* requestId,
                                           const char* target) {
    post<WM_SOCKET_REQUEST_RESULT>(Text(op), Text(requestId), Text(target), nicknameOf(target));
}

void CKestrumCourse::onSocketUserRequest(const char* op, const char* sender,
                                         const char* requestId) {
    post<WM_SOCKET_USER_REQUEST>(Text(op), Text(sender), Text(requestId), nicknameOf(sender));
}

void CKestrumCourse::onSocketUserResponse(bool success, const char* requestId, const char* spare,
                                          const char* reason, const char* sender,
                                          const char* target) {
    post<WM_SOCKET_USER_RESPONSE>(success, Text(requestId), Text(reason), Text(sender),
                                  Text(target), nicknameOf(target), Text(spare));
}
