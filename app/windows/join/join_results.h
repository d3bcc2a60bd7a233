#pragma once

#include <string>

#include "kestrum/core/course_messages.h"

class CKestrumConfig;
class CKestrumData;

// What the course bridge's sign-in and join results write into the meeting data and the
// configuration file, so that the next start signs in as the same user and rejoins the same
// room. What a result does beyond that (fetching the portrait, asking for the client
// configuration, opening the in-meeting window) stays with the join window.
//
// Threads: the UI thread; the data's lock is taken where the data asks for it (hosts).
namespace ZuvraKestrum::Join {

// A sign-in: the user's token, stream id, name, portrait id and uid go into both; the data's
// portrait becomes portraitFile (UTF-8), the file the user's own portrait is downloaded into (the
// configuration's follows once the download has arrived).
void ApplySignIn(const TokenPayload& token, const std::string& portraitFile, CKestrumData& data,
                 CKestrumConfig& config);

// A join: the room's name, the password the user typed (data.roomPassword) and the media token
// are remembered; the room's hosts and initial status are stored, and the own status follows them
// (CKestrumData::applyJoinStatus).
void ApplyJoin(const JoinRoomPayload& join, CKestrumData& data, CKestrumConfig& config);

}  // namespace ZuvraKestrum::Join
