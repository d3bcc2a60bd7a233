#pragma once

#include <string>
#include <vector>

class CKestrumData;

// What the room settings windows read from the meeting data to show and to send, and what a
// confirmed room update writes back, apart from the windows. Uids, names and the password are
// UTF-8 as the meeting data keeps them. The UI thread; the hosts, the nicknames and the
// confirmed values are taken under the meeting data's lock.
namespace ZuvraKestrum::Settings {

// The meeting data's hosts; empty without meeting data.
std::vector<std::string> RoomHosts(CKestrumData* data);

// The room update a window sends: the meeting data's room (its name is the id) and hosts, with
// the chosen status and password; room and hosts empty without meeting data.
struct RoomUpdate {
    std::string room;
    std::vector<std::string> hosts;
    int status = 0;
    std::string password;
};
RoomUpdate RoomUpdateOf(CKestrumData* data, int status, const std::string& password);

// What a confirmed update leaves in the meeting data: the status and password that were sent.
void StoreConfirmedRoom(CKestrumData& data, int status, const std::string& password);

// The room settings the user gets, from every way in: the host's (dialog 4) when the meeting
// data names the user as the room's host, else the participant's (dialog 3).
unsigned RoomSettingsDialogOf(CKestrumData* data);

// The speaker line of the room's host hostUid: its nickname among the participants, else the
// room's host-name text.
std::string SpeakerLine(CKestrumData& data, const std::string& hostUid);

}  // namespace ZuvraKestrum::Settings
