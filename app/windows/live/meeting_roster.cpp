#include "app/windows/live/meeting_roster.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string_view>
#include <utility>

#include "kestrum/common/utf.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/util_path.h"

namespace ZuvraKestrum::Live {

namespace {

// The texts take the participant's name where "%s" stands; names are UTF-8, like the texts.
std::string WithName(const char* pattern, const std::string& name) {
    std::string text(pattern);
    const size_t at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, name);
    return text;
}

// The service library's name of the avatar requests; the meeting only ever downloads.
constexpr char kPortraitApi[] = "account/portrait";

const char* JoinedText(int language) { return language ? "%s 进入了房间" : "%s joined"; }
const char* LeftText(int language) { return language ? "%s 离开了房间" : "%s left"; }
const char* ShareStreamText(int language) {
    return language ? "%s的课件流" : "%s's ShareScreen Stream.";
}

RosterAction Action(RosterAction::Kind kind) {
    RosterAction action{};
    action.kind = kind;
    return action;
}

RosterAction RecordAction(RosterAction::Kind kind, const UserInfoRecord& record) {
    RosterAction action = Action(kind);
    action.record = record;
    return action;
}

RosterAction StreamAction(RosterAction::Kind kind, int32_t streamId, int32_t elapsed = 0) {
    RosterAction action = Action(kind);
    action.streamId = streamId;
    action.elapsed = elapsed;
    return action;
}

RosterAction ListAction(RosterAction::Kind kind, bool inPlace, const std::vector<size_t>& changed) {
    RosterAction action = Action(kind);
    action.inPlace = inPlace;
    if (inPlace) action.places = changed;
    return action;
}

bool IsListed(const UserInfoRecord& record) { return record.uid[0] != '\0'; }

// Where the records of a list stand by entry (UserInfoRecord's equality: uid text, stream, share
// flag), found by a binary search over their sorted hashes, without a heap block per record. It
// answers for its list, or for a list with the same entries at the same places (a swapped one).
class EntryPlaces {
public:
    static constexpr size_t kNone = static_cast<size_t>(-1);

    explicit EntryPlaces(const std::vector<UserInfoRecord>& records) {
        byHash_.reserve(records.size());
        for (size_t i = 0; i < records.size(); ++i) byHash_.push_back({HashOf(records[i]), i});
        std::sort(byHash_.begin(), byHash_.end());
    }

    // The first place of record's entry in records; kNone when no record there has it.
    size_t first(const UserInfoRecord& record, const std::vector<UserInfoRecord>& records) const {
        const size_t hash = HashOf(record);
        for (auto at = std::lower_bound(byHash_.begin(), byHash_.end(), Place{hash, 0});
             at != byHash_.end() && at->hash == hash; ++at) {
            if (records[at->index] == record) return at->index;
        }
        return kNone;
    }

private:
    struct Place {
        size_t hash;
        size_t index;
        bool operator<(const Place& other) const {
            return hash != other.hash ? hash < other.hash : index < other.index;
        }
    };

    static size_t HashOf(const UserInfoRecord& record) {
        return std::hash<std::string_view>()(record.uid) ^
               (static_cast<size_t>(static_cast<uint32_t>(record.streamId)) << 1) ^
               record.isShareStream;
    }

    std::vector<Place> byHash_;
};

// Keeps each participant's entry once, as first listed, and no share entry (the roster makes
// those, from their owners); false when records stayed as they were.
bool KeepListedOnce(std::vector<UserInfoRecord>& records, const EntryPlaces& places) {
    // Places answer for the list as it came: every record is judged before any moves.
    std::vector<char> keep(records.size());
    size_t kept = 0;
    for (size_t i = 0; i < records.size(); ++i) {
        const UserInfoRecord& record = records[i];
        keep[i] = IsListed(record) && !record.isShareStream && places.first(record, records) == i;
        kept += keep[i];
    }
    if (kept == records.size()) return false;
    size_t to = 0;
    for (size_t i = 0; i < records.size(); ++i) {
        if (!keep[i]) continue;
        if (to != i) records[to] = records[i];
        ++to;
    }
    records.resize(kept);
    return true;
}

// The record of owner's share stream: it always carries video, whether the owner's camera is on
// or not.
UserInfoRecord ShareRecordOf(const UserInfoRecord& owner, int32_t stream, const char* name) {
    UserInfoRecord share = owner;
    CopyRecordText(share.name, name);
    share.streamId = stream;
    share.isShareStream = 1;
    share.status &= ~kStatusCameraOff;
    return share;
}

void AppendLogLine(std::string& text, const UserInfoRecord& record) {
    char line[kRecordTextSize * 2 + 64];
    std::snprintf(line, sizeof(line), "[uid]%s,[stream]%d,[name]%s,[feature]%d,[status]%d\n",
                  record.uid, record.streamId, record.name, record.feature, record.status);
    text += line;
}

// A list as the server sent it becomes the socket list to be: each participant once, share
// records kept from socketList in front of their owners; true when records moved (places, made
// of the list as sent, no longer answer for it).
bool ArrangeList(std::vector<UserInfoRecord>& records, const EntryPlaces& places,
                 const std::vector<UserInfoRecord>& socketList) {
    bool moved = KeepListedOnce(records, places);
    // A share the server still reports keeps its record, in front of its owner.
    for (const UserInfoRecord& share : socketList) {
        if (!share.isShareStream) continue;
        for (auto owner = records.begin(); owner != records.end(); ++owner) {
            if (!owner->isShareStream && share.uid == std::string(owner->uid) &&
                owner->shareId == share.streamId) {
                records.insert(owner, ShareRecordOf(*owner, share.streamId, share.name));
                moved = true;
                break;
            }
        }
    }
    return moved;
}

// A record's fields lie a kilobyte apart, too far for the processor to guess the next ones: a
// walk over a long list asks for those of the records a few places ahead.
constexpr size_t kReadAhead = 4;
void ReadSoon(const UserInfoRecord& record) {
    __builtin_prefetch(record.uid);
    __builtin_prefetch(record.name);
    __builtin_prefetch(record.portraitId);
    __builtin_prefetch(record.account);
    __builtin_prefetch(&record.status);
}

// Whether records has socketList's entries at their places, none of them a share's (so that the
// places are the participants' too); changed then holds the places whose record says something
// new there. Records that changed nothing are looked at once, here.
bool SameEntries(const std::vector<UserInfoRecord>& socketList,
                 const std::vector<UserInfoRecord>& records, std::vector<size_t>& changed) {
    if (records.size() != socketList.size()) return false;
    for (size_t i = 0; i < records.size(); ++i) {
        if (i + kReadAhead < records.size()) {
            ReadSoon(records[i + kReadAhead]);
            ReadSoon(socketList[i + kReadAhead]);
        }
        if (records[i].isShareStream || records[i] != socketList[i]) return false;
        if (!SameRecord(records[i], socketList[i])) changed.push_back(i);
    }
    return true;
}

// What a full list (records, places: its own) changes in the socket list: a line for each entry
// that is new or says something new, "[gone]<uid>" for each that went.
std::string ListChanges(const std::vector<UserInfoRecord>& socketList,
                        const std::vector<UserInfoRecord>& records, const EntryPlaces& places) {
    std::string text;
    const EntryPlaces before(socketList);
    size_t kept = 0;
    for (const UserInfoRecord& record : records) {
        const size_t at = before.first(record, socketList);
        kept += at != EntryPlaces::kNone;
        if (at == EntryPlaces::kNone || !SameRecord(socketList[at], record)) {
            AppendLogLine(text, record);
        }
    }
    // The socket list holds each entry once: when all of them are kept, none went.
    for (size_t i = 0; kept < socketList.size() && i < socketList.size(); ++i) {
        if (places.first(socketList[i], records) == EntryPlaces::kNone)
            text += std::string("[gone]") + socketList[i].uid + "\n";
    }
    return text;
}

}  // namespace

const std::vector<size_t>* ChangedInPlace(const RosterActions& actions) {
    for (const RosterAction& action : actions) {
        if (action.inPlace) return &action.places;
    }
    return nullptr;
}

MeetingRoster::MeetingRoster(int language, int32_t ownStreamId)
    : CKestrumDump("MeetingRoster", true, false, false, L""),
      language_(language),
      ownStreamId_(ownStreamId) {}

RosterActions MeetingRoster::onOwnJoin(const UserInfoRecord& own) {
    KESTRUM_CHECK_THREAD(thread_);
    KESTRUM_LOG(Level_Info, "(%s)", own.uid);
    if (!IsListed(own)) return {};
    ownUser_ = own;
    if (socketList_.empty()) bigViewUser_ = ownUser_;
    if (!addSocketUser(own)) return {};
    return {Action(RosterAction::kMirror), RecordAction(RosterAction::kPanelAdd, own)};
}

RosterActions MeetingRoster::onUserJoin(const UserInfoRecord& record) {
    KESTRUM_CHECK_THREAD(thread_);
    KESTRUM_LOG(Level_Info, "(%s,%s,%d)", record.uid, record.name, record.streamId);
    if (!IsListed(record)) return {};
    if (!addSocketUser(record)) {
        KESTRUM_LOG(Level_Info, "(%s,%s,%d) repeated", record.uid, record.name, record.streamId);
        return {};
    }
    RosterActions out{Action(RosterAction::kMirror)};
    queuePortraitFetch(record.uid, record.portraitId);
    out.push_back(Action(RosterAction::kStartAvatarTimer));
    out.push_back(RecordAction(RosterAction::kPanelAdd, record));
    // Its camera and its share may both have reached the engine first.
    for (int32_t stream : {record.streamId, record.shareId}) {
        auto parked = parked_.find(stream);
        if (stream <= 0 || parked == parked_.end()) continue;
        KESTRUM_LOG(Level_Info, " Post MediaUserJoin: %d ", stream);
        out.push_back(StreamAction(RosterAction::kReplayEngineUser, stream, parked->second));
        parked_.erase(parked);
    }
    RosterAction toast = Action(RosterAction::kToast);
    toast.text = WithName(JoinedText(language_), record.name);
    out.push_back(std::move(toast));
    return out;
}

RosterActions MeetingRoster::onUserLeave(const std::string& uid) {
    KESTRUM_CHECK_THREAD(thread_);
    KESTRUM_LOG(Level_Info, "(%s)", uid.c_str());
    if (uid.empty()) return {};
    std::vector<int32_t> streams;
    for (const UserInfoRecord& record : socketList_) {
        if (uid == record.uid) streams.push_back(record.streamId);
    }
    if (streams.empty()) return {};

    RosterActions out;
    const bool own = uid == ownUser_.uid;
    if (!own) {
        RosterAction toast = Action(RosterAction::kToast);
        toast.text = WithName(LeftText(language_), nameOf(uid));
        out.push_back(std::move(toast));
        // All of the leaver's tiles go first, so that the big view is never handed to another
        // stream of the leaver. Its streams wait for a rejoin.
        for (int32_t stream : streams) removeTile(stream, out);
        for (int32_t stream : streams) {
            if (!inMediaList(stream)) continue;
            dropStream(stream, out);
            parked_[stream] = 0;
        }
    }
    socketList_.erase(std::remove_if(socketList_.begin(), socketList_.end(),
                                     [&](const UserInfoRecord& r) { return uid == r.uid; }),
                      socketList_.end());
    logSocketList("Remove SocketList: ", "[gone]" + uid + "\n");
    out.push_back(Action(RosterAction::kMirror));
    RosterAction row = Action(RosterAction::kPanelRemove);
    row.uid = uid;
    out.push_back(std::move(row));
    out.push_back(shareButton());
    return out;
}

// The room's every change comes with a list of the whole room (a mute, a share, a reconnect): no
// step here walks the list once per participant, and the log names what changed.
RosterActions MeetingRoster::onUserList(std::vector<UserInfoRecord> records) {
    KESTRUM_CHECK_THREAD(thread_);
    // Mostly the same entries as last time, in the same order, a status or two changed.
    std::vector<size_t> changed;
    const bool inPlace = SameEntries(socketList_, records, changed);
    bool sameStreams = false;
    if (inPlace) {
        sameStreams = takeChangesInPlace(records, changed);
    } else {
        takeArrangedList(records);
    }
    RosterActions out{ListAction(RosterAction::kMirror, inPlace, changed),
                      ListAction(RosterAction::kPanelRebuild, inPlace, changed), shareButton()};
    for (const UserInfoRecord& record : socketList_) {
        if (record == ownUser_) ownUser_ = record;
    }
    // The avatars of a list kept in place were asked for when their records came, but those of
    // its changed records.
    const auto queueAvatar = [this](const UserInfoRecord& record) {
        if (!record.isShareStream) queuePortraitFetch(record.uid, record.portraitId);
    };
    if (inPlace) {
        for (size_t at : changed) queueAvatar(socketList_[at]);
    } else {
        std::for_each(socketList_.begin(), socketList_.end(), queueAvatar);
    }
    out.push_back(Action(RosterAction::kStartAvatarTimer));
    // The same streams claimed by the same records: nothing to park or replay.
    if (!sameStreams) reconcileStreams(out);
    return out;
}

// Records with the socket list's entries at their places: only the changed ones are written,
// logged and shown by their tiles. True when every record still claims the same share stream.
bool MeetingRoster::takeChangesInPlace(std::vector<UserInfoRecord>& records,
                                       const std::vector<size_t>& changed) {
    std::string text;
    bool sameShares = true;
    std::vector<std::pair<int32_t, size_t>> byStream;
    byStream.reserve(changed.size());
    for (size_t at : changed) {
        AppendLogLine(text, records[at]);
        sameShares = sameShares && records[at].shareId == socketList_[at].shareId;
        byStream.emplace_back(records[at].streamId, at);
    }
    socketList_.swap(records);
    logSocketList("Init SocketList: ", text);
    // A tile is a copy of its entry: only the entries that changed have news for it.
    std::sort(byStream.begin(), byStream.end());
    for (UserInfoRecord& tile : tiles_) {
        auto at = std::lower_bound(byStream.begin(), byStream.end(),
                                   std::make_pair(tile.streamId, size_t{0}));
        for (; at != byStream.end() && at->first == tile.streamId; ++at) {
            if (socketList_[at->second] != tile) continue;
            tile = socketList_[at->second];
            break;
        }
    }
    return sameShares;
}

// Any other list: each participant once, share records kept, tiles following their entries.
void MeetingRoster::takeArrangedList(std::vector<UserInfoRecord>& records) {
    EntryPlaces places(records);
    if (ArrangeList(records, places, socketList_)) places = EntryPlaces(records);
    const std::string text = ListChanges(socketList_, records, places);
    socketList_.swap(records);
    logSocketList("Init SocketList: ", text);
    for (UserInfoRecord& tile : tiles_) {
        const size_t at = places.first(tile, socketList_);
        if (at != EntryPlaces::kNone && !SameRecord(tile, socketList_[at])) tile = socketList_[at];
    }
}

// Streams shown for records the socket list no longer has wait for them again; streams waiting
// for a record the list now has come back.
void MeetingRoster::reconcileStreams(RosterActions& out) {
    std::vector<int32_t> claimed;
    claimed.reserve(2 * socketList_.size());
    for (const UserInfoRecord& record : socketList_) {
        claimed.push_back(record.streamId);
        if (!record.isShareStream) claimed.push_back(record.shareId);
    }
    std::sort(claimed.begin(), claimed.end());
    const auto isClaimed = [&claimed](int32_t stream) {
        return std::binary_search(claimed.begin(), claimed.end(), stream);
    };
    const std::vector<int32_t> media = mediaList_;
    for (int32_t stream : media) {
        if (stream == ownStreamId_ || stream == ownUser_.streamId || isClaimed(stream)) continue;
        dropStream(stream, out);
        parked_[stream] = 0;
    }
    for (auto parked = parked_.begin(); parked != parked_.end();) {
        if (!isClaimed(parked->first)) {
            ++parked;
            continue;
        }
        out.push_back(StreamAction(RosterAction::kReplayEngineUser, parked->first, parked->second));
        parked = parked_.erase(parked);
    }
}

void MeetingRoster::onOwnEngineJoin(int32_t uid) {
    KESTRUM_CHECK_THREAD(thread_);
    const int32_t stream = streamOf(uid);
    if (!inMediaList(stream)) mediaList_.push_back(stream);
    KESTRUM_LOG(Level_Debug, "(%d) media users: %u", stream,
                static_cast<unsigned>(mediaList_.size()));
}

RosterActions MeetingRoster::onEngineUserJoined(int32_t uid, int32_t elapsed) {
    KESTRUM_CHECK_THREAD(thread_);
    KESTRUM_LOG(Level_Info, "(%d,%d)", uid, elapsed);
    const int32_t stream = streamOf(uid);
    // Oneself is the local preview and the self tile, never a remote view; the own share is what
    // the others see.
    if (stream == ownStreamId_ || (ownUser_.shareId > 0 && stream == ownUser_.shareId)) return {};
    if (inMediaList(stream)) return {};
    const UserInfoRecord* claimed = claimStream(stream);
    if (!claimed) {
        KESTRUM_LOG(Level_Info, " Reconnected  Saved MediaUserJoin: %d ", stream);
        parked_[stream] = elapsed;
        return {};
    }
    const UserInfoRecord record = *claimed;
    if (IsListed(ownUser_) && ownUser_.uid == std::string(record.uid)) {
        forgetShareRecord(stream);
        return {};
    }
    parked_.erase(stream);
    mediaList_.push_back(stream);
    KESTRUM_LOG(Level_Debug, " media users: %u", static_cast<unsigned>(mediaList_.size()));

    RosterActions out;
    if (remoteCount() == 1) {
        // The first remote participant next to oneself takes the big view; oneself moves to the
        // self tile.
        if (!selfTile_) {
            selfTile_ = true;
            out.push_back(RecordAction(RosterAction::kOpenSelfTile, ownUser_));
        }
        if (record.isShareStream) out.push_back(Action(RosterAction::kDisableShare));
        bigViewUser_ = record;
        out.push_back(RecordAction(RosterAction::kBigViewRemote, record));
        return out;
    }
    out.push_back(Action(RosterAction::kShowStrip));
    if (!record.isShareStream) {
        tiles_.push_back(record);
        out.push_back(RecordAction(RosterAction::kStripAdd, record));
        return out;
    }
    // A share takes the big view (only one share at a time); whoever had it moves aside.
    out.push_back(Action(RosterAction::kDisableShare));
    const UserInfoRecord old = listedBigView();
    if (IsListed(old) && old == ownUser_) {
        if (!selfTile_) {
            selfTile_ = true;
            out.push_back(RecordAction(RosterAction::kOpenSelfTile, ownUser_));
        }
    } else if (IsListed(old) && inMediaList(old.streamId) && !hasTile(old.streamId)) {
        tiles_.push_back(old);
        out.push_back(RecordAction(RosterAction::kStripAdd, old));
    }
    bigViewUser_ = record;
    out.push_back(RecordAction(RosterAction::kBigViewRemote, record));
    return out;
}

RosterActions MeetingRoster::onEngineUserOffline(int32_t uid) {
    KESTRUM_CHECK_THREAD(thread_);
    KESTRUM_LOG(Level_Info, "(%d)", uid);
    const int32_t stream = streamOf(uid);
    parked_.erase(stream);
    RosterActions out;
    dropStream(stream, out);
    // A share's record lives only as long as its stream.
    forgetShareRecord(stream);
    return out;
}

RosterActions MeetingRoster::onExchangeBig(const UserInfoRecord& record) {
    KESTRUM_CHECK_THREAD(thread_);
    KESTRUM_LOG(Level_Info, "(%s,%d)", record.uid, record.streamId);
    auto tile = std::find(tiles_.begin(), tiles_.end(), record);
    if (!IsListed(record) || record == bigViewUser_ || tile == tiles_.end()) {
        return {Action(RosterAction::kStripArrange)};
    }
    RosterActions out;
    const UserInfoRecord old = listedBigView();
    bigViewUser_ = record;
    out.push_back(RecordAction(RosterAction::kBigViewRemote, record));
    if (IsListed(old) && old != ownUser_ && inMediaList(old.streamId)) {
        *tile = old;
        RosterAction swap = RecordAction(RosterAction::kStripSwitch, record);
        swap.other = old;
        out.push_back(std::move(swap));
    } else {
        // Oneself never becomes a tile: the self tile shows the own video instead.
        tiles_.erase(tile);
        out.push_back(StreamAction(RosterAction::kStripRemove, record.streamId));
        if (!selfTile_) {
            selfTile_ = true;
            out.push_back(RecordAction(RosterAction::kOpenSelfTile, ownUser_));
        }
    }
    out.push_back(Action(RosterAction::kStripArrange));
    return out;
}

bool MeetingRoster::refreshBigViewUser(const UserInfoRecord& record) {
    KESTRUM_CHECK_THREAD(thread_);
    // The numbers first: the window asks this of every record of every list.
    if (record != bigViewUser_ || !IsListed(record)) return false;
    bigViewUser_ = record;
    return true;
}

bool MeetingRoster::refreshOwnUser(const UserInfoRecord& record) {
    KESTRUM_CHECK_THREAD(thread_);
    if (record != ownUser_ || !IsListed(record)) return false;
    ownUser_ = record;
    return true;
}

void MeetingRoster::setOwnShareId(int32_t shareId) {
    KESTRUM_CHECK_THREAD(thread_);
    ownUser_.shareId = shareId;
}

void MeetingRoster::queuePortraitFetch(const std::string& uid, const std::string& portraitId) {
    KESTRUM_CHECK_THREAD(thread_);
    if (uid.empty() || portraitId.empty() || failedPortraits_.count(portraitId)) return;
    portraits_.try_emplace(uid, portraitId);
}

AvatarTick MeetingRoster::onAvatarTick() {
    KESTRUM_CHECK_THREAD(thread_);
    AvatarTick tick;
    if (portraitPending_) {
        tick.kind = AvatarTick::kWait;
        return tick;
    }
    if (portraits_.empty()) return tick;
    const auto& first = *portraits_.begin();
    tick.kind = AvatarTick::kFetch;
    tick.uid = first.first;
    tick.portraitId = first.second;
    portraitPending_ = true;
    pendingPortrait_ = first.first;
    KESTRUM_LOG(Level_Info, " getPhoto uid: %s,protraId:%s ", tick.uid.c_str(),
                tick.portraitId.c_str());
    return tick;
}

std::string AvatarDownloadTarget(const std::string& portraitId) {
    const std::wstring file = Util::GetPortraitCachePath(portraitId);
    // The look-up gives the cache's file once it exists there.
    if (file.empty() || Util::GetPortraitPath(portraitId) == file) return {};
    return kestrum::common::WideToUtf8(file);
}

void MeetingRoster::onAvatarSkipped() {
    KESTRUM_CHECK_THREAD(thread_);
    static_cast<void>(endPortraitFetch());
}

std::string MeetingRoster::onAvatarArrived(const std::string& portraitId) {
    KESTRUM_CHECK_THREAD(thread_);
    if (!portraitPending_) return {};
    const auto pending = portraits_.find(pendingPortrait_);
    if (pending == portraits_.end() || pending->second != portraitId) return {};
    return endPortraitFetch();
}

bool IsAvatarRequest(const std::string& api) { return api == kPortraitApi; }

std::string MeetingRoster::onRequestFailed(const std::string& api) {
    KESTRUM_CHECK_THREAD(thread_);
    if (!IsAvatarRequest(api) || !portraitPending_) return {};
    const auto pending = portraits_.find(pendingPortrait_);
    if (pending != portraits_.end()) failedPortraits_.insert(pending->second);
    return endPortraitFetch();
}

std::string MeetingRoster::endPortraitFetch() {
    if (!portraitPending_) return {};
    portraitPending_ = false;
    portraits_.erase(pendingPortrait_);
    return std::exchange(pendingPortrait_, std::string());
}

const std::vector<UserInfoRecord>& MeetingRoster::participants() const {
    const bool shares = std::any_of(socketList_.begin(), socketList_.end(),
                                    [](const UserInfoRecord& r) { return r.isShareStream != 0; });
    if (!shares) return socketList_;
    participants_.clear();
    for (const UserInfoRecord& record : socketList_) {
        if (!record.isShareStream) participants_.push_back(record);
    }
    return participants_;
}

UserInfoRecord MeetingRoster::listedBigView() const {
    const auto listed = std::find(socketList_.begin(), socketList_.end(), bigViewUser_);
    return listed == socketList_.end() ? bigViewUser_ : *listed;
}

bool MeetingRoster::inMediaList(int32_t uid) const {
    return std::find(mediaList_.begin(), mediaList_.end(), uid) != mediaList_.end();
}

const UserInfoRecord* MeetingRoster::claimStream(int32_t uid) {
    if (uid <= 0) return nullptr;
    for (auto record = socketList_.begin(); record != socketList_.end(); ++record) {
        if (record->streamId == uid) return &*record;
        if (record->isShareStream || record->shareId != uid) continue;
        const UserInfoRecord share =
            ShareRecordOf(*record, uid, WithName(ShareStreamText(language_), record->name).c_str());
        return &*socketList_.insert(record, share);
    }
    return nullptr;
}

bool MeetingRoster::addSocketUser(const UserInfoRecord& record) {
    // Share records are made here, from their owners; signalling only reports participants.
    UserInfoRecord listed = record;
    listed.isShareStream = 0;
    if (std::find(socketList_.begin(), socketList_.end(), listed) != socketList_.end()) {
        return false;
    }
    socketList_.push_back(listed);
    std::string line;
    AppendLogLine(line, listed);
    logSocketList("Add SocketList: ", line);
    return true;
}

RosterAction MeetingRoster::shareButton() const {
    const bool othersShare =
        std::any_of(socketList_.begin(), socketList_.end(), [this](const UserInfoRecord& r) {
            return !r.isShareStream && r.shareId > 0 && ownUser_.uid != std::string(r.uid);
        });
    return Action(othersShare ? RosterAction::kDisableShare : RosterAction::kEnableShare);
}

void MeetingRoster::dropStream(int32_t uid, RosterActions& out) {
    auto listed = std::find(mediaList_.begin(), mediaList_.end(), uid);
    if (listed == mediaList_.end()) return;
    mediaList_.erase(listed);
    removeTile(uid, out);
    const bool bigView =
        IsListed(bigViewUser_) && bigViewUser_.streamId == uid && bigViewUser_ != ownUser_;
    const size_t remotes = remoteCount();
    if (remotes > 0 && !bigView) return;
    if (remotes > 0 && !tiles_.empty()) {
        const UserInfoRecord first = tiles_.front();
        removeTile(first.streamId, out);
        bigViewUser_ = first;
        out.push_back(RecordAction(RosterAction::kBigViewRemote, first));
        return;
    }
    // Only oneself is left to show (or nobody else is shown): the local preview fills the big
    // view again and the self tile goes.
    if (bigViewUser_ != ownUser_ || selfTile_) {
        bigViewUser_ = ownUser_;
        out.push_back(RecordAction(RosterAction::kBigViewLocal, ownUser_));
    }
    if (selfTile_) {
        selfTile_ = false;
        out.push_back(Action(RosterAction::kCloseSelfTile));
    }
}

size_t MeetingRoster::remoteCount() const {
    return static_cast<size_t>(std::count_if(mediaList_.begin(), mediaList_.end(),
                                             [&](int32_t uid) { return uid != ownStreamId_; }));
}

void MeetingRoster::forgetShareRecord(int32_t stream) {
    socketList_.erase(std::remove_if(socketList_.begin(), socketList_.end(),
                                     [&](const UserInfoRecord& r) {
                                         return r.isShareStream && r.streamId == stream;
                                     }),
                      socketList_.end());
}

bool MeetingRoster::hasTile(int32_t streamId) const {
    return std::any_of(tiles_.begin(), tiles_.end(),
                       [&](const UserInfoRecord& r) { return r.streamId == streamId; });
}

void MeetingRoster::removeTile(int32_t streamId, RosterActions& out) {
    auto tile = std::find_if(tiles_.begin(), tiles_.end(),
                             [&](const UserInfoRecord& r) { return r.streamId == streamId; });
    if (tile == tiles_.end()) return;
    tiles_.erase(tile);
    out.push_back(StreamAction(RosterAction::kStripRemove, streamId));
}

std::string MeetingRoster::nameOf(const std::string& uid) const {
    for (const UserInfoRecord& record : socketList_) {
        if (!record.isShareStream && uid == record.uid) return record.name;
    }
    return {};
}

void MeetingRoster::logSocketList(const char* title, const std::string& change) {
    writeLine(Level_Debug, __LINE__, "%s%u listed\n%s", title,
              static_cast<unsigned>(socketList_.size()), change.c_str());
}

}  // namespace ZuvraKestrum::Live
