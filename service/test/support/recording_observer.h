#pragma once

#include <chrono>
#include <mutex>
#include <string>
#include <vector>

#include "kestrum/service/vossary_api.h"
#include "kestrum/testing/line_recorder.h"

// An observer that writes every notification down as one line ("onUserUpdate(1)"), in order,
// and lets the test wait for them. Notifications arrive on the library's workers.
class RecordingObserver : public ZuvraKestrum::ICallBack::CUserCallBack {
public:
    // Waits until at least count lines exist (false when they did not by the tests' timeout).
    bool WaitFor(size_t count);
    // Waits until a line starting with "onHttpRetUpload(" exists (false when it did not by the
    // timeout).
    bool WaitFinished(std::chrono::milliseconds timeout = kestrum::testing_support::TestTimeout());
    std::vector<std::string> Lines();
    // The api pointer of the last onHttpRetUpload, and its elapsed time.
    const char* LastApi();
    unsigned LastElapsedMs();

    void onCallBackError(const char* api, const char* errorMsg, int code) override;
    void onUserToken(bool success, const char* uid, const char* name, const char* portraitId,
                     int streamId, const char* token) override;
    void onUserUpdate(bool success) override;
    void onUpdatePhoto(const char* portraitId) override;
    void onGetPhoto(int state, const char* uid) override;
    void onJoinRoom(bool success, const char* rid, const char* topic, int signalAccount,
                    int initialStatus, const std::vector<std::string>& hosts,
                    const char* mediaToken) override;
    void onCreateRoom(bool success, const char* rid, const char* topic, int initialStatus) override;
    void onUpdateRoom(bool success) override;
    void onGetRoom(bool success, const char* rid, const char* topic, bool hasPwd, int initialStatus,
                   const std::vector<std::string>& hosts,
                   const std::vector<std::string>& participants) override;
    void onRoomCtrl(bool success, int shareId, const char* mediaToken) override;
    void onConfigRoom(bool success, const char* minimumVersion, const char* minimumUrl,
                      const char* latestVersion, const char* latestUrl, int maxRequestTimeout,
                      int unmuteRequestTimeout) override;
    void onLogUpload(bool ok) override;
    void onHttpRetUpload(const char* api, int curlCode, unsigned elapsedMs,
                         const char* url) override;

protected:
    void Add(const std::string& line);

private:
    kestrum::testing_support::LineRecorder lines_;
    std::mutex lock_;  // guards what the last onHttpRetUpload gave, stored before its line
    const char* lastApi_ = nullptr;
    unsigned lastElapsedMs_ = 0;
};

// "[a,b]" of a list of texts.
std::string ListText(const std::vector<std::string>& items);
