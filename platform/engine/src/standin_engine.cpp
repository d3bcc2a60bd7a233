#include "standin_engine.h"

#include <algorithm>
#include <iterator>
#include <sstream>

#include "engine_journal.h"
#include "standin_devices.h"
#include "standin_parameters.h"
#include "standin_picture.h"

namespace kestrum::engine {

using zuvra::rtc::AudioVolumeInfo;
using zuvra::rtc::IRtcEngineEventHandler;

namespace {

constexpr int kPictureWidth = 640;
constexpr int kPictureHeight = 480;

std::string Number(long long value) { return std::to_string(value); }

std::string Window(HWND window) { return window ? "window" : "null"; }

// A tick difference that stays right across the 49-day wrap of GetTickCount.
bool IsDue(DWORD now, DWORD due) { return static_cast<LONG>(now - due) >= 0; }

int Elapsed(DWORD now, DWORD since) { return static_cast<int>(now - since); }

}  // namespace

struct StandInEngine::Pass {
    struct Picture {
        HWND window;
        uint32_t uid;
        bool local;
    };

    bool join = false;
    std::string channel;
    uint32_t uid = 0;
    int joinElapsed = 0;
    bool leave = false;
    zuvra::rtc::RtcStats stats{};
    bool probe = false;
    int quality = 0;
    bool volume = false;
    std::vector<AudioVolumeInfo> volumes;
    int totalVolume = 0;
    bool firstLocalFrame = false;
    int localElapsed = 0;
    std::vector<uint32_t> firstRemoteFrames;
    std::vector<uint32_t> usersJoined;
    std::vector<uint32_t> usersLeft;
    int usersElapsed = 0;
    std::vector<Picture> pictures;
    unsigned frame = 0;
};

StandInEngine::StandInEngine() : worker_([this] { run(); }) {
    JournalRecord(JournalCall("engine.create"));
}

template <class Event>
bool StandInEngine::dispatch(Event event) {
    std::lock_guard<std::mutex> guard(dispatchLock_);
    if (!handler_) return false;
    event(*handler_);
    return true;
}

int StandInEngine::initialize(const zuvra::rtc::EngineContext& context) {
    JournalRecord(
        JournalCall("engine.initialize", {context.eventHandler ? "handler" : "null",
                                          JournalText(context.appId), Number(context.reserved)}));
    std::lock_guard<std::mutex> guard(dispatchLock_);
    handler_ = context.eventHandler;
    return context.appId ? 0 : -2;
}

void StandInEngine::release(int wait) {
    JournalRecord(JournalCall("engine.release", {Number(wait)}));
    UnregisterEngine(this);
    {
        std::lock_guard<std::mutex> guard(stateLock_);
        stopping_ = true;
    }
    wakeUp_.notify_all();
    worker_.join();
    delete this;
}

int StandInEngine::setChannelProfile(int profile) {
    JournalRecord(JournalCall("engine.setChannelProfile", {Number(profile)}));
    return 0;
}

int StandInEngine::setClientRole(int role) {
    JournalRecord(JournalCall("engine.setClientRole", {Number(role)}));
    return role == 1 || role == 2 ? 0 : -2;
}

int StandInEngine::joinChannel(const char* token, const char* channel, const char* info,
                               uint32_t uid) {
    JournalRecord(JournalCall("engine.joinChannel", {JournalText(token), JournalText(channel),
                                                     JournalText(info), Number(uid)}));
    if (!channel) return -2;
    {
        std::lock_guard<std::mutex> guard(stateLock_);
        channel_ = channel;
        uid_ = uid;
        joinTick_ = GetTickCount();
        joinPending_ = true;
        leavePending_ = false;
        inChannel_ = true;
        channelFolder_.enter(channel_, uid);
        folderUsers_.clear();
        nextFolderScan_ = joinTick_;
        nextVolume_ = joinTick_ + static_cast<DWORD>(std::max(volumeIntervalMs_, 0));
    }
    wake();
    return 0;
}

int StandInEngine::leaveChannel() {
    JournalRecord(JournalCall("engine.leaveChannel"));
    {
        std::lock_guard<std::mutex> guard(stateLock_);
        if (inChannel_) {
            leavePending_ = true;
            leaveSeconds_ = (GetTickCount() - joinTick_) / 1000;
        }
        inChannel_ = false;
        joinPending_ = false;
        remoteUsers_.clear();
        channelFolder_.leave();
        folderUsers_.clear();
    }
    wake();
    return 0;
}

int StandInEngine::queryInterface(int id, void** out) {
    JournalRecord(JournalCall("engine.queryInterface", {Number(id)}));
    if (!out) return -2;
    switch (id) {
        case zuvra::rtc::kRecordingDeviceManager:
            *out = static_cast<zuvra::rtc::IRecordingDeviceManager*>(new StandInRecordingManager);
            return 0;
        case zuvra::rtc::kCameraManager:
            *out = static_cast<zuvra::rtc::ICameraManager*>(new StandInCameraManager(*this));
            return 0;
        case zuvra::rtc::kEngineParameters:
            *out = static_cast<zuvra::rtc::IEngineParameters*>(new StandInParameters(*this));
            return 0;
        default:
            *out = nullptr;
            return -3;
    }
}

int StandInEngine::enableSwitchA() {
    JournalRecord(JournalCall("engine.enableSwitchA"));
    return 0;
}

int StandInEngine::disableSwitchA() {
    JournalRecord(JournalCall("engine.disableSwitchA"));
    return 0;
}

int StandInEngine::setVideoEncoderConfiguration(const zuvra::rtc::VideoEncoderConfiguration& c) {
    JournalRecord(
        JournalCall("engine.setVideoEncoderConfiguration",
                    {Number(c.width), Number(c.height), Number(c.frameRate), Number(c.option1),
                     Number(c.bitrate), Number(c.option2), Number(c.flag), Number(c.option3)}));
    return 0;
}

int StandInEngine::setupLocalVideo(const zuvra::rtc::VideoView& view) {
    JournalRecord(JournalCall("engine.setupLocalVideo", {Window(view.view), Number(view.renderMode),
                                                         Number(view.uid), Number(view.reserved)}));
    std::lock_guard<std::mutex> guard(stateLock_);
    local_ = View{view.view, false};
    return 0;
}

int StandInEngine::setupRemoteVideo(const zuvra::rtc::VideoView& view) {
    JournalRecord(JournalCall(
        "engine.setupRemoteVideo",
        {Window(view.view), Number(view.renderMode), Number(view.uid), Number(view.reserved)}));
    std::lock_guard<std::mutex> guard(stateLock_);
    if (view.view) {
        remoteViews_[view.uid] = View{view.view, false};
    } else {
        remoteViews_.erase(view.uid);
    }
    return 0;
}

int StandInEngine::startPreview() {
    JournalRecord(JournalCall("engine.startPreview"));
    {
        std::lock_guard<std::mutex> guard(stateLock_);
        if (!previewing_) previewTick_ = GetTickCount();
        previewing_ = true;
    }
    // The camera's picture shows as soon as the preview starts, not a frame period later.
    wake();
    return 0;
}

int StandInEngine::stopPreview() {
    JournalRecord(JournalCall("engine.stopPreview"));
    std::lock_guard<std::mutex> guard(stateLock_);
    previewing_ = false;
    local_.firstFrameReported = false;
    return 0;
}

int StandInEngine::enableSwitchB() {
    JournalRecord(JournalCall("engine.enableSwitchB"));
    return 0;
}

int StandInEngine::enableLocalAudio(int on) {
    JournalRecord(JournalCall("engine.enableLocalAudio", {Number(on)}));
    return 0;
}

int StandInEngine::disableSwitchB() {
    JournalRecord(JournalCall("engine.disableSwitchB"));
    return 0;
}

int StandInEngine::startLastmileProbeTest() {
    JournalRecord(JournalCall("engine.startLastmileProbeTest"));
    {
        std::lock_guard<std::mutex> guard(stateLock_);
        probing_ = true;
        nextProbe_ = GetTickCount();
    }
    wake();
    return 0;
}

int StandInEngine::stopLastmileProbeTest() {
    JournalRecord(JournalCall("engine.stopLastmileProbeTest"));
    std::lock_guard<std::mutex> guard(stateLock_);
    probing_ = false;
    return 0;
}

void StandInEngine::setVolumeInterval(int intervalMs) {
    std::lock_guard<std::mutex> guard(stateLock_);
    volumeIntervalMs_ = intervalMs > 0 ? intervalMs : 0;
    nextVolume_ = GetTickCount() + static_cast<DWORD>(volumeIntervalMs_);
}

void StandInEngine::setDeviceTestView(HWND view) {
    std::lock_guard<std::mutex> guard(stateLock_);
    deviceTestView_ = view;
}

// Marked under the lock: a call made while the worker delivers a pass, unlocked, would
// otherwise go unheard and wait a whole frame period.
void StandInEngine::wake() {
    {
        std::lock_guard<std::mutex> guard(stateLock_);
        woken_ = true;
    }
    wakeUp_.notify_all();
}

void StandInEngine::run() {
    std::unique_lock<std::mutex> lock(stateLock_);
    while (!stopping_) {
        Pass pass;
        collect(pass, GetTickCount());
        lock.unlock();
        deliver(pass);
        lock.lock();
        if (stopping_) break;
        wakeUp_.wait_for(lock, std::chrono::milliseconds(kFramePeriodMs),
                         [this] { return stopping_ || woken_; });
        woken_ = false;
    }
}

void StandInEngine::collect(Pass& pass, DWORD now) {
    if (joinPending_) {
        pass.join = true;
        pass.channel = channel_;
        pass.uid = uid_;
        pass.joinElapsed = Elapsed(now, joinTick_);
        joinPending_ = false;
    }
    if (leavePending_) {
        pass.leave = true;
        pass.stats.values[0] = leaveSeconds_;
        leavePending_ = false;
    }
    if (probing_ && IsDue(now, nextProbe_)) {
        pass.probe = true;
        pass.quality = probeQuality_;
        nextProbe_ = now + kProbePeriodMs;
    }
    if (inChannel_ && volumeIntervalMs_ > 0 && IsDue(now, nextVolume_)) {
        pass.volume = true;
        // The own user speaks in bursts so that speaking marks come and go.
        pass.volumes.push_back(AudioVolumeInfo{0, (frame_ / 10) % 2 ? 180u : 0u});
        for (uint32_t uid : remoteUsers_) pass.volumes.push_back(AudioVolumeInfo{uid, 60});
        for (const AudioVolumeInfo& entry : pass.volumes) {
            pass.totalVolume = std::max(pass.totalVolume, static_cast<int>(entry.volume));
        }
        nextVolume_ = now + static_cast<DWORD>(volumeIntervalMs_);
    }
    collectFolderUsers(pass, now);
    collectPictures(pass, now);
    pass.frame = frame_++;
}

void StandInEngine::collectFolderUsers(Pass& pass, DWORD now) {
    if (!inChannel_ || !channelFolder_.enabled() || !IsDue(now, nextFolderScan_)) return;
    nextFolderScan_ = now + kFolderPeriodMs;
    const std::set<uint32_t> present = channelFolder_.others();
    std::set_difference(present.begin(), present.end(), folderUsers_.begin(), folderUsers_.end(),
                        std::back_inserter(pass.usersJoined));
    std::set_difference(folderUsers_.begin(), folderUsers_.end(), present.begin(), present.end(),
                        std::back_inserter(pass.usersLeft));
    for (uint32_t uid : pass.usersJoined) remoteUsers_.insert(uid);
    for (uint32_t uid : pass.usersLeft) remoteUsers_.erase(uid);
    folderUsers_ = present;
    pass.usersElapsed = Elapsed(now, joinTick_);
}

void StandInEngine::collectPictures(Pass& pass, DWORD now) {
    if (previewing_ && local_.window) {
        pass.pictures.push_back({local_.window, 0, true});
        if (!local_.firstFrameReported) {
            pass.firstLocalFrame = true;
            pass.localElapsed = Elapsed(now, previewTick_);
            local_.firstFrameReported = true;
        }
    }
    for (auto& [uid, view] : remoteViews_) {
        if (!remoteUsers_.count(uid)) continue;
        pass.pictures.push_back({view.window, uid, false});
        if (!view.firstFrameReported) {
            pass.firstRemoteFrames.push_back(uid);
            view.firstFrameReported = true;
        }
    }
    if (deviceTestView_) pass.pictures.push_back({deviceTestView_, 0, true});
}

void StandInEngine::deliver(const Pass& pass) {
    const int elapsed = pass.joinElapsed;
    if (pass.join) {
        dispatch([&](IRtcEngineEventHandler& h) {
            h.onJoinChannelSuccess(pass.channel.c_str(), pass.uid, elapsed);
        });
    }
    if (pass.leave) dispatch([&](IRtcEngineEventHandler& h) { h.onLeaveChannel(pass.stats); });
    for (uint32_t uid : pass.usersJoined) {
        dispatch([&](IRtcEngineEventHandler& h) { h.onUserJoined(uid, pass.usersElapsed); });
    }
    for (uint32_t uid : pass.usersLeft) {
        dispatch([&](IRtcEngineEventHandler& h) { h.onUserOffline(uid, 0); });
    }
    if (pass.probe) dispatch([&](IRtcEngineEventHandler& h) { h.onLastmileQuality(pass.quality); });
    if (pass.volume) {
        dispatch([&](IRtcEngineEventHandler& h) {
            h.onAudioVolumeIndication(pass.volumes.data(),
                                      static_cast<unsigned>(pass.volumes.size()), pass.totalVolume);
        });
    }
    for (const Pass::Picture& picture : pass.pictures) {
        DrawTestPicture(picture.window, picture.uid, picture.local, pass.frame);
    }
    if (pass.firstLocalFrame) {
        dispatch([&](IRtcEngineEventHandler& h) {
            h.onFirstLocalVideoFrame(kPictureWidth, kPictureHeight, pass.localElapsed);
        });
    }
    for (uint32_t uid : pass.firstRemoteFrames) {
        dispatch([&](IRtcEngineEventHandler& h) {
            h.onFirstRemoteVideoDecoded(uid, kPictureWidth, kPictureHeight, 0);
            h.onFirstRemoteVideoFrame(uid, kPictureWidth, kPictureHeight, 0);
        });
    }
}

int StandInEngine::inject(const std::string& command) {
    std::istringstream in(command);
    std::string name;
    in >> name;
    if (name == "error") {
        long code = 0;
        if (!(in >> code)) return -1;
        std::string text;
        std::getline(in >> std::ws, text);
        const bool hasText = !text.empty();
        return dispatch([&](IRtcEngineEventHandler& h) {
            h.onError(static_cast<int>(code), hasText ? text.c_str() : nullptr);
        })
                   ? 0
                   : -2;
    }
    if (name == "lastmileQuality") {
        int quality = 0;
        if (!(in >> quality)) return -1;
        std::lock_guard<std::mutex> guard(stateLock_);
        probeQuality_ = quality;
        return 0;
    }
    unsigned long uid = 0;
    long value = 0, extra = 0;
    if (!(in >> uid)) return -1;
    in >> value >> extra;
    return injectUserEvent(name, static_cast<uint32_t>(uid), value, extra);
}

int StandInEngine::injectUserEvent(const std::string& name, uint32_t uid, long value, long extra) {
    const int v = static_cast<int>(value);
    const bool flag = value != 0;
    if (name == "userJoined") {
        {
            std::lock_guard<std::mutex> guard(stateLock_);
            remoteUsers_.insert(uid);
        }
        return dispatch([&](IRtcEngineEventHandler& h) { h.onUserJoined(uid, v); }) ? 0 : -2;
    }
    if (name == "userOffline") {
        {
            std::lock_guard<std::mutex> guard(stateLock_);
            remoteUsers_.erase(uid);
        }
        return dispatch([&](IRtcEngineEventHandler& h) {
            h.onUserOffline(uid, static_cast<uint32_t>(value));
        })
                   ? 0
                   : -2;
    }
    bool delivered = false;
    if (name == "userMuteAudio") {
        delivered = dispatch([&](IRtcEngineEventHandler& h) { h.onUserMuteAudio(uid, flag); });
    } else if (name == "userMuteVideo") {
        delivered = dispatch([&](IRtcEngineEventHandler& h) { h.onUserMuteVideo(uid, flag); });
    } else if (name == "userEnableVideo") {
        delivered = dispatch([&](IRtcEngineEventHandler& h) { h.onUserEnableVideo(uid, flag); });
    } else if (name == "userEnableLocalVideo") {
        delivered =
            dispatch([&](IRtcEngineEventHandler& h) { h.onUserEnableLocalVideo(uid, flag); });
    } else if (name == "networkQuality") {
        delivered = dispatch([&](IRtcEngineEventHandler& h) {
            h.onNetworkQuality(uid, v, static_cast<int>(extra));
        });
    } else if (name == "activeSpeaker") {
        delivered = dispatch([&](IRtcEngineEventHandler& h) { h.onActiveSpeaker(uid); });
    } else {
        return -1;
    }
    return delivered ? 0 : -2;
}

namespace {

std::mutex& RegistryLock() {
    static std::mutex* lock = new std::mutex;  // never freed: hooks may come during exit
    return *lock;
}

std::vector<StandInEngine*>& Registry() {
    static std::vector<StandInEngine*>* engines = new std::vector<StandInEngine*>;
    return *engines;
}

// "addCamera <id> <name...>" and the like: the device catalogue needs no engine.
bool RunDeviceCommand(const std::string& command, int& result) {
    std::istringstream in(command);
    std::string name;
    in >> name;
    if (name == "resetDevices") {
        ResetDevices();
        result = 0;
        return true;
    }
    if (name != "addCamera" && name != "addRecordingDevice") return false;
    FakeDevice device;
    in >> device.id;
    std::getline(in >> std::ws, device.name);
    if (device.id.empty() || device.name.empty()) {
        result = -1;
        return true;
    }
    if (name == "addCamera") {
        AddCamera(device);
    } else {
        AddRecordingDevice(device);
    }
    result = 0;
    return true;
}

}  // namespace

void RegisterEngine(StandInEngine* engine) {
    std::lock_guard<std::mutex> guard(RegistryLock());
    Registry().push_back(engine);
}

void UnregisterEngine(StandInEngine* engine) {
    std::lock_guard<std::mutex> guard(RegistryLock());
    std::vector<StandInEngine*>& engines = Registry();
    engines.erase(std::remove(engines.begin(), engines.end(), engine), engines.end());
}

int InjectIntoNewestEngine(const std::string& command) {
    int result = 0;
    if (RunDeviceCommand(command, result)) return result;
    std::lock_guard<std::mutex> guard(RegistryLock());
    if (Registry().empty()) return -2;
    return Registry().back()->inject(command);
}

}  // namespace kestrum::engine
