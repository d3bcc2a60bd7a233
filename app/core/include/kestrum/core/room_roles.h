#pragma once

#include <string>
#include <vector>

class CKestrumData;

// Who holds the room's roles, for every window that asks: the room's host (its speaker) is the
// first entry of its host list, and the panels differ in who may act as host while the room has
// none. Uids and names are UTF-8 as the meeting data keeps them. Pure functions, any thread,
// apart from FirstHostOf, which reads the meeting data.
namespace ZuvraKestrum::Roles {

// The room's host: the first entry of hosts, empty for a room without host.
std::string FirstHost(const std::vector<std::string>& hosts);

// The room's host as the meeting data holds it now: FirstHost of its host list, read under the
// data's lock. The list is set by the join's result already, before the first room record.
std::string FirstHostOf(CKestrumData& data);

// uid is the room's host: the room has one and it is uid. A room without host has none, so
// the in-meeting window opens the participant's room settings and marks nobody.
bool IsHost(const std::string& firstHost, const std::string& uid);

// The room has a host and it is not uid: the in-meeting window's host notice names that host,
// and says nothing of a role that went to nobody or to uid itself.
bool HasOtherHost(const std::string& firstHost, const std::string& uid);

// The participants panel's remove buttons and options of others' rows are open to ownUid: the
// host, or anybody while the room has no host.
bool ManagesParticipants(const std::string& firstHost, const std::string& ownUid);

// The per-user menu's device and remove items are open to ownUid: the host; while the room has
// no host, anybody only when the room's record names no host either (hostName, the record's
// host-name text).
bool ControlsParticipants(const std::string& firstHost, const std::string& hostName,
                          const std::string& ownUid);

}  // namespace ZuvraKestrum::Roles
