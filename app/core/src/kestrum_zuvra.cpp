#include "kestrum/core/kestrum_zuvra.h"

#include <cstdarg>
#include <cstdio>

#include "kestrum/core/kestrum_config.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/util_text.h"

using zuvra::rtc::IEngineParameters;
using zuvra::rtc::VideoEncoderConfiguration;

namespace {

// Formatted parameter texts are cut to this many characters.
constexpr size_t kParameterTextChars = 511;

constexpr int kVolumeIntervalMs = 2000;
constexpr int kVolumeSmooth = 3;

const char* TrueFalse(bool value) { return value ? "true" : "false"; }

struct QualityRow {
    int level;
    VideoEncoderConfiguration record;
};

constexpr QualityRow kQualityTable[] = {
    {30, {640, 360, 15, -1, 400, -1, 1, 0}},
    {40, {640, 480, 15, -1, 500, -1, 1, 0}},
    {50, {1280, 720, 15, -1, 1130, -1, 1, 0}},
};
constexpr VideoEncoderConfiguration kDefaultQuality = {640, 480, 15, -1, 0, -1, 0, 0};

}  // namespace

CKestrumZuvra::CKestrumZuvra() : CKestrumDump("CKestrumZuvra", true, false, true, L"") {
    KESTRUM_LOG(Level_Info, "");
    Init();
    // Bound to its first checked caller: the quality reports may be the ones that make it.
    thread_.Detach();
}

CKestrumZuvra::~CKestrumZuvra() { Release(); }

void CKestrumZuvra::Init() {
    if (!engine_) engine_ = zuvraCreateEngine();
    if (!sink_) sink_ = new CQZEngineEventHandler;
    if (engine_) {
        const std::string appId = g_kestrumData ? g_kestrumData->appId : std::string();
        engine_->initialize(zuvra::rtc::EngineContext{sink_, appId.c_str(), 0});
    }
    if (!camera_) camera_ = new CVideoDeviceHelper(*this);
    if (!audio_) audio_ = new CAudioDeviceHelper;
}

void CKestrumZuvra::Release() {
    delete camera_;
    camera_ = nullptr;
    delete audio_;
    audio_ = nullptr;
    if (engine_) engine_->release(0);
    engine_ = nullptr;
    // The engine has stopped its threads: no event can reach the sink any more.
    delete sink_;
    sink_ = nullptr;
}

void CKestrumZuvra::SetMsgReceiver(HWND receiver) {
    KESTRUM_CHECK_THREAD(thread_);
    if (sink_) sink_->SetReceiver(receiver);
}

HWND CKestrumZuvra::MsgReceiver() const { return sink_ ? sink_->Receiver() : nullptr; }

std::wstring& CKestrumZuvra::GetSdkVersion(std::wstring& out) {
    KESTRUM_CHECK_THREAD(thread_);
    int build = 0;
    const char* version = zuvraGetVersion(&build);
    const std::string text = version ? version : "";
    CSingleton<CKestrumConfig>::getInstance()->setMediaVersion(text);
    std::string appVersion;
    if (g_kestrumData) {
        g_kestrumData->engineVersion = text;
        appVersion = g_kestrumData->appVersion;
    }
    out = L"V" + ZuvraKestrum::Util::StringToCString(appVersion);
    return out;
}

template <class Call>
bool CKestrumZuvra::withParameters(Call call) {
    if (!engine_) return false;
    void* out = nullptr;
    if (engine_->queryInterface(zuvra::rtc::kEngineParameters, &out) != 0 || !out) return false;
    IEngineParameters* parameters = static_cast<IEngineParameters*>(out);
    const bool ok = call(*parameters) == 0;
    parameters->release();
    return ok;
}

bool CKestrumZuvra::setParametersFormatted(const char* format, ...) {
    char text[kParameterTextChars + 1];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return SetParameters(text);
}

bool CKestrumZuvra::SetLogFile(const std::wstring& path) {
    KESTRUM_CHECK_THREAD(thread_);
    const std::string file = ZuvraKestrum::Util::CStringToUtf8(path);
    return withParameters([&file](IEngineParameters& parameters) {
        return parameters.setString("rtc.log_file", file.c_str());
    });
}

bool CKestrumZuvra::EnableLastmileTest(bool on) {
    KESTRUM_CHECK_THREAD(thread_);
    KESTRUM_LOG(Level_Info, "(%d)", on);
    if (!engine_) return false;
    return (on ? engine_->startLastmileProbeTest() : engine_->stopLastmileProbeTest()) == 0;
}

bool CKestrumZuvra::ToggleEnginePairA(bool on) {
    KESTRUM_CHECK_THREAD(thread_);
    if (!engine_) return false;
    return (on ? engine_->enableSwitchA() : engine_->disableSwitchA()) == 0;
}

bool CKestrumZuvra::ToggleEnginePairB(bool on) {
    KESTRUM_CHECK_THREAD(thread_);
    if (!engine_) return false;
    return (on ? engine_->enableSwitchB() : engine_->disableSwitchB()) == 0;
}

bool CKestrumZuvra::EnableH264Interop(bool on) {
    KESTRUM_CHECK_THREAD(thread_);
    return setParametersFormatted(
        "{\"rtc.video.web_h264_interop_enable\":%s,\"che.video.web_h264_interop_enable\":%s}",
        TrueFalse(on), TrueFalse(on));
}

bool CKestrumZuvra::SetLocalViewMirror(bool on) {
    KESTRUM_CHECK_THREAD(thread_);
    return SetParameters(on ? "{\"che.video.localViewMirrorSetting\":\"forceMirror\"}"
                            : "{\"che.video.localViewMirrorSetting\":\"disableMirror\"}");
}

bool CKestrumZuvra::SetParameters(const char* json) {
    if (!json) return false;
    return withParameters(
        [json](IEngineParameters& parameters) { return parameters.setParameters(json); });
}

bool CKestrumZuvra::MuteLocalVideo(bool mute) {
    KESTRUM_CHECK_THREAD(thread_);
    KESTRUM_LOG(Level_Info, "(%d)", mute);
    const char* capture = TrueFalse(!mute);
    return setParametersFormatted(
        "{\"rtc.video.capture\":%s,\"che.video.local.capture\":%s,"
        "\"che.video.local.render\":%s,\"che.video.local.send\":%s}",
        capture, capture, capture, capture);
}

bool CKestrumZuvra::MuteLocalAudio(bool mute) {
    KESTRUM_CHECK_THREAD(thread_);
    KESTRUM_LOG(Level_Info, "(%d)", mute);
    if (!engine_) return false;
    return engine_->enableLocalAudio(mute ? 0 : 1) == 0;
}

bool CKestrumZuvra::EnableAudioVolumeIndication(bool on) {
    KESTRUM_CHECK_THREAD(thread_);
    if (!on) return true;
    char text[kParameterTextChars + 1];
    std::snprintf(text, sizeof text, "{\"interval\":%d,\"smooth\":%d}", kVolumeIntervalMs,
                  kVolumeSmooth);
    return withParameters([&text](IEngineParameters& parameters) {
        return parameters.setObject("che.audio.volume_indication", text);
    });
}

bool CKestrumZuvra::InitDevices() {
    KESTRUM_CHECK_THREAD(thread_);
    const bool cameras = camera_ && camera_->bind(engine_);
    const bool microphones = audio_ && audio_->bind(engine_);
    return cameras && microphones;
}

bool CKestrumZuvra::JoinChannel(const std::string& channel, uint32_t uid,
                                const std::string& token) {
    KESTRUM_CHECK_THREAD(thread_);
    if (!engine_) return false;
    return engine_->joinChannel(token.c_str(), channel.c_str(), "", uid) == 0;
}

bool CKestrumZuvra::LeaveChannel() {
    KESTRUM_CHECK_THREAD(thread_);
    if (!engine_) return false;
    engine_->stopPreview();
    return engine_->leaveChannel() == 0;
}

bool CKestrumZuvra::SetupLocalVideo(HWND window, bool on, int renderMode) {
    KESTRUM_CHECK_THREAD(thread_);
    if (!engine_) return false;
    if (!on) return engine_->stopPreview() == 0;
    engine_->setupLocalVideo(zuvra::rtc::VideoView{window, renderMode, 0, 0});
    return engine_->startPreview() == 0;
}

bool CKestrumZuvra::SetupRemoteVideo(uint32_t uid, HWND window, int renderMode) {
    KESTRUM_CHECK_THREAD(thread_);
    if (!engine_) return false;
    engine_->setupRemoteVideo(zuvra::rtc::VideoView{window, renderMode, uid, 0});
    return true;
}

bool CKestrumZuvra::SetChannelProfile(int profile) {
    KESTRUM_CHECK_THREAD(thread_);
    return engine_ && engine_->setChannelProfile(profile) == 0;
}

bool CKestrumZuvra::SetEngineMode(int role) {
    KESTRUM_CHECK_THREAD(thread_);
    return engine_ && engine_->setClientRole(role) == 0;
}

VideoEncoderConfiguration CKestrumZuvra::VideoQualityRecord(int level) {
    for (const QualityRow& row : kQualityTable) {
        if (row.level == level) return row.record;
    }
    return kDefaultQuality;
}

bool CKestrumZuvra::SetVideoQuality(int level) {
    KESTRUM_CHECK_THREAD(thread_);
    return engine_ && engine_->setVideoEncoderConfiguration(VideoQualityRecord(level)) == 0;
}

bool CKestrumZuvra::SelectConfiguredCamera() {
    KESTRUM_CHECK_THREAD(thread_);
    if (!engine_) return false;
    std::string configured;
    CSingleton<CKestrumConfig>::getInstance()->getCameraID(configured);
    return SelectCameraByName(ZuvraKestrum::Util::Utf8ToCString(configured));
}

bool CKestrumZuvra::SelectCameraByName(const std::wstring& name) {
    KESTRUM_CHECK_THREAD(thread_);
    if (!engine_ || !camera_) return false;
    const int count = camera_->getDeviceCount();
    for (int index = 0; index < count; ++index) {
        std::wstring deviceName, deviceId;
        if (!camera_->getDevice(index, deviceName, deviceId) || deviceName != name) continue;
        camera_->setDevice(deviceId);
        return true;
    }
    return false;
}
