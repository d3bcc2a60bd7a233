#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "kestrum/records/room_info_record.h"
#include "kestrum/records/user_info_record.h"
#include "kestrum/sio/message.h"

// How the signalling server's event payloads are read into records and texts. The server is
// trusted to send the documented shapes; anything else must not fail, so every reader returns
// a value: a wrong type reads as 0 (a number with a fraction too, except for stream ids), "" or
// false, a value that is not an array as an empty list. Every text read is valid UTF-8, as the
// exports promise: each invalid sequence the server sent becomes one U+FFFD (ValidUtf8). Pure
// functions, safe on any thread.
namespace kestrum::service::payload {

using ksio::Message;

// The low 32 bits of an integer; 0 for any other type.
int32_t ReadInt(const Message& value);
// A stream id ("streamId", "shareId"). Cutting or rounding one could make it name another
// participant's stream, so a number written with a fraction or an exponent (even 1.0) or an
// integer outside 0..INT32_MAX is no stream (-1); any other type reads 0, no stream either.
constexpr int32_t kNoStream = -1;
int32_t ReadStreamId(const Message& value);
std::string ReadText(const Message& value);
bool ReadBool(const Message& value);
// An integer, or a text read as a decimal integer with atoi's rules (leading blanks, a sign,
// digits up to the first other character, saturating on overflow); 0 for anything else.
int32_t ReadStatus(const Message& value);
// The string elements of an array in order (other elements read as "").
std::vector<std::string> ReadTextList(const Message& value);

// A user object. "user-info" does not carry "feature": withFeature false leaves it 0.
UserInfoRecord ReadUser(const Message& user, bool withFeature = true);
std::vector<UserInfoRecord> ReadUsers(const Message& users);
RoomInfoRecord ReadRoom(const Message& room);

// "user-error": an object gives its "code" and "", a text gives -1 and the text, anything
// else 0 and "".
struct UserError {
    int32_t code = 0;
    std::string text;
};
UserError ReadUserError(const Message& payload);

// "user-operation": target is the first of "original"."targets", "" when there is none.
struct UserOperation {
    std::string operatorUid;
    std::string type;
    std::string target;
    std::vector<UserInfoRecord> users;
};
UserOperation ReadUserOperation(const Message& payload);

}  // namespace kestrum::service::payload
