#pragma once

#include <condition_variable>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "kestrum/engine/channel_folder.h"
#include "kestrum/engine/zuvra_rtc_engine.h"

namespace kestrum::engine {

// The stand-in engine: journals every call and produces the event flow the program expects.
// A join is answered with the join event, a leave from a channel with the leave statistics; while
// the probe runs it reports the probe quality every kProbePeriodMs; while volume indication is on
// and the engine is in a channel it reports the volumes every interval; views given for the local
// user (while the preview runs), for joined remote users and for the camera test show a generated
// picture (a field coloured by uid, the uid and a moving mark), drawn kFramePeriodMs apart.
//
// Threads: IEngine operations come from one thread; the parameter interface and the test hooks
// from any. One worker thread, owned by the engine, sends the timed events and draws; release
// ends it before the engine is freed, so no event arrives after release returns. Events are
// delivered one at a time (dispatchLock_), never while stateLock_ is held.
class StandInEngine final : public zuvra::rtc::IEngine {
public:
    static constexpr int kFramePeriodMs = 100;
    static constexpr int kProbePeriodMs = 500;
    static constexpr int kFolderPeriodMs = 200;

    StandInEngine();

    int initialize(const zuvra::rtc::EngineContext& context) override;
    void release(int wait) override;
    int setChannelProfile(int profile) override;
    int setClientRole(int role) override;
    int joinChannel(const char* token, const char* channel, const char* info,
                    uint32_t uid) override;
    int leaveChannel() override;
    int queryInterface(int id, void** out) override;
    int enableSwitchA() override;
    int disableSwitchA() override;
    int setVideoEncoderConfiguration(const zuvra::rtc::VideoEncoderConfiguration& config) override;
    int setupLocalVideo(const zuvra::rtc::VideoView& view) override;
    int setupRemoteVideo(const zuvra::rtc::VideoView& view) override;
    int startPreview() override;
    int stopPreview() override;
    int enableSwitchB() override;
    int enableLocalAudio(int on) override;
    int disableSwitchB() override;
    int startLastmileProbeTest() override;
    int stopLastmileProbeTest() override;

    // From the parameter interface: 0 or less stops the indications.
    void setVolumeInterval(int intervalMs);
    // From the camera manager: null stops the test picture.
    void setDeviceTestView(HWND view);
    // A KestrumEngineInject command (see engine_standin_hook.h); its result.
    int inject(const std::string& command);

private:
    struct View {
        HWND window = nullptr;
        bool firstFrameReported = false;
    };
    // What one worker pass sends and draws, collected under stateLock_.
    struct Pass;

    ~StandInEngine() = default;
    template <class Event>
    bool dispatch(Event event);
    void run();
    void collect(Pass& pass, DWORD now);
    void collectPictures(Pass& pass, DWORD now);
    void collectFolderUsers(Pass& pass, DWORD now);
    void deliver(const Pass& pass);
    void wake();
    int injectUserEvent(const std::string& name, uint32_t uid, long value, long extra);

    std::mutex stateLock_;
    std::condition_variable wakeUp_;
    bool stopping_ = false;
    bool woken_ = false;  // a call asked for a pass before the next frame period
    bool joinPending_ = false;
    bool leavePending_ = false;
    bool inChannel_ = false;
    std::string channel_;
    uint32_t uid_ = 0;
    DWORD joinTick_ = 0;
    DWORD leaveSeconds_ = 0;
    bool probing_ = false;
    int probeQuality_ = 1;
    DWORD nextProbe_ = 0;
    int volumeIntervalMs_ = 0;
    DWORD nextVolume_ = 0;
    std::set<uint32_t> remoteUsers_;
    kestrum::standin::ChannelFolder channelFolder_;
    std::set<uint32_t> folderUsers_;  // the remote users the folder reported
    DWORD nextFolderScan_ = 0;
    View local_;
    bool previewing_ = false;
    DWORD previewTick_ = 0;
    std::map<uint32_t, View> remoteViews_;
    HWND deviceTestView_ = nullptr;
    unsigned frame_ = 0;

    std::mutex dispatchLock_;
    zuvra::rtc::IRtcEngineEventHandler* handler_ = nullptr;  // under dispatchLock_

    std::thread worker_;
};

// The engines the hooks reach: registered when made, removed at release.
void RegisterEngine(StandInEngine* engine);
void UnregisterEngine(StandInEngine* engine);
// Runs the command on the newest live engine under the registry lock (so release waits).
int InjectIntoNewestEngine(const std::string& command);

}  // namespace kestrum::engine
