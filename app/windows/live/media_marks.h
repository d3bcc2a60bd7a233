#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/windows/live/meeting_roster.h"
#include "kestrum/engine/zuvra_rtc_engine.h"

// The marks the engine's reports put on the meeting's participants: where a signal icon goes
// (the icon itself is the tiles' NetworkIcon), the active speaker's mark and the "is talking, so
// not muted" batch of the participants panel. Pure decisions over a MeetingRoster; the
// in-meeting window applies them. UI thread only, like the roster they read.
namespace ZuvraKestrum::Live {

// Which of the window's places shows the mark of a participant.
enum class MarkPlace {
    kBigView,   // the big view's overlay
    kSelfTile,  // the self tile
    kStrip,     // the tile strip, by stream id (a stream without a tile changes nothing there)
};

// Where the network quality of an engine uid (0: the own one) shows.
MarkPlace NetworkQualityPlace(const MeetingRoster& roster, int32_t uid);

// What the big view shows of its participant, by the status bits the room reports for them.
struct BigViewLook {
    bool video;     // the camera is on: the video window shows over the picture
    bool micMuted;  // the overlay's microphone mark
    // The picture under the video window, as the big view's background image: a person when
    // the participant has neither microphone nor camera on, else a camera that is off; always
    // of the same size in the middle of bigView (client coordinates).
    std::wstring picture;
};
BigViewLook BigViewLookOf(int status, const RECT& bigView);

// Whether the engine's first frame of a remote uid shows the big view's video: it is the big
// view's stream and its camera is on (else the picture stays).
bool FirstFrameShowsBigView(const UserInfoRecord& big, int32_t uid);

struct SpeechMark {
    MarkPlace place;
    int32_t streamId;
    bool speaking;
};

// The active-speaker mark (timer 12, 2000 ms). However often the engine names a speaker, the
// socket list is walked once per tick: the window restarts the timer on each report and asks for
// the marks on each tick, so a mark holds for one period after the last report.
class ActiveSpeakerMark {
public:
    // The engine's active speaker (0: oneself). The window restarts timer 12.
    void onActiveSpeaker(const MeetingRoster& roster, int32_t uid);
    // Timer 12: one mark per shown participant (the big view, the self tile, each tile), speaking
    // for the one the engine last named; then nobody is named until the next report.
    [[nodiscard]] std::vector<SpeechMark> onTick(const MeetingRoster& roster);
    int32_t speaker() const { return speaker_; }

private:
    int32_t speaker_ = 0;  // stream id, 0 none
};

// The streams heard in the engine's volume reports (timer 14, 1500 ms): a report replaces the
// batch, and the batch is applied once the reports have stopped for a period.
class SpeakingBatch {
public:
    // A volume report: the batch := the streams of the entries with a non-zero uid and a
    // non-zero volume, in order. The window restarts timer 14. speakers may be null when count
    // is 0.
    void onVolumeIndication(const zuvra::rtc::AudioVolumeInfo* speakers, uint32_t count);
    // Timer 14: the streams to show as not muted in the participants panel (its update keyed by
    // stream id); the batch empties. The window kills timer 14. Only participants whose
    // microphone the signalling reports on are among them: the room's record of a mute is the
    // participant's real state, and what the engine still hears of a muted participant (a
    // stream that keeps its level, a report that comes late) never shows the row as on again.
    [[nodiscard]] std::vector<int32_t> take(const MeetingRoster& roster);
    const std::vector<int32_t>& streams() const { return streams_; }

private:
    std::vector<int32_t> streams_;
};

}  // namespace ZuvraKestrum::Live
