#include "recording_observer.h"

namespace {
std::string B(bool value) { return value ? "1" : "0"; }
std::string S(const char* text) { return text ? text : "(null)"; }
std::string I(long long value) { return std::to_string(value); }
}  // namespace

std::string ListText(const std::vector<std::string>& items) {
    std::string text = "[";
    for (size_t i = 0; i < items.size(); ++i) text += (i ? "," : "") + items[i];
    return text + "]";
}

void RecordingObserver::Add(const std::string& line) { lines_.Add(line); }

bool RecordingObserver::WaitFor(size_t count) { return lines_.WaitForPrefix("", count); }

bool RecordingObserver::WaitFinished(std::chrono::milliseconds timeout) {
    return lines_.WaitForPrefix("onHttpRetUpload(", 1, timeout);
}

std::vector<std::string> RecordingObserver::Lines() { return lines_.Lines(); }

const char* RecordingObserver::LastApi() {
    std::lock_guard<std::mutex> guard(lock_);
    return lastApi_;
}

unsigned RecordingObserver::LastElapsedMs() {
    std::lock_guard<std::mutex> guard(lock_);
    return lastElapsedMs_;
}

void RecordingObserver::onCallBackError(const char* api, const char* errorMsg, int code) {
    Add("onCallBackError(" + S(api) + "," + S(errorMsg) + "," + I(code) + ")");
}
void RecordingObserver::onUserToken(bool success, const char* uid, const char* name,
                                    const char* portraitId, int streamId, const char* token) {
    Add("onUserToken(" + B(success) + "," + S(uid) + "," + S(name) + "," + S(portraitId) + "," +
        I(streamId) + "," + S(token) + ")");
}
void RecordingObserver::onUserUpdate(bool success) { Add("onUserUpdate(" + B(success) + ")"); }
void RecordingObserver::onUpdatePhoto(const char* portraitId) {
    Add("onUpdatePhoto(" + S(portraitId) + ")");
}
void RecordingObserver::onGetPhoto(int state, const char* uid) {
    Add("onGetPhoto(" + I(state) + "," + S(uid) + ")");
}
void RecordingObserver::onJoinRoom(bool success, const char* rid, const char* topic,
                                   int signalAccount, int initialStatus,
                                   const std::vector<std::string>& hosts, const char* mediaToken) {
    Add("onJoinRoom(" + B(success) + "," + S(rid) + "," + S(topic) + "," + I(signalAccount) + "," +
        I(initialStatus) + "," + ListText(hosts) + "," + S(mediaToken) + ")");
}
void RecordingObserver::onCreateRoom(bool success, const char* rid, const char* topic,
                                     int initialStatus) {
    Add("onCreateRoom(" + B(success) + "," + S(rid) + "," + S(topic) + "," + I(initialStatus) +
        ")");
}
void RecordingObserver::onUpdateRoom(bool success) { Add("onUpdateRoom(" + B(success) + ")"); }
void RecordingObserver::onGetRoom(bool success, const char* rid, const char* topic, bool hasPwd,
                                  int initialStatus, const std::vector<std::string>& hosts,
                                  const std::vector<std::string>& participants) {
    Add("onGetRoom(" + B(success) + "," + S(rid) + "," + S(topic) + "," + B(hasPwd) + "," +
        I(initialStatus) + "," + ListText(hosts) + "," + ListText(participants) + ")");
}
void RecordingObserver::onRoomCtrl(bool success, int shareId, const char* mediaToken) {
    Add("onRoomCtrl(" + B(success) + "," + I(shareId) + "," + S(mediaToken) + ")");
}
void RecordingObserver::onConfigRoom(bool success, const char* minimumVersion,
                                     const char* minimumUrl, const char* latestVersion,
                                     const char* latestUrl, int maxRequestTimeout,
                                     int unmuteRequestTimeout) {
    Add("onConfigRoom(" + B(success) + "," + S(minimumVersion) + "," + S(minimumUrl) + "," +
        S(latestVersion) + "," + S(latestUrl) + "," + I(maxRequestTimeout) + "," +
        I(unmuteRequestTimeout) + ")");
}
void RecordingObserver::onLogUpload(bool ok) { Add("onLogUpload(" + B(ok) + ")"); }
void RecordingObserver::onHttpRetUpload(const char* api, int curlCode, unsigned elapsedMs,
                                        const char* url) {
    {
        std::lock_guard<std::mutex> guard(lock_);
        lastApi_ = api;
        lastElapsedMs_ = elapsedMs;
    }
    Add("onHttpRetUpload(" + S(api) + "," + I(curlCode) + "," + S(url) + ")");
}
