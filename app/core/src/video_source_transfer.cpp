#include "kestrum/core/video_source_transfer.h"

#include <utility>

#include "kestrum/core/kestrum_data.h"

namespace {

constexpr int kCaptureFps = 5;
constexpr int kCaptureBitrate = 1000;

}  // namespace

CVideoSourceTransfer::CVideoSourceTransfer()
    : CKestrumDump("CVideoSourceTransfer", true, false, true, L"") {
    KESTRUM_LOG(Level_Info, "");
    source_ = zuvraCreateVideoSource();
    if (g_kestrumData) appId_ = g_kestrumData->appId;
}

CVideoSourceTransfer::~CVideoSourceTransfer() { leaveChannel(); }

bool CVideoSourceTransfer::initialize() {
    KESTRUM_CHECK_THREAD(thread_);
    if (!source_) source_ = zuvraCreateVideoSource();
    return source_ && source_->initialize(appId_.c_str());
}

int CVideoSourceTransfer::setChannelProfile(int profile) {
    KESTRUM_CHECK_THREAD(thread_);
    channelProfile_ = profile;
    return 0;
}

int CVideoSourceTransfer::setParameters(std::vector<std::string> parameters) {
    KESTRUM_CHECK_THREAD(thread_);
    parameters_ = std::move(parameters);
    return 0;
}

int CVideoSourceTransfer::setShareTarget(HWND window, int, int first, int second, int) {
    KESTRUM_CHECK_THREAD(thread_);
    shareWindow_ = window;
    shareFirst_ = first;
    shareSecond_ = second;
    return 0;
}

int CVideoSourceTransfer::joinChannel(const std::string& token, const std::string& channel,
                                      const char* info, uint32_t uid) {
    KESTRUM_CHECK_THREAD(thread_);
    KESTRUM_LOG(Level_Info, "(%s,%d (%d,%d))", channel.c_str(), static_cast<int>(uid), shareFirst_,
                shareSecond_);
    channel_ = channel;
    uid_ = uid;
    token_ = token;
    if (!source_) return 0;
    source_->setChannelProfile(channelProfile_);
    for (const std::string& text : parameters_) source_->setParameters(text.c_str());
    source_->joinChannel(token_.c_str(), channel_.c_str(), info ? info : "", uid_);
    source_->startCapture(shareWindow_, kCaptureFps, CaptureRegion{0, 0, shareSecond_, shareFirst_},
                          kCaptureBitrate);
    return 0;
}

int CVideoSourceTransfer::leaveChannel() {
    KESTRUM_CHECK_THREAD(thread_);
    KESTRUM_LOG(Level_Info, "()");
    releaseSource();
    return 0;
}

void CVideoSourceTransfer::stopShare() {
    KESTRUM_CHECK_THREAD(thread_);
    if (source_) source_->stopCapture();
}

void CVideoSourceTransfer::releaseSource() {
    if (!source_) return;
    source_->stopCapture();
    source_->leaveChannel();
    source_->release();
    source_ = nullptr;
}
