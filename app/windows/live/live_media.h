#pragma once

#include <windows.h>

#include <memory>

#include "app/windows/live/live_layout.h"
#include "app/windows/live/media_marks.h"
#include "app/windows/live/meeting_events.h"
#include "app/windows/skeleton/dui_frame_window.h"
#include "app/windows/skeleton/soon_timer.h"
#include "app/windows/skeleton/video_surface.h"
#include "app/windows/skeleton/window_messages.h"
#include "duilib/option_ui.h"
#include "kestrum/core/course_messages.h"
#include "kestrum/core/engine_messages.h"
#include "kestrum/core/kestrum_dump.h"
#include "kestrum/core/meeting_timers.h"
#include "kestrum/records/room_info_record.h"

class CKestrumData;
class IMeetingHost;
class CDuiRemoteToolBar;
class CDuiRemoteItem;
class CDuiUserList;
class CDuiScreenShare;

// The in-meeting window's media part: the engine (its set-up, the channel's join and the
// engine's events), the big view (the video window the engine draws into, its overlay of name,
// microphone, speaker, signal and host marks, the picture under the video) and the share of a
// screen (the picker, the share stream's channel, the stop sent again until the server reports
// it). The decisions are the roster's, the media marks' and the meeting events'; this part
// applies them to the big view, the engine and the window's panels.
//
// Threads: the window's UI thread only, like the window that owns it.
//
// Ownership: a member of its window, which it outlives by nothing: the video window is a child
// of the window and goes with it, the picker (a window of its own, deleting itself with its
// window) is closed by leave() or closePicker(). The window's frame keeps the engine's receiver,
// which posts the engine's events to the window, and undoes it as the window goes.
//
// Event handlers run only while the frame accepts events, unless their row in the window's table
// says otherwise (the channel's leave, the picker's answer); timers stop themselves once the
// frame no longer accepts events.
class CLiveMedia : public CKestrumDump {
public:
    // What the media part asks of the window that owns it. The window's thread.
    class Delegate {
    public:
        // The meeting's participants: who is in the big view, on the strip or in the self tile.
        virtual ZuvraKestrum::Live::MeetingRoster& meetingRoster() = 0;
        // Applies the roster's decisions about an engine user who came or went.
        virtual void applyRoster(const ZuvraKestrum::Live::RosterActions& actions) = 0;
        // The window's places as last laid out, and where the video goes now (the whole client
        // area while the bars are hidden).
        virtual const ZuvraKestrum::Live::LiveLayout& layout() const = 0;
        virtual RECT videoPlace() const = 0;
        // The window's panels that show marks, each null while it is not there.
        virtual CDuiRemoteToolBar* tileStrip() const = 0;
        virtual CDuiUserList* participantsPanel() const = 0;
        virtual CDuiRemoteItem* selfTile() const = 0;
        // The engine joined the channel: the own devices follow the room's record of them.
        virtual void onChannelJoined() = 0;
        // The picker closed without a choice: the share toggle goes off again.
        virtual void onShareCancelled() = 0;
        // The mouse moved over the video window, which takes the window's mouse moves there.
        virtual void onVideoMouseMove() = 0;

    protected:
        ~Delegate() = default;
    };

    // The big view's controls, bound by the window (none null).
    struct BigViewControls {
        DuiLib::CControlUI* view;  // "ncclientwnd", which shows the picture under the video
        DuiLib::CControlUI* name;
        DuiLib::COptionUI* micMute;
        DuiLib::COptionUI* speech;
        DuiLib::CControlUI* signal;
        DuiLib::CControlUI* hostMark;
    };

    // Timers of the media part, on the window (ids from its table, meeting_timers.h).
    static constexpr UINT_PTR kSpeakerTimer = ZuvraKestrum::MeetingTimers::kSpeakerTimer;
    static constexpr UINT_PTR kVolumeTimer = ZuvraKestrum::MeetingTimers::kVolumeTimer;
    static constexpr UINT kSpeakerPeriodMs = 2000;
    static constexpr UINT kVolumePeriodMs = 1500;
    static constexpr UINT_PTR kShareRestopTimer = ZuvraKestrum::MeetingTimers::kShareRestopTimer;
    static constexpr UINT kShareRestopMs = 10000;
    // The big view shows its participant once the messages queued now are handled.
    static constexpr UINT_PTR kBigViewTimer = ZuvraKestrum::MeetingTimers::kBigViewTimer;

    // frame, host, meeting (the host's meeting data) and delegate outlive the media part (the
    // frame and the delegate are its window).
    CLiveMedia(CDuiFrameWindow& frame, IMeetingHost& host, CKestrumData& meeting,
               Delegate& delegate)
        : CKestrumDump("CLiveMedia", true, false, false, L""),
          frame_(frame),
          host_(host),
          meeting_(meeting),
          delegate_(delegate) {}

    // Set-up, once the window receives the engine's events (a registration its frame keeps): the
    // video window over the big view, not visible until the big view has video; then the
    // engine's devices and marks, the own devices muted as given.
    void createVideoWindow(const BigViewControls& controls);
    void setUpEngine(bool audioMuted, bool videoMuted);
    // The room's engine configuration; the channel is joined once, and only when the room names
    // a channel profile. The share stream's source takes the same profile and its own parameters.
    void joinEngineChannel(const RoomInfoRecord& room);

    // The roster's big-view user in the big view: its overlay, its video window and the self
    // tile's place. Soon: once the messages queued now are handled, so that a burst of
    // hand-overs binds one.
    void showBigView();
    void showBigViewSoon();
    void showNoVideoPicture();
    void showHostMark();

    // The share toggle's click, with the toggle as it was before it: off opens the picker (the
    // share starts from there), on stops the share at once.
    void onShareClicked(bool sharing);
    // The room learns of the share's end, and the video source stops capturing; the stop is sent
    // again (ZuvraKestrum::Live::ShareStop) until endShareStop.
    void stopSharing();
    // The room forgot the share going on (a new connection to the signalling): it is announced
    // again as at its start, and the answer's new share stream captures the same window.
    void announceShareAgain();
    void endShareStop();
    void closePicker();
    // The window leaves: the share's stop is not sent again and the picker closes.
    void leave();

    // The window's rows.
    void OnMediaJoinChannelSuccess(
        std::unique_ptr<PayloadOf<WM_ENGINE_JOIN_CHANNEL_SUCCESS>> joined);
    void OnMediaLeaveChannel(std::unique_ptr<PayloadOf<WM_ENGINE_LEAVE_CHANNEL>> stats);
    void OnMediaNetworkQuality(std::unique_ptr<PayloadOf<WM_ENGINE_NETWORK_QUALITY>> quality);
    void OnMediaUserJoined(std::unique_ptr<PayloadOf<WM_ENGINE_USER_JOINED>> user);
    void OnMediaUserLeave(std::unique_ptr<PayloadOf<WM_ENGINE_USER_OFFLINE>> user);
    void OnMediaFirstLocalVideoFrame(
        std::unique_ptr<PayloadOf<WM_ENGINE_FIRST_LOCAL_VIDEO_FRAME>> frame);
    void OnMediaFirstRemoteVideoFrame(
        std::unique_ptr<PayloadOf<WM_ENGINE_FIRST_REMOTE_VIDEO_FRAME>> frame);
    void OnMediaAudioVolumeIndication(
        std::unique_ptr<PayloadOf<WM_ENGINE_AUDIO_VOLUME_INDICATION>> volumes);
    void OnMediaEnableVideo(std::unique_ptr<PayloadOf<WM_ENGINE_USER_ENABLE_VIDEO>> flag);
    void OnMediaEnableLocalVideo(
        std::unique_ptr<PayloadOf<WM_ENGINE_USER_ENABLE_LOCAL_VIDEO>> flag);
    void OnMediaActiveSpeaker(std::unique_ptr<PayloadOf<WM_ENGINE_ACTIVE_SPEAKER>> speaker);
    void OnMediaMuteAudio(std::unique_ptr<PayloadOf<WM_ENGINE_USER_MUTE_AUDIO>> flag);
    void OnMediaMuteVideo(std::unique_ptr<PayloadOf<WM_ENGINE_USER_MUTE_VIDEO>> flag);
    // The room-control result of a share or its end: the share stream's id and token.
    void OnMeetingRoomCtrl(std::unique_ptr<PayloadOf<WM_ROOM_CTRL>> result);
    // The picker's end: a chosen source is what the video source captures (the room-control
    // result then joins it); closed without a choice, the toggle goes off again.
    void OnScreenShareChosen(std::unique_ptr<ScreenShareChosen> chosen);
    // The window's timer rows.
    void OnBigViewTimer();
    void OnSpeakerTimer();
    void OnVolumeTimer();
    void OnShareRestopTimer();

    // Tests shorten the period of the share's stop.
    void setShareRestopMs(UINT ms) { shareRestopMs_ = ms; }

    // What tests read.
    const CVideoSurface& video() const { return video_; }
    bool engineJoined() const { return joined_; }
    CDuiScreenShare* sharePicker() const { return screenShare_; }
    bool stopShareRequested() const { return shareStop_.waiting(); }

private:
    static LRESULT CALLBACK VideoWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND window() const { return frame_.GetHWND(); }
    void SetBigViewSignal(int level);

    CDuiFrameWindow& frame_;
    IMeetingHost& host_;
    CKestrumData& meeting_;
    Delegate& delegate_;
    BigViewControls controls_{};
    CVideoSurface video_;  // the big view's video, below the panels
    ZuvraKestrum::Live::ActiveSpeakerMark speakerMark_;
    ZuvraKestrum::Live::SpeakingBatch speakingBatch_;
    bool joinAsked_ = false;  // the engine was asked to join the channel (once per window)
    bool joined_ = false;
    CSoonTimer bigViewSoon_{kBigViewTimer};
    std::wstring noVideoPicture_;             // the big view's background as last set
    CDuiScreenShare* screenShare_ = nullptr;  // the picker while it is open
    ZuvraKestrum::Live::ShareStop shareStop_;
    UINT shareRestopMs_ = kShareRestopMs;
};
