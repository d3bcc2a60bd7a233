#pragma once

#include <string>
#include <vector>

#include "kestrum/core/course_messages.h"
#include "kestrum/records/user_info_record.h"

class CKestrumConfig;
class CKestrumData;

// What the in-meeting window's signalling and roster write into the meeting data and the
// configuration, for the other windows and the next start to read. What an event shows stays
// with the window.
//
// Threads: the UI thread; the data's lock is taken for what it guards (ownInfo, userList).
namespace ZuvraKestrum::Live {

// The signalling's record of this user becomes the data's own record.
void ApplyOwnInfo(const UserInfoRecord& record, CKestrumData& data);

// The roster's participants become the data's list, which the panels read names and portraits
// from (copied into the list's own blocks: a list of the same length takes no new one). With
// changed, the list was given participants' entries before and only the records at these places
// are copied; a list of another length still takes them all.
void ApplyParticipants(const std::vector<UserInfoRecord>& participants, CKestrumData& data,
                       const std::vector<size_t>* changed = nullptr);

// The own status bits as the server reported them.
void ApplyOwnStatus(int status, CKestrumData& data);

// The own avatar arrived: the data and the configuration take the picture of the data's portrait
// id (its cache file, or the bare default name while the cache has none), as a UTF-8 path.
void ApplyOwnAvatar(CKestrumData& data, const CKestrumConfig& config);

// A room-control result of the share: its token is the share stream's own, so the meeting's
// media token stays for the engine; the configuration remembers the share's id and token.
void ApplyShareResult(const RoomCtrlPayload& result, CKestrumData& data,
                      const CKestrumConfig& config);

}  // namespace ZuvraKestrum::Live
