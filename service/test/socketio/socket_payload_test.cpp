// Reading the signalling server's payloads into records, and the texts of the emits.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "json_codec.h"
#include "socketio/kestrum_socket_io.h"
#include "socketio/socket_payload.h"

namespace kestrum::service::payload {
namespace {

Message Json(const std::string& text) {
    Message value;
    EXPECT_TRUE(ksio::DecodeJson(text, value)) << text;
    return value;
}

TEST(SocketPayloadNumbers, IntegersKeepTheirLow32BitsAndOtherTypesReadZero) {
    EXPECT_EQ(ReadInt(Json("4003")), 4003);
    EXPECT_EQ(ReadInt(Json("-1")), -1);
    EXPECT_EQ(ReadInt(Json("4294967301")), 5);  // 2^32 + 5
    EXPECT_EQ(ReadInt(Json("2.0")), 0);
    EXPECT_EQ(ReadInt(Json("\"12\"")), 0);
    EXPECT_EQ(ReadInt(Json("true")), 0);
    EXPECT_EQ(ReadInt(Json("null")), 0);
}

TEST(SocketPayloadNumbers, StreamIdsThatDoNotFitAreNoStreamRatherThanCut) {
    EXPECT_EQ(ReadStreamId(Json("11010")), 11010);
    EXPECT_EQ(ReadStreamId(Json("0")), 0);
    EXPECT_EQ(ReadStreamId(Json("2147483647")), INT32_MAX);
    EXPECT_EQ(ReadStreamId(Json("-1")), kNoStream);
    EXPECT_EQ(ReadStreamId(Json("-11010")), kNoStream);
    EXPECT_EQ(ReadStreamId(Json("2147483648")), kNoStream);
    EXPECT_EQ(ReadStreamId(Json("4294978306")), kNoStream);   // 2^32 + 11010
    EXPECT_EQ(ReadStreamId(Json("-4294956286")), kNoStream);  // -2^32 + 11010
    EXPECT_EQ(ReadStreamId(Json("11010.5")), kNoStream);
    EXPECT_EQ(ReadStreamId(Json("4294978306.0")), kNoStream);
    EXPECT_EQ(ReadStreamId(Json("\"11010\"")), 0);

    // Another participant must not be able to claim 11010 through either id.
    const UserInfoRecord user =
        ReadUser(Json(R"({"uid":"m","streamId":4294978306,"shareId":-4294956286})"));
    EXPECT_EQ(user.streamId, kNoStream);
    EXPECT_EQ(user.shareId, kNoStream);
}

TEST(SocketPayloadNumbers, StatusReadsDecimalTextWithAtoiRules) {
    EXPECT_EQ(ReadStatus(Json("3")), 3);
    EXPECT_EQ(ReadStatus(Json("\"3\"")), 3);
    EXPECT_EQ(ReadStatus(Json("\"  -2x\"")), -2);
    EXPECT_EQ(ReadStatus(Json("\"x3\"")), 0);
    EXPECT_EQ(ReadStatus(Json("\"\"")), 0);
    EXPECT_EQ(ReadStatus(Json("true")), 0);
    EXPECT_EQ(ReadStatus(Json("1.5")), 0);
    // atoi leaves overflow undefined; here it saturates instead of wrapping into other bits.
    EXPECT_EQ(ReadStatus(Json("\"99999999999999999999\"")), INT32_MAX);
    EXPECT_EQ(ReadStatus(Json("\"-99999999999999999999\"")), INT32_MIN);
}

TEST(SocketPayloadUser, ReadsEveryField) {
    const UserInfoRecord user = ReadUser(
        Json(R"({"uid":"u1","name":"Ann","portraitId":"p7","account":"ann@x","streamId":11,)"
             R"("shareId":12,"feature":4,"status":3})"));
    EXPECT_STREQ(user.uid, "u1");
    EXPECT_STREQ(user.name, "Ann");
    EXPECT_STREQ(user.portraitId, "p7");
    EXPECT_STREQ(user.account, "ann@x");
    EXPECT_EQ(user.streamId, 11);
    EXPECT_EQ(user.shareId, 12);
    EXPECT_EQ(user.feature, 4);
    EXPECT_EQ(user.status, 3);
    EXPECT_EQ(user.isShareStream, 0);
    EXPECT_EQ(user.linkedRecord, nullptr);
}

TEST(SocketPayloadUser, WrongTypesAndMissingKeysReadAsZeroOrEmpty) {
    const UserInfoRecord user = ReadUser(Json(
        R"({"uid":7,"name":null,"streamId":"11","shareId":1.0,"feature":true,"status":false})"));
    EXPECT_STREQ(user.uid, "");
    EXPECT_STREQ(user.name, "");
    EXPECT_STREQ(user.account, "");
    EXPECT_EQ(user.streamId, 0);
    EXPECT_EQ(user.shareId, kNoStream);
    EXPECT_EQ(user.feature, 0);
    EXPECT_EQ(user.status, 0);

    const UserInfoRecord notAnObject = ReadUser(Json("[1,2]"));
    EXPECT_STREQ(notAnObject.uid, "");
    EXPECT_EQ(notAnObject.streamId, 0);
}

TEST(SocketPayloadUser, UserInfoTakesNoFeatureAndAMissingShareIdIsZero) {
    const UserInfoRecord user = ReadUser(Json(R"({"uid":"u1","feature":9,"streamId":5})"), false);
    EXPECT_EQ(user.feature, 0);
    EXPECT_EQ(user.shareId, 0);
    EXPECT_EQ(user.streamId, 5);
}

TEST(SocketPayloadUser, LongTextsAreCutAt255BytesOnACharacterBoundary) {
    // 127 two-byte characters fill 254 bytes; the 128th would cross the limit and is left out.
    std::string name;
    for (int i = 0; i < 140; ++i) name += "\xC3\xBC";
    const UserInfoRecord user =
        ReadUser(Json(R"({"uid":")" + std::string(300, 'u') + R"(","name":")" + name + "\"}"));
    EXPECT_EQ(std::string(user.uid), std::string(255, 'u'));
    EXPECT_EQ(std::string(user.name), name.substr(0, 254));
}

TEST(SocketPayloadUser, UsersListKeepsOrderAndNonArraysReadEmpty) {
    const auto users = ReadUsers(Json(R"([{"uid":"b"},{"uid":"a"},"junk"])"));
    ASSERT_EQ(users.size(), 3u);
    EXPECT_STREQ(users[0].uid, "b");
    EXPECT_STREQ(users[1].uid, "a");
    EXPECT_STREQ(users[2].uid, "");
    EXPECT_TRUE(ReadUsers(Json(R"({"uid":"a"})")).empty());
}

TEST(SocketPayloadRoom, ReadsEveryField) {
    const RoomInfoRecord room = ReadRoom(Json(
        R"({"rid":"r1","pwd":"pw","topic":"Weekly","hosts":["h1","h2"],"initialStatus":3,)"
        R"("hostsDetails":[{"name":"Hal"},{"name":"Other"}],)"
        R"("sdkConfigs":{"channelProfile":1,"parameters":["{\"a\":1}"],"shareParameters":["s"]}})"));
    EXPECT_STREQ(room.rid, "r1");
    EXPECT_STREQ(room.pwd, "pw");
    EXPECT_STREQ(room.topic, "Weekly");
    EXPECT_EQ(room.hosts, (std::vector<std::string>{"h1", "h2"}));
    EXPECT_STREQ(room.hostName, "Hal");
    EXPECT_EQ(room.initialStatus, 3);
    EXPECT_EQ(room.sdkConfigs.channelProfile, 1);
    EXPECT_EQ(room.sdkConfigs.parameters, (std::vector<std::string>{"{\"a\":1}"}));
    EXPECT_EQ(room.sdkConfigs.shareParameters, (std::vector<std::string>{"s"}));
}

TEST(SocketPayloadRoom, OptionalPartsMissingLeaveNoProfileAndEmptyTexts) {
    const RoomInfoRecord room =
        ReadRoom(Json(R"({"rid":"r1","pwd":"","hosts":"h1","initialStatus":0,"hostsDetails":[]})"));
    EXPECT_STREQ(room.topic, "");
    EXPECT_STREQ(room.hostName, "");
    EXPECT_TRUE(room.hosts.empty());
    EXPECT_EQ(room.sdkConfigs.channelProfile, -1);
    EXPECT_TRUE(room.sdkConfigs.parameters.empty());
    EXPECT_TRUE(room.sdkConfigs.shareParameters.empty());

    const RoomInfoRecord nullConfigs = ReadRoom(Json(R"({"rid":"r1","sdkConfigs":null})"));
    EXPECT_EQ(nullConfigs.sdkConfigs.channelProfile, -1);
}

TEST(SocketPayloadEvents, UserErrorDependsOnThePayloadKind) {
    const UserError object = ReadUserError(Json(R"({"code":4003,"msg":"ignored"})"));
    EXPECT_EQ(object.code, 4003);
    EXPECT_EQ(object.text, "");
    const UserError text = ReadUserError(Json(R"("token expired")"));
    EXPECT_EQ(text.code, -1);
    EXPECT_EQ(text.text, "token expired");
    const UserError number = ReadUserError(Json("4003"));
    EXPECT_EQ(number.code, 0);
    EXPECT_EQ(number.text, "");
    EXPECT_EQ(ReadUserError(Json(R"({"code":"4003"})")).code, 0);
}

TEST(SocketPayloadTexts, InvalidUtf8BecomesOneReplacementPerBadSequence) {
    const std::string bad = "\xEF\xBF\xBD";
    const std::string stray =
        "\"a\xFF"
        "b\"";
    EXPECT_EQ(ReadText(Json(stray)), "a" + bad + "b");
    EXPECT_EQ(ReadTextList(Json("[\"\xE4\xB8\", \"\xE4\xBC\x9A\"]")),
              (std::vector<std::string>{bad, "\xE4\xBC\x9A"}));
    EXPECT_EQ(ReadUserError(Json("\"\xC0\xAF\"")).text, bad + bad);
    const UserInfoRecord user = ReadUser(Json("{\"uid\":\"7\",\"name\":\"\xED\xA0\x80\"}"));
    EXPECT_STREQ(user.name, (bad + bad + bad).c_str());
}

TEST(SocketPayloadEvents, UserOperationTakesTheFirstTarget) {
    const UserOperation operation = ReadUserOperation(
        Json(R"({"operator":"h1","original":{"targets":["u2","u3"],"type":"muteAudio"},)"
             R"("users":[{"uid":"u2","status":1}]})"));
    EXPECT_EQ(operation.operatorUid, "h1");
    EXPECT_EQ(operation.type, "muteAudio");
    EXPECT_EQ(operation.target, "u2");
    ASSERT_EQ(operation.users.size(), 1u);
    EXPECT_EQ(operation.users[0].status, 1);

    EXPECT_EQ(ReadUserOperation(Json(R"({"original":{"targets":[],"type":"interrupt"}})")).target,
              "");
    EXPECT_EQ(ReadUserOperation(Json(R"({"original":{"targets":[5]}})")).target, "");
    EXPECT_EQ(ReadUserOperation(Json(R"({"original":"x","users":{}})")).type, "");
}

TEST(SocketEmitTexts, RequestIsCompactJsonInMemberOrder) {
    EXPECT_EQ(RequestText("unmuteAudio", "u2", "room 1"),
              R"({"op":"unmuteAudio","target":"u2","rid":"room 1"})");
    EXPECT_EQ(RequestText(nullptr, "a\"b", "\xE4\xBC\x9A"),
              "{\"op\":\"\",\"target\":\"a\\\"b\",\"rid\":\"\xE4\xBC\x9A\"}");
}

TEST(SocketEmitTexts, ResponseIsIndentedJsonWithAcceptAsInteger) {
    EXPECT_EQ(ResponseText("req-1", true, "r1"),
              "{\n\t\"requestId\":\t\"req-1\",\n\t\"accept\":\t1,\n\t\"rid\":\t\"r1\"\n}");
    EXPECT_EQ(ResponseText("req-2", false, nullptr),
              "{\n\t\"requestId\":\t\"req-2\",\n\t\"accept\":\t0,\n\t\"rid\":\t\"\"\n}");
}

}  // namespace
}  // namespace kestrum::service::payload
