#pragma once

class CKestrumCourse;
class CVideoSourceTransfer;

// What the in-meeting window needs of the program beyond the meeting host: the course bridge
// (the signalling connection and the avatar downloads), the screen-share video source's channel,
// the quality reports and the invitation boxes. The program's window uses
// ProgramLiveServices(); tests build the window over a table of their own (a bridge on the
// library they loaded, recorded reports). Every entry must be set.
//
// Threads: course() is called on the UI thread; the bridge it returns is then also used on the
// window's signalling threads (its own lock covers that).
struct LiveServices {
    // The course bridge; it outlives every in-meeting window.
    CKestrumCourse* (*course)();
    // The screen-share video source leaves its channel (a no-op while nothing is shared).
    void (*leaveShareChannel)();
    // The quality report after the engine joined the channel.
    void (*reportJoinChannel)();
    // The invitation boxes of this meeting go away with it.
    void (*dropInvitationBoxes)();
    // The screen-share video source, made on first use; it outlives every in-meeting window.
    CVideoSourceTransfer* (*videoSource)();
};

// The program's table: the singletons of the course bridge, the video source, the quality
// reporter and the invitation box manager.
const LiveServices& ProgramLiveServices();
