#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "kestrum/common/singleton.h"
#include "kestrum/common/thread_affinity.h"
#include "kestrum/core/audio_device_helper.h"
#include "kestrum/core/kestrum_dump.h"
#include "kestrum/core/qz_engine_event_handler.h"
#include "kestrum/core/video_device_helper.h"
#include "kestrum/engine/zuvra_rtc_engine.h"

// The one place that drives the real-time engine: creates and initialises it with the event
// sink and the meeting data's application id, sends the parameter texts and the video quality,
// joins and leaves the channel, sets up the local and remote views and owns the camera and
// recording-device objects.
//
// Ownership: the program reaches one instance through CSingleton<CKestrumZuvra>::getInstance,
// deleted by its holder at exit; tests may build their own. The instance owns the engine, the
// sink and both device objects and gives them up in Release (also run by the destructor).
//
// Threads: UI thread only, except SetParameters, which the quality reports also call from their
// own threads at the same time (it only reads the engine pointer, which does not change between
// Init and Release, and asks the engine for a parameter interface of its own). The builds with
// checks hold the UI thread to the first thread that calls a checked operation.
//
// Results: true when the engine answered 0. Without an engine (the library could not make one,
// or after Release) every operation does nothing and returns false.
class CKestrumZuvra : public CSingleton<CKestrumZuvra>, public CKestrumDump {
public:
    CKestrumZuvra();
    ~CKestrumZuvra() override;

    using CSingleton<CKestrumZuvra>::Init;
    // Creates what is missing (engine, sink, device objects) and initialises the engine. Called
    // by the constructor.
    void Init();
    // Releases the device objects and the engine, then deletes the sink. Idempotent.
    void Release();

    // Events go to this window from now on (null drops them).
    void SetMsgReceiver(HWND receiver);
    // The window events go to now; null when they are dropped.
    HWND MsgReceiver() const;

    // out := "V" followed by the application version. Also stores the engine's version text as
    // "MediaVersion" in the configuration and in the meeting data. Returns out.
    std::wstring& GetSdkVersion(std::wstring& out);

    // The engine's log file. The engine takes UTF-8, made here straight from the wide path: the
    // ANSI code page may lack characters of the program's folder.
    bool SetLogFile(const std::wstring& path);

    bool EnableLastmileTest(bool on);
    bool ToggleEnginePairA(bool on);
    bool ToggleEnginePairB(bool on);
    bool EnableH264Interop(bool on);
    bool SetLocalViewMirror(bool on);
    // Any thread (see the class comment). json must not be null.
    bool SetParameters(const char* json);
    bool MuteLocalVideo(bool mute);
    bool MuteLocalAudio(bool mute);
    // on: volume indications every 2000 ms; off leaves the engine as it is and returns true.
    bool EnableAudioVolumeIndication(bool on);

    // Binds the camera object, then the recording-device object; true when both are bound.
    bool InitDevices();

    bool JoinChannel(const std::string& channel, uint32_t uid, const std::string& token);
    // Stops the preview, then leaves; the leave's result.
    bool LeaveChannel();
    // on: renders the local user into window and starts the preview (the preview's result);
    // off: stops the preview.
    bool SetupLocalVideo(HWND window, bool on, int renderMode);
    // Renders the user into window; true whenever there is an engine.
    bool SetupRemoteVideo(uint32_t uid, HWND window, int renderMode);
    bool SetChannelProfile(int profile);
    // 1 or 2 (2 when the user joins with microphone and camera off).
    bool SetEngineMode(int role);
    // 30 low, 40 middle, 50 high; any other level sends the engine's default record.
    bool SetVideoQuality(int level);

    // Selects the camera whose name equals the configuration's "CameraID". True when one
    // matched; otherwise nothing is selected and the engine keeps its own choice.
    bool SelectConfiguredCamera();
    // The same with the name given.
    bool SelectCameraByName(const std::wstring& name);

    CVideoDeviceHelper* getVideoDeviceHelper() { return camera_; }
    CAudioDeviceHelper* getAudioDeviceHelper() { return audio_; }

    // The encoder record of a quality level.
    static zuvra::rtc::VideoEncoderConfiguration VideoQualityRecord(int level);

private:
    // Runs call(parameters) on a parameter interface of its own; false without one.
    template <class Call>
    bool withParameters(Call call);
    bool setParametersFormatted(const char* format, ...) __attribute__((format(gnu_printf, 2, 3)));

    zuvra::rtc::IEngine* engine_ = nullptr;
    CQZEngineEventHandler* sink_ = nullptr;
    CVideoDeviceHelper* camera_ = nullptr;
    CAudioDeviceHelper* audio_ = nullptr;
    kestrum::common::ThreadAffinity thread_;
};
