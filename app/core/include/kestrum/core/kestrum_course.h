#pragma once

#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <future>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "kestrum/common/singleton.h"
#include "kestrum/core/course_exports.h"
#include "kestrum/core/course_messages.h"
#include "kestrum/core/kestrum_dump.h"
#include "kestrum/core/util_lock.h"
#include "kestrum/service/socketio_interface.h"
#include "kestrum/service/vossary_api.h"

// The program's one gateway to the service library: signs the user in, calls the room requests,
// owns the signalling handle and observes both the library's requests and its signalling
// events. It never touches a window: every result becomes a heap payload (course_messages.h)
// posted to a window handle, which frees it; a payload that is not posted is freed here.
//
// Ownership: the program reaches one instance through CSingleton<CKestrumCourse>::getInstance
// (created by the join window's first use, deleted by its holder at exit); tests build their own
// with a table of fake exports. The meeting data (g_kestrumData) must exist while it lives.
// The bridge owns the room-control worker and the short HTTP report threads and joins them all
// on destruction; it also destroys the signalling handle, uninitialises the library (which waits
// for each of its workers only so long, and may leave one running) and releases itself as the
// observer of every request (which waits for a call under way and stops all later ones), before
// it joins the report threads those calls start. A report never holds up the library's worker.
//
// Threads:
// - Request observer operations run on the library's worker threads, signalling observer
//   operations on the signalling network thread; they only copy, post and set flags.
// - connectSocket, reconnectSocket and closeSocket may run on any thread but the network thread,
//   also side by side: the lock covers destroying the old handle, creating, storing and
//   connecting the new one, so at most one connection exists.
// - broadcastMsg, sendRequest and sendResponse take the lock too, so a handle being closed on
//   another thread is never used after it is destroyed; they may wait for that teardown.
// - Room-control calls run on the UI thread. Mute and unmute requests are queued and sent one per
//   second by the worker, oldest first; ban and share are sent at once.
// - Lock order: `lock_` before the queue mutex. The worker calls the library with neither held.
// - Never call the bridge while holding the meeting data's lock (g_kestrumData->lock): closing
//   or replacing the handle holds `lock_` while the network thread ends the session; its handlers
//   read nicknames from the meeting data. Those handlers only try that lock, and give the
//   nickname up after a short grace (200 ms) while a handle is being destroyed, so that even a
//   caller that breaks the rule does not deadlock; the closing connection's last events may then
//   lack their nickname.
//
// Text: every text in and out is UTF-8 (see course_messages.h), chat and nicknames included.
class CKestrumCourse : public ZuvraKestrum::ICallBack::CUserCallBack,
                       public ZuvraKestrum::socketio::CSocketIOCallBack,
                       public CSingleton<CKestrumCourse>,
                       public CKestrumDump {
public:
    // The dialog the sign-in's results go to, by its number in the application's dialog table.
    static constexpr int kJoinDialog = 0;
    // The worker's pause between two queued room-control requests.
    static constexpr DWORD kControlIntervalMs = 1000;

    // Finds the window of a dialog by its number; null when that dialog is not open.
    using DialogWindowLookup = HWND (*)(int dialog);

    // Hands a request's outcome to the quality reports; runs on a short thread of the bridge.
    using HttpReportFunction = void (*)(const char* api, int curlCode, unsigned elapsedMs);
    // The program's report: CKestrumQualityUpload::reportHttpResult.
    static void ReportToQualityUpload(const char* api, int curlCode, unsigned elapsedMs);

    // Initialises the library, signs in (the stored token, else a new one: WM_USER_TOKEN) and
    // starts the room-control worker. The first uses the real exports and reports, the second
    // the given ones (tests).
    CKestrumCourse();
    CKestrumCourse(const CourseExports& exports, HttpReportFunction report);
    ~CKestrumCourse() override;
    CKestrumCourse(const CKestrumCourse&) = delete;
    CKestrumCourse& operator=(const CKestrumCourse&) = delete;

    // Process-wide: how the bridge finds dialog 0. Set once by the program before the
    // first result can arrive; until then (or with null) those results are dropped.
    static void setDialogWindowLookup(DialogWindowLookup lookup);

    // Signs in: hands the library the meeting data's token and asks for the client
    // configuration (WM_CONFIG_ROOM), or, with no token held, asks for a new one (WM_USER_TOKEN,
    // or WM_ACCOUNT_ERROR for "account/getToken") under the data's nickname, so that an account
    // made anew keeps the name the user goes by. The constructor signs in once; the join window
    // again when that failed or the service refused the token. UI thread; a second call while a
    // token request is under way cuts that one off (waiting for it up to 3 s).
    void signIn();

    // Room requests; results arrive later as messages. The speaker requests' answer
    // (WM_UPDATE_ROOM) goes to the window that asked (asker; null: none waits for it), while it
    // exists, and to no other: a window opened since has asked nothing.
    void applySpeaker(HWND asker);
    void giveupSpeaker(HWND asker);
    void roomctrl_audio(bool mute, std::vector<std::string> uids);
    void roomctrl_video(bool mute, std::vector<std::string> uids);
    void roomctrl_ban(std::vector<std::string> uids);
    void roomctrl_share(bool share, std::vector<std::string> uids);
    // The meeting ended: the mute and unmute requests still queued are dropped unsent, so that
    // none reaches the room after the leave, or the next room after a quick rejoin.
    void dropQueuedControls();
    // The meeting ended: the answer to a speaker request still under way reaches no window, as
    // the asker went with the meeting.
    void forgetSpeakerAsker();

    // Downloads a portrait into filePath (UTF-8) with the bridge as observer; on completion
    // WM_GET_PHOTO carries this portraitId. The library's thread handle (not to be closed).
    HANDLE getPhoto(const std::string& uid, const std::string& portraitId,
                    const std::string& filePath);

    // Signalling: see the thread notes above. broadcastMsg takes UTF-8 text (the chat window's
    // UTF-16 through CStringToUtf8), sent as it is.
    void connectSocket();
    void reconnectSocket();
    void closeSocket();
    void broadcastMsg(const std::string& text);
    void sendRequest(const std::string& op, const std::string& target, const std::string& rid);
    void sendResponse(const std::string& requestId, bool accept, const std::string& rid);
    // The own status bits changed: the library's reconnections of the current handle announce
    // them (connectSocket and reconnectSocket read the meeting data's at their call).
    void updateSocketStatus(int status);

    // A chat message of the room: sender uid and text, UTF-8. The text, here and in the
    // WM_SOCKET_USER_MSG record, is no more of the message than its bubble can show
    // (ZuvraKestrum::Chat::ShownPartOfUtf8).
    struct ChatLine {
        std::string uid;
        std::string text;
    };
    // A flood of chat costs the target window one message per batch: the chat messages that came
    // after the one WM_SOCKET_USER_MSG carried (its code names the batch) and before any other
    // event join that message. The window takes them once, in order, as it handles it; empty
    // for a message of no batch or one taken already. Any thread; the window's in practice.
    std::vector<ChatLine> takeChat(int batch);

    // CUserCallBack (library worker threads).
    void onCallBackError(const char* api, const char* errorMsg, int code) override;
    void onUserToken(bool success, const char* uid, const char* name, const char* portraitId,
                     int streamId, const char* token) override;
    void onUserUpdate(bool success) override;
    void onUpdatePhoto(const char* portraitId) override;
    void onGetPhoto(int state, const char* uid) override;
    void onJoinRoom(bool success, const char* rid, const char* topic, int signalAccount,
                    int initialStatus, const std::vector<std::string>& hosts,
                    const char* mediaToken) override;
    void onUpdateRoom(bool success) override;
    void onRoomCtrl(bool success, int shareId, const char* mediaToken) override;
    void onConfigRoom(bool success, const char* minimumVersion, const char* minimumUrl,
                      const char* latestVersion, const char* latestUrl, int maxRequestTimeout,
                      int unmuteRequestTimeout) override;
    void onHttpRetUpload(const char* api, int curlCode, unsigned elapsedMs,
                         const char* url) override;

    // CSocketIOCallBack (signalling network thread).
    void onSocketStatus_Open() override;
    void onSocketStatus_Close() override;
    void onSocketStatus_Fail() override;
    void onSocketStatus_Reconnect() override;
    void onSocketUserError(int code, const char* text) override;
    void onSocketJoinSuccess(const UserInfoRecord* user) override;
    void onSocketUserJoin(const UserInfoRecord* user) override;
    void onSocketUserLeave(const char* uid) override;
    void onSocketUserList(const std::vector<UserInfoRecord>& users) override;
    void onSocketRoomInfo(const RoomInfoRecord* room) override;
    void onSocketUserOperator(const char* operatorUid, const char* type, const char* target,
                              const std::vector<UserInfoRecord>& users) override;
    void onSocketUserInfo(const UserInfoRecord* user) override;
    void onSocketUserMsg(const char* uid, const char* msg) override;
    void onSocketRequestResult(const char* op, const char* requestId, const char* target) override;
    void onSocketUserRequest(const char* op, const char* sender, const char* requestId) override;
    void onSocketUserResponse(bool success, const char* requestId, const char* spare,
                              const char* reason, const char* sender, const char* target) override;

    // Where results and signalling events go; written directly by the windows (any thread).
    std::atomic<HWND> targetWindow{nullptr};
    // Set when the own "user-join" arrives; cleared whenever the handle is destroyed.
    std::atomic<bool> socketJoined{false};

private:
    struct ControlRequest {
        std::string action;
        std::vector<std::string> uids;
    };

    void updateRoomWithHosts(HWND asker, std::vector<std::string> hosts);
    void queueControl(const char* action, std::vector<std::string> uids);
    void sendControlNow(const char* action, const std::vector<std::string>& uids);
    void runControlWorker();
    void stopControlWorker();
    void connectWith(bool reconnect);
    // Caller holds lock_.
    void destroySocketLocked();
    // Runs send with the current handle under lock_; nothing without a handle.
    template <class Send>
    void withSocket(Send send);
    std::map<std::string, std::string> socketQuery(bool reconnect) const;
    // The participant's nickname from the meeting data (UTF-8); network thread.
    std::string nicknameOf(const char* uid);
    void startHttpReport(const char* api, int curlCode, unsigned elapsedMs);
    void joinHttpReports();

    // Posts kMessage with a new record of its payload type, made of fields, to the target window;
    // the record is freed when there is none or the post fails.
    template <UINT kMessage, class... Fields>
    void post(Fields&&... fields) {
        endChatBatch();
        PostPayload<kMessage>(targetWindow.load(),
                              NewRecord<PayloadOf<kMessage>>(std::forward<Fields>(fields)...));
    }
    template <UINT kMessage>
    void postEmpty() {
        endChatBatch();
        PostEmpty<kMessage>(targetWindow.load());
    }
    // A chat message after this reaches the window after what is posted now: it opens a batch
    // of its own.
    void endChatBatch();
    // The batches the window never took go with the meeting's connection, once it is closed.
    void dropChatBatches();
    static HWND dialogWindow(int dialog);

    const CourseExports exports_;
    const HttpReportFunction httpReport_;
    std::atomic<ZuvraKestrum::socketio::ISocketIOInterface*> socketHandle_{nullptr};
    ZuvraKestrum::Util::CLock lock_;
    // The window that asked for the latest speaker change. The answer to an earlier one that
    // comes while the library is still replacing that request by the latest reaches it too: the
    // bridge observes both.
    std::atomic<HWND> speakerAsker_{nullptr};
    std::atomic<bool> closingSocket_{false};  // a handle is being destroyed (under lock_)

    std::mutex queueMutex_;
    std::condition_variable queueWake_;
    std::list<std::unique_ptr<ControlRequest>> controlQueue_;  // under queueMutex_
    bool running_ = false;                                     // under queueMutex_
    std::thread worker_;

    std::mutex photoMutex_;
    std::string photoUid_;         // under photoMutex_: the running download's uid
    std::string photoPortraitId_;  // under photoMutex_: and its portrait id

    // Chat batches posted and not yet taken, oldest first; the newest takes further lines while
    // chatOpen_. A batch keeps at most kChatBatchLines lines, the newest.
    struct ChatBatch {
        int id = 0;
        std::list<ChatLine> lines;
    };
    // A critical section: made with the bridge, where a std::mutex of this runtime would take a
    // heap block at its first use, on any thread.
    ZuvraKestrum::Util::CLock chatLock_;
    std::list<ChatBatch> chatBatches_;  // under chatLock_
    bool chatOpen_ = false;             // under chatLock_
    int nextChatBatch_ = 1;             // under chatLock_

    std::mutex reportMutex_;
    std::list<std::future<void>> httpReports_;  // under reportMutex_: not yet seen finished
};
