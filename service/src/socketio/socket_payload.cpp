#include "socketio/socket_payload.h"

#include <cctype>
#include <climits>

#include "valid_utf8.h"

namespace kestrum::service::payload {
namespace {

// atoi's reading without its undefined overflow: saturates at the int32 limits.
int32_t DecimalPrefix(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int64_t value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > int64_t{INT32_MAX} + 1) break;
    }
    if (negative) value = -value;
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}

}  // namespace

int32_t ReadInt(const Message& value) {
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(value.AsInt())));
}

int32_t ReadStreamId(const Message& value) {
    const Message::Type type = value.GetType();
    if (type == Message::Type::Double) return kNoStream;
    if (type != Message::Type::Integer) return 0;
    const int64_t id = value.AsInt();
    return id < 0 || id > INT32_MAX ? kNoStream : static_cast<int32_t>(id);
}

std::string ReadText(const Message& value) { return ValidUtf8(value.AsString()); }

bool ReadBool(const Message& value) { return value.AsBool(); }

int32_t ReadStatus(const Message& value) {
    if (value.GetType() == Message::Type::String) return DecimalPrefix(value.AsString());
    return ReadInt(value);
}

std::vector<std::string> ReadTextList(const Message& value) {
    std::vector<std::string> texts;
    texts.reserve(value.Elements().size());
    for (const Message& element : value.Elements()) texts.push_back(ReadText(element));
    return texts;
}

UserInfoRecord ReadUser(const Message& user, bool withFeature) {
    return UserInfoRecord(ReadText(user.Get("uid")), ReadText(user.Get("name")),
                          ReadText(user.Get("portraitId")), ReadStreamId(user.Get("streamId")),
                          ReadText(user.Get("account")), ReadStatus(user.Get("status")),
                          ReadStreamId(user.Get("shareId")),
                          withFeature ? ReadInt(user.Get("feature")) : 0);
}

std::vector<UserInfoRecord> ReadUsers(const Message& users) {
    std::vector<UserInfoRecord> records;
    records.reserve(users.Elements().size());
    for (const Message& user : users.Elements()) records.push_back(ReadUser(user));
    return records;
}

RoomInfoRecord ReadRoom(const Message& room) {
    SdkConfigsRecord sdk;
    const Message& configs = room.Get("sdkConfigs");
    if (configs.GetType() == Message::Type::Object) {
        sdk.channelProfile = ReadInt(configs.Get("channelProfile"));
        sdk.parameters = ReadTextList(configs.Get("parameters"));
        sdk.shareParameters = ReadTextList(configs.Get("shareParameters"));
    }
    return RoomInfoRecord(
        ReadText(room.Get("rid")), ReadText(room.Get("pwd")), ReadTextList(room.Get("hosts")),
        ReadText(room.Get("hostsDetails").At(0).Get("name")), ReadInt(room.Get("initialStatus")),
        ReadText(room.Get("topic")), std::move(sdk));
}

UserError ReadUserError(const Message& payload) {
    UserError error;
    if (payload.GetType() == Message::Type::Object) {
        error.code = ReadInt(payload.Get("code"));
    } else if (payload.GetType() == Message::Type::String) {
        error.code = -1;
        error.text = ReadText(payload);
    }
    return error;
}

UserOperation ReadUserOperation(const Message& payload) {
    const Message& original = payload.Get("original");
    UserOperation operation;
    operation.operatorUid = ReadText(payload.Get("operator"));
    operation.type = ReadText(original.Get("type"));
    operation.target = ReadText(original.Get("targets").At(0));
    operation.users = ReadUsers(payload.Get("users"));
    return operation;
}

}  // namespace kestrum::service::payload
