#pragma once

#include <windows.h>

#include <cstdint>

// The real-time audio/video engine (zuvra_rtc_sdk.dll) as the program drives it: the engine
// object, its parameter interface, the device managers and lists, and the event handler through
// which the engine reports back. The program and the shipped stand-in both compile this header
// with the same compiler, so the operations of each interface keep this declaration order and
// the member functions the compiler's own convention; the two exported functions are __cdecl.
//
// Ownership: every interface object handed out by the engine is given back with its release
// operation, never deleted. The event handler belongs to the caller and must outlive the engine
// (until IEngine::release has returned).
//
// Threads: the engine object and the device managers are driven from one thread (the program's
// UI thread). IEngine::queryInterface for the parameter interface and that interface's
// operations may also be called from other threads at the same time. Events arrive on the
// engine's own threads.

namespace zuvra::rtc {

class IRtcEngineEventHandler;

// What IEngine::initialize needs: the event handler, the application id text and a zero.
struct EngineContext {
    IRtcEngineEventHandler* eventHandler;
    const char* appId;
    int reserved;
};

// Where the engine renders one user: window, render mode, uid (0 for the local user), zero.
struct VideoView {
    HWND view;
    int renderMode;
    uint32_t uid;
    int reserved;
};

// The encoder record of IEngine::setVideoEncoderConfiguration. The option fields are the
// engine's own; the program sends them as its quality table says.
struct VideoEncoderConfiguration {
    int32_t width;
    int32_t height;
    int32_t frameRate;
    int32_t option1;
    int32_t bitrate;
    int32_t option2;
    int32_t flag;
    int32_t option3;
};

// One entry of a volume indication.
struct AudioVolumeInfo {
    uint32_t uid;
    uint32_t volume;
};

// Channel statistics (the leave report carries them); the stand-in fills values[0] with the
// seconds spent in the channel.
struct RtcStats {
    uint32_t values[14];
};
static_assert(sizeof(RtcStats) == 56, "the leave report copies 56 bytes");

// The two plain records that events 20 and 21 carry.
struct EventRecord8 {
    uint32_t values[2];
};
struct EventRecord28 {
    uint32_t values[7];
};
static_assert(sizeof(EventRecord8) == 8 && sizeof(EventRecord28) == 28, "record sizes");

// A text produced by the engine (IEngineParameters::convertPath).
class ITextObject {
public:
    virtual const char* text() = 0;  // NUL-terminated, valid until release
    virtual void release() = 0;

protected:
    ~ITextObject() = default;
};

// Audio or video devices, in the engine's order. Names and ids are UTF-8.
class IDeviceList {
public:
    static constexpr int kTextBytes = 512;

    virtual int count() = 0;
    // Fills both buffers (kTextBytes each). 0 = ok; a failure leaves them undefined.
    virtual int get(int index, char name[kTextBytes], char id[kTextBytes]) = 0;
    virtual void release() = 0;

protected:
    ~IDeviceList() = default;
};

// Recording devices (IEngine::queryInterface id 1).
class IRecordingDeviceManager {
public:
    virtual IDeviceList* enumerateRecordingDevices() = 0;  // null when none can be listed
    virtual int setRecordingDevice(const char* id) = 0;    // id in the ANSI code page; 0 = ok
    virtual void release() = 0;

protected:
    ~IRecordingDeviceManager() = default;
};

// Cameras (IEngine::queryInterface id 2).
class ICameraManager {
public:
    virtual IDeviceList* enumerateCameras() = 0;  // null when none can be listed
    virtual int startDeviceTest(HWND view) = 0;   // 0 = ok
    virtual int stopDeviceTest() = 0;             // 0 = ok
    virtual int setCamera(const char* id) = 0;    // UTF-8 id; 0 = ok
    virtual void release() = 0;

protected:
    ~ICameraManager() = default;
};

// Engine parameters (IEngine::queryInterface id 3). All results: 0 = ok.
class IEngineParameters {
public:
    virtual void release() = 0;
    virtual int setString(const char* key, const char* value) = 0;
    virtual int setObject(const char* key, const char* json) = 0;
    virtual int setParameters(const char* json) = 0;
    // *out := the path as the engine wants it (UTF-8), released by the caller; null on failure.
    virtual int convertPath(const char* path, ITextObject** out) = 0;

protected:
    ~IEngineParameters() = default;
};

// IEngine::queryInterface ids.
enum InterfaceId : int {
    kRecordingDeviceManager = 1,
    kCameraManager = 2,
    kEngineParameters = 3,
};

// The engine. Results: 0 = ok, unless a comment says otherwise.
class IEngine {
public:
    virtual int initialize(const EngineContext& context) = 0;
    // Stops every engine thread (no event arrives after it returns) and frees the engine.
    virtual void release(int wait) = 0;
    virtual int setChannelProfile(int profile) = 0;
    virtual int setClientRole(int role) = 0;  // 1 or 2
    virtual int joinChannel(const char* token, const char* channel, const char* info,
                            uint32_t uid) = 0;
    virtual int leaveChannel() = 0;
    // *out := the interface of the id (see InterfaceId), or null with a failure result.
    virtual int queryInterface(int id, void** out) = 0;
    virtual int enableSwitchA() = 0;
    virtual int disableSwitchA() = 0;
    virtual int setVideoEncoderConfiguration(const VideoEncoderConfiguration& config) = 0;
    virtual int setupLocalVideo(const VideoView& view) = 0;
    virtual int setupRemoteVideo(const VideoView& view) = 0;
    virtual int startPreview() = 0;
    virtual int stopPreview() = 0;
    virtual int enableSwitchB() = 0;
    virtual int enableLocalAudio(int on) = 0;
    virtual int disableSwitchB() = 0;
    virtual int startLastmileProbeTest() = 0;
    virtual int stopLastmileProbeTest() = 0;

protected:
    ~IEngine() = default;
};

// The engine's events. The last five (onValue67 to onValue71) are later additions that the
// engine calls like the others. Every operation does nothing unless a handler overrides it. Texts
// are valid during the call only; uid is the engine's user id, times are milliseconds. Called on
// the engine's threads, never while the caller of an IEngine operation waits for it.
class IRtcEngineEventHandler {
public:
    virtual ~IRtcEngineEventHandler() {}

    virtual void onWarning(int code, const char* text) { (void)code, (void)text; }
    virtual void onError(int code, const char* text) { (void)code, (void)text; }
    virtual void onJoinChannelSuccess(const char* channel, uint32_t uid, int elapsed) {
        (void)channel, (void)uid, (void)elapsed;
    }
    virtual void onRejoinChannelSuccess(const char* channel, uint32_t uid, int elapsed) {
        (void)channel, (void)uid, (void)elapsed;
    }
    virtual void onLeaveChannel(const RtcStats& stats) { (void)stats; }
    virtual void onUserJoined(uint32_t uid, int elapsed) { (void)uid, (void)elapsed; }
    virtual void onUserOffline(uint32_t uid, uint32_t reason) { (void)uid, (void)reason; }
    virtual void onLastmileQuality(int quality) { (void)quality; }  // 0 unknown, 1 best .. 6
    virtual void onConnectionInterrupted() {}
    virtual void onSignal12() {}
    virtual void onSignal15() {}
    virtual void onValues17(uint32_t a, uint32_t b, uint16_t c, uint16_t d) {
        (void)a, (void)b, (void)c, (void)d;
    }
    virtual void onRtcStats(const RtcStats& stats) { (void)stats; }
    virtual void onNetworkQuality(uint32_t uid, int txQuality, int rxQuality) {
        (void)uid, (void)txQuality, (void)rxQuality;
    }
    virtual void onRecord20(const EventRecord8& record) { (void)record; }
    virtual void onRecord21(const EventRecord28& record) { (void)record; }
    // speakers may be null when count is 0.
    virtual void onAudioVolumeIndication(const AudioVolumeInfo* speakers, unsigned count,
                                         int totalVolume) {
        (void)speakers, (void)count, (void)totalVolume;
    }
    virtual void onActiveSpeaker(uint32_t uid) { (void)uid; }
    virtual void onSignal25() {}
    virtual void onFirstLocalVideoFrame(int width, int height, int elapsed) {
        (void)width, (void)height, (void)elapsed;
    }
    virtual void onFirstRemoteVideoDecoded(uint32_t uid, int width, int height, int elapsed) {
        (void)uid, (void)width, (void)height, (void)elapsed;
    }
    virtual void onFirstRemoteVideoFrame(uint32_t uid, int width, int height, int elapsed) {
        (void)uid, (void)width, (void)height, (void)elapsed;
    }
    virtual void onUserMuteAudio(uint32_t uid, bool muted) { (void)uid, (void)muted; }
    virtual void onUserMuteVideo(uint32_t uid, bool muted) { (void)uid, (void)muted; }
    virtual void onUserEnableVideo(uint32_t uid, bool enabled) { (void)uid, (void)enabled; }
    virtual void onTextValues32(const char* text, uint32_t a, uint32_t b) {
        (void)text, (void)a, (void)b;
    }
    virtual void onSignal34() {}
    virtual void onTextValues43(const char* text, uint32_t a, uint32_t b) {
        (void)text, (void)a, (void)b;
    }
    virtual void onUserEnableLocalVideo(uint32_t uid, bool enabled) { (void)uid, (void)enabled; }
    virtual void onValue67(uint32_t value) { (void)value; }
    virtual void onTextValue68(const char* text, uint32_t value) { (void)text, (void)value; }
    virtual void onValue69(uint32_t value) { (void)value; }
    virtual void onValue70(uint32_t value) { (void)value; }
    virtual void onValue71(uint32_t value) { (void)value; }
};

}  // namespace zuvra::rtc

// The library's two entry points, imported by ordinal only (2 and 3): they have no export names.
#ifdef ZUVRA_RTC_BUILD
#define ZUVRA_RTC_API
#else
#define ZUVRA_RTC_API __declspec(dllimport)
#endif

extern "C" {

// A new engine, to be given back with IEngine::release; null when none can be made.
ZUVRA_RTC_API zuvra::rtc::IEngine* __cdecl zuvraCreateEngine();

// The engine's version text (static, never freed); *build := its build number when build is
// not null.
ZUVRA_RTC_API const char* __cdecl zuvraGetVersion(int* build);

}  // extern "C"
