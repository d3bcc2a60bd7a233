#pragma once

#include <string>

#include "app/windows/join/join_form.h"
#include "app/windows/join/upgrade_decision.h"
#include "kestrum/core/course_messages.h"

class CKestrumConfig;
class CKestrumData;

// What the course bridge's sign-in, account and join results, and what the user enters in the
// join and nickname windows, write into the meeting data and the configuration file, so that the
// next start signs in as the same user and rejoins the same room. What a result does beyond that
// (fetching the portrait, asking for the client configuration, opening the in-meeting window)
// stays with the join window.
//
// Threads: the UI thread; the data's lock is taken where the data asks for it (hosts). The other
// fields are read on the UI thread; the room's name also by the signalling's connect threads, but
// only while the in-meeting window is open, when the join window stands hidden and writes none.
namespace ZuvraKestrum::Join {

// A sign-in: the user's token, stream id, name, portrait id and uid go into both; the data's
// portrait becomes portraitFile (UTF-8), the file the user's own portrait is downloaded into (the
// configuration's follows once the download has arrived).
void ApplySignIn(const TokenPayload& token, const std::string& portraitFile, CKestrumData& data,
                 CKestrumConfig& config);

// The services refused the token (or none is held): it goes from both, so that neither this run
// nor the next start offers it again, while a new one is asked for.
void ApplyDroppedToken(CKestrumData& data, CKestrumConfig& config);

// A join: the room's name, the password the user typed (data.roomPassword) and the media token
// are remembered; the room's hosts and initial status are stored, and the own status follows them
// (CKestrumData::applyJoinStatus).
void ApplyJoin(const JoinRoomPayload& join, CKestrumData& data, CKestrumConfig& config);

// The room and password the user asks to join become the data's (UTF-8), which the join request
// sends and the join result remembers.
void ApplyJoinForm(const JoinForm& form, CKestrumData& data);

// The wait the in-meeting window gives an unmute request, in seconds: a second beyond the client
// configuration's time-out.
void ApplyClientConfig(const ConfigRoomPayload& config, CKestrumData& data);

// The engine's log file, which the data names to the crash handler and the log upload.
void ApplyEngineLogPath(const std::wstring& path, CKestrumData& data);

// The name the user gives before the first join (wide, as the edit has it) becomes the data's
// nickname before the service has taken it: UTF-8 straight from the edit, with no ANSI code page
// on the way, so that every name survives.
void ApplyNickname(const std::wstring& nickname, CKestrumData& data);

// The account service took an update: the configuration takes the data's nickname and portrait
// id.
void ApplyAccountUpdate(const CKestrumData& data, CKestrumConfig& config);

// The account service refused an update: the data's nickname and portrait id go back to the
// configuration's, the last the service took.
void ApplyRefusedUpdate(CKestrumData& data, const CKestrumConfig& config);

// An optional upgrade offer is remembered in the configuration, so that the same version is not
// offered again (UpgradeOffer::rememberVersion); other offers write nothing.
void ApplyUpgradeOffer(const UpgradeOffer& offer, CKestrumConfig& config);

// The own portrait of portraitId arrived: the data and the configuration take the id, and the
// configuration the data's portrait path, the file the picture was downloaded into.
void ApplyOwnPortrait(const std::string& portraitId, CKestrumData& data, CKestrumConfig& config);

}  // namespace ZuvraKestrum::Join
