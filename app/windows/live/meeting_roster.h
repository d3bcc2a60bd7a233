#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "kestrum/common/thread_affinity.h"
#include "kestrum/core/kestrum_dump.h"
#include "kestrum/records/user_info_record.h"

// Who is in the meeting, as the in-meeting window sees it, without any window.
//
// Two sources report participants in any order: the signalling channel (participant records,
// keyed by uid text) and the media engine (numeric engine uids, one per camera stream and one per
// screen share). The roster keeps both views and pairs them: an engine uid becomes visible (a tile
// of the strip or the big view) only once a signalling record claims it, as the record's streamId
// or as its shareId (then as a share-stream record named after the owner). Engine users that
// arrive first are parked and replayed when their record arrives.
//
// Every event returns the DECISIONS the window applies, in order (RosterActions). The roster never
// calls a window; it models the tile strip's column itself (tiles()), so the big-view hand-over
// does not have to ask the strip for its first tile.
//
// What it guarantees after every call:
//   - every tile and a remote big view stand for a record of the socket list whose stream is in
//     the media list; no stream has two tiles; the big view is never also a tile;
//   - a record with an empty uid never becomes a record of the lists, a tile, a row or the big
//     view (the service library reads a malformed uid as empty);
//   - the participants (meeting-data mirror and panel rows) never contain share-stream records.
//
// Threads: UI thread only (checked in builds with checks). The window carries results of other
// threads (the avatar download's report) to its own thread before it calls in, so the roster needs
// no lock, and the meeting-data lock is only ever taken by the window, after the roster returned.
// Owned by the in-meeting window, one per meeting.
namespace ZuvraKestrum::Live {

// One decision for the window. Which fields carry meaning depends on kind.
struct RosterAction {
    enum Kind {
        // Participants panel: add a row for record.
        kPanelAdd,
        // Participants panel: remove the row of uid.
        kPanelRemove,
        // Participants panel: rebuild every row from participants(); update the host marks when
        // the meeting data names a host.
        kPanelRebuild,
        // Meeting data: user list := participants(), under the meeting data's lock.
        kMirror,
        // Toast of 3000 ms over the window; text is UTF-8.
        kToast,
        // Post the engine's user-joined message (0x611) to the window with {streamId, elapsed}:
        // a parked engine user whose record has arrived.
        kReplayEngineUser,
        // (Re)start the avatar timer (13) with 1000 ms.
        kStartAvatarTimer,
        // Make the self tile for record (the own user) if there is none, show it, lay out, hide
        // the big view's video window until the first remote frame.
        kOpenSelfTile,
        // Close the self tile's window and forget it.
        kCloseSelfTile,
        // Big view := record (a remote user or a share stream): lay out the overlay and render
        // record.streamId into the big view's video window.
        kBigViewRemote,
        // Big view := record (the own user): lay out the overlay and render the local preview
        // into the big view's video window.
        kBigViewLocal,
        // Show the tile strip (the collapse button's road).
        kShowStrip,
        // Disable the share button: someone else's share is on.
        kDisableShare,
        // Enable the share button: nobody else shares (any more).
        kEnableShare,
        // Tile strip: append a tile for record.
        kStripAdd,
        // Tile strip: remove the tile of streamId.
        kStripRemove,
        // Tile strip: the tile showing record (the new big-view user) shows other (the old one).
        kStripSwitch,
        // Tile strip: re-order and re-lay its column.
        kStripArrange,
    };

    Kind kind;
    UserInfoRecord record;  // kPanelAdd, kOpenSelfTile, kBigView*, kStripAdd, kStripSwitch
    UserInfoRecord other;   // kStripSwitch
    std::string uid;        // kPanelRemove
    int32_t streamId = 0;   // kReplayEngineUser, kStripRemove
    int32_t elapsed = 0;    // kReplayEngineUser
    std::string text;       // kToast (UTF-8)
    // kMirror, kPanelRebuild of a full list that kept every entry at its place (inPlace): only
    // the records at these places of participants() say something new, the others are as the
    // meeting data and the panel were last given them.
    bool inPlace = false;
    std::vector<size_t> places;
};

using RosterActions = std::vector<RosterAction>;

// The places a full list's actions say it changed, when it kept every entry at its place; null
// otherwise. Points into actions.
const std::vector<size_t>* ChangedInPlace(const RosterActions& actions);

// What the avatar timer (13) does on a tick.
struct AvatarTick {
    enum Kind {
        kStopTimer,  // nothing queued: kill the timer
        kWait,       // a download is under way: keep the timer, ask nothing
        kFetch,      // fetch uid's avatar portraitId (the download is now under way)
    };
    Kind kind = kStopTimer;
    std::string uid;
    std::string portraitId;
};

// Where the avatar of portraitId is downloaded to, as the service library takes paths (UTF-8):
// the avatar cache's file of the id (Util::GetPortraitCachePath), the one the rows and bubbles
// look up. Empty when there is nothing to download: the id names no plain file (an id from the
// server never becomes a path of its own), or its file is in the cache already. Any thread;
// creates the cache's folder.
std::string AvatarDownloadTarget(const std::string& portraitId);

// True for the service library's name of the avatar requests ("account/portrait"). A failed
// avatar download shows nothing: the default picture stays. Pure.
bool IsAvatarRequest(const std::string& api);

class MeetingRoster : public CKestrumDump {
public:
    // language: 0 English, 1 Chinese (the toasts and share-stream names). ownStreamId: the own
    // engine uid from the meeting data, which the engine's uid 0 stands for.
    MeetingRoster(int language, int32_t ownStreamId);
    MeetingRoster(const MeetingRoster&) = delete;
    MeetingRoster& operator=(const MeetingRoster&) = delete;

    // --- Signalling ---

    // The own "user-join" (join success): ownUser := own; with no one listed yet the big view is
    // the own user. Adds the own record like any other (no toast, no avatar).
    [[nodiscard]] RosterActions onOwnJoin(const UserInfoRecord& own);
    // Another user's "user-join". A record already listed is dropped (no actions). Otherwise: it
    // is listed and mirrored, its avatar queued, a row added, a parked engine user of its stream
    // or share replayed, and "%s joined" toasted.
    [[nodiscard]] RosterActions onUserJoin(const UserInfoRecord& record);
    // "user-leave": every record of uid goes (camera and share), with its tiles; a big view that
    // showed one of them is handed over. Its engine streams are parked, so that a rejoin shows
    // them again. "%s left" is toasted for anyone but oneself who was listed. The share button
    // follows who still shares: a sharer leaving without ending the share frees it.
    [[nodiscard]] RosterActions onUserLeave(const std::string& uid);
    // The whole list ("user-list", and the list a user operation carries): the socket list :=
    // records (share-stream records of owners still sharing are kept); ownUser := the listed
    // equal record; every avatar queued (only the changed records' when the list kept every
    // entry at its place); mirror and panel rebuilt (in place then). Streams whose records are gone
    // lose their tiles and are parked; parked streams that a record now claims are replayed. The
    // share button follows whether another listed participant shares.
    [[nodiscard]] RosterActions onUserList(std::vector<UserInfoRecord> records);

    // --- Engine ---

    // The engine joined the channel as uid (0: ownStreamId): it enters the media list.
    void onOwnEngineJoin(int32_t uid);
    // A remote engine user (0x611, also the replayed one). The own share stream and a uid already
    // shown are ignored; a uid no record claims is parked (a later elapsed replaces an earlier).
    [[nodiscard]] RosterActions onEngineUserJoined(int32_t uid, int32_t elapsed);
    // An engine user went offline (0x612): its tile goes; a big view that showed it is handed to
    // the first tile, or back to the local preview when only oneself remains. A share's record
    // goes with its stream; a parked uid is forgotten.
    [[nodiscard]] RosterActions onEngineUserOffline(int32_t uid);
    // The per-user menu chose record for the big view (0x522): the two swap places.
    [[nodiscard]] RosterActions onExchangeBig(const UserInfoRecord& record);

    // --- Records that change elsewhere (the mute operations and share results of the window) ---

    // When record is the big-view user, it replaces it (true); else false.
    bool refreshBigViewUser(const UserInfoRecord& record);
    // When record is the own user, it replaces it (true); else false.
    bool refreshOwnUser(const UserInfoRecord& record);
    // The own share stream: ownUser's shareId (-1 when the own share ended).
    void setOwnShareId(int32_t shareId);

    // --- Avatars (timer 13) ---

    // Queues uid's avatar unless uid is queued, uid or portraitId is empty, or portraitId's
    // download failed before in this meeting; the window then (re)starts the timer (the actions
    // of the events above already say so).
    void queuePortraitFetch(const std::string& uid, const std::string& portraitId);
    // One tick of the timer. One download at a time: while one is under way the tick waits.
    [[nodiscard]] AvatarTick onAvatarTick();
    // The avatar the last tick handed out needs no download (its file is cached already, or its
    // id names no file): its entry leaves the queue, so the next tick asks for the next one.
    void onAvatarSkipped();
    // The bridge reported portraitId's file complete. When the download under way is for that
    // id, it ends: its entry leaves the queue and its uid is returned. Any other report (a late
    // one, one of another window's download) leaves the download running and returns empty.
    std::string onAvatarArrived(const std::string& portraitId);
    // A request of the bridge failed; api names it as the service library does. Only a failed
    // avatar download (IsAvatarRequest) ends the download under way, and its entry leaves the
    // queue for good: that portrait id is not asked for again in this meeting, whichever list
    // names it, since the server (or the picture it holds) would fail it again. Returns the uid
    // it was for; empty when nothing ended.
    std::string onRequestFailed(const std::string& api);

    // --- What the window reads ---

    const UserInfoRecord& ownUser() const { return ownUser_; }
    // Default record (empty uid, streamId -1) until someone fills the big view.
    const UserInfoRecord& bigViewUser() const { return bigViewUser_; }
    bool hasSelfTile() const { return selfTile_; }
    // The socket list in order: participants, with share-stream records right in front of their
    // owners.
    const std::vector<UserInfoRecord>& socketList() const { return socketList_; }
    // The socket list without share-stream records: the meeting data's user list and the
    // participants panel's rows. Valid until the roster changes.
    const std::vector<UserInfoRecord>& participants() const;
    // Engine uids in the channel, own uid included, in arrival order.
    const std::vector<int32_t>& mediaList() const { return mediaList_; }
    // Engine uid -> elapsed ms of engine users waiting for their record.
    const std::map<int32_t, int32_t>& parkedEngineUsers() const { return parked_; }
    // The tile strip's column, top to bottom.
    const std::vector<UserInfoRecord>& tiles() const { return tiles_; }
    // uid -> portraitId of avatars still to fetch.
    const std::map<std::string, std::string>& portraitQueue() const { return portraits_; }
    // The engine uid (0: the own one) as its stream id.
    int32_t streamOf(int32_t uid) const { return uid == 0 ? ownStreamId_ : uid; }

private:
    bool inMediaList(int32_t uid) const;
    // The big view's record as the socket list has it now: the big view keeps the copy it was
    // given (a share's is never refreshed), which later lists may have changed. A tile made of it
    // says what its entry says.
    UserInfoRecord listedBigView() const;
    // The record the engine uid stands for (making the share-stream record when it is a share);
    // null when no record claims it. Points into socketList_ until the list changes.
    const UserInfoRecord* claimStream(int32_t uid);
    bool addSocketUser(const UserInfoRecord& record);
    // The two ways a full list becomes the socket list (onUserList): records with its entries at
    // their places, changed the records at these places (true when no share stream changed
    // hands); any other list, arranged first (each participant once, share records kept).
    bool takeChangesInPlace(std::vector<UserInfoRecord>& records,
                            const std::vector<size_t>& changed);
    void takeArrangedList(std::vector<UserInfoRecord>& records);
    // kDisableShare while a listed participant other than oneself shares, else kEnableShare.
    RosterAction shareButton() const;
    // Removes uid from the media list and its tile, handing the big view over; the actions go to
    // out.
    void dropStream(int32_t uid, RosterActions& out);
    // After a new socket list: streams no record claims any more are parked (their tiles go),
    // parked streams a record now claims are replayed. The actions go to out.
    void reconcileStreams(RosterActions& out);
    // Engine uids in the media list other than the own one.
    size_t remoteCount() const;
    void forgetShareRecord(int32_t stream);
    bool hasTile(int32_t streamId) const;
    void removeTile(int32_t streamId, RosterActions& out);
    std::string nameOf(const std::string& uid) const;
    // Ends the download under way: its entry leaves the queue. Its uid; empty when none was.
    std::string endPortraitFetch();
    // The socket list's size after title, then what changed (a record's line, or "[gone]<uid>"):
    // a room of hundreds that comes and goes must not log its whole list each time.
    void logSocketList(const char* title, const std::string& change);

    int language_;
    int32_t ownStreamId_;
    UserInfoRecord ownUser_;
    UserInfoRecord bigViewUser_;
    bool selfTile_ = false;
    std::vector<int32_t> mediaList_;
    std::vector<UserInfoRecord> socketList_;
    mutable std::vector<UserInfoRecord> participants_;  // while a share record is listed
    std::map<int32_t, int32_t> parked_;
    std::vector<UserInfoRecord> tiles_;
    std::map<std::string, std::string> portraits_;
    std::string pendingPortrait_;            // uid whose download is under way; empty when none
    std::set<std::string> failedPortraits_;  // portrait ids whose download failed
    bool portraitPending_ = false;
    kestrum::common::ThreadAffinity thread_;
};

}  // namespace ZuvraKestrum::Live
