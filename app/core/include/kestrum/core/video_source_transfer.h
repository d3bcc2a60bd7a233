#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "kestrum/common/singleton.h"
#include "kestrum/common/thread_affinity.h"
#include "kestrum/core/kestrum_dump.h"
#include "kestrum/videosource/video_source.h"

// Screen sharing: a second engine user, the video source library's object, joins the meeting's
// channel with its own uid and token and captures the chosen window. This keeps what the
// in-meeting window decides (channel profile and share parameters from the room information,
// the target from the picker) and drives the source: a join sends profile, parameters, join and
// capture start; a leave stops the capture, leaves and releases the source.
//
// A released source is made again by the next initialize, so a user can share more than once
// per run. Without a source every operation only logs.
//
// Ownership: the program reaches one instance through CSingleton<CVideoSourceTransfer>::
// getInstance, deleted by its holder at exit; tests may build their own. The instance owns the
// source. Threads: UI thread only: the thread that makes the instance (checked in the builds with
// checks).
class CVideoSourceTransfer : public CSingleton<CVideoSourceTransfer>, public CKestrumDump {
public:
    // Makes the source and copies the meeting data's application id.
    CVideoSourceTransfer();
    ~CVideoSourceTransfer() override;

    // Starts a share: makes the source again when an earlier leave released it, and
    // initialises it with the application id; the source's answer (false without a source).
    bool initialize();
    // Kept for the next join; return 0.
    int setChannelProfile(int profile);
    int setParameters(std::vector<std::string> parameters);
    // The picker's choice: the window and two values that frame the captured region. The
    // fixed arguments (5 and 0) are not kept. Returns 0.
    int setShareTarget(HWND window, int fixed5, int first, int second, int fixed0);
    // Joins the source to the channel and starts capturing the target. Returns 0.
    int joinChannel(const std::string& token, const std::string& channel, const char* info,
                    uint32_t uid);
    // Stops the capture, leaves and releases the source. Returns 0.
    int leaveChannel();
    // Stops the capture only.
    void stopShare();

    bool hasSource() const { return source_ != nullptr; }

private:
    void releaseSource();

    IVideoSource* source_ = nullptr;
    int channelProfile_ = 0;
    std::vector<std::string> parameters_;
    HWND shareWindow_ = nullptr;
    int shareFirst_ = 0;
    int shareSecond_ = 0;
    uint32_t uid_ = 0;
    std::string channel_;
    std::string appId_;
    std::string token_;
    kestrum::common::ThreadAffinity thread_;
};
