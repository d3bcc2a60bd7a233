#include <gtest/gtest.h>

#include "feedback/kestrum_log_upload.h"
#include "json_request.h"
#include "response_fields.h"

namespace kestrum::service {
namespace {

TEST(ResponseFieldsTest, OnlyBooleanSuccessAndIntegerNumbersCount) {
    jdoc::CJsonDocument doc("{\"success\":1,\"streamId\":5.0,\"code\":2006,\"big\":4294967297}");
    bool success = false;
    EXPECT_FALSE(ReadSuccess(doc, success));
    int value = 0;
    EXPECT_FALSE(ReadInt(doc, "streamId", value));
    EXPECT_EQ(ReadIntOr(doc, "code", 0), 2006);
    EXPECT_EQ(ReadIntOr(doc, "big", 0), 1);  // the low 32 bits
    EXPECT_EQ(ReadIntOr(doc, "missing", -1), -1);
}

TEST(ResponseFieldsTest, RefusalNeedsAnObjectWithFalseSuccess) {
    EXPECT_TRUE(IsRefusal(jdoc::CJsonDocument("{\"success\":false,\"error\":404}")));
    EXPECT_FALSE(IsRefusal(jdoc::CJsonDocument("{\"success\":true}")));
    EXPECT_FALSE(IsRefusal(jdoc::CJsonDocument("\xFF\xD8\xFF\xE0 not json")));
}

TEST(ResponseFieldsTest, SuccessNeedsAnObjectWithTrueSuccess) {
    EXPECT_TRUE(IsSuccess(jdoc::CJsonDocument("{\"success\":true}")));
    EXPECT_FALSE(IsSuccess(jdoc::CJsonDocument("{\"success\":false}")));
    EXPECT_FALSE(IsSuccess(jdoc::CJsonDocument("{\"success\":1}")));
    EXPECT_FALSE(IsSuccess(jdoc::CJsonDocument("{\"rid\":\"r\"}")));
    EXPECT_FALSE(IsSuccess(jdoc::CJsonDocument("not json")));
}

TEST(ResponseFieldsTest, TextListKeepsPlacesOfNonTexts) {
    jdoc::CJsonDocument doc("{\"hosts\":[\"a\",7,\"c\"],\"topic\":3}");
    EXPECT_EQ(ReadTextList(doc, "hosts"), (std::vector<std::string>{"a", "", "c"}));
    EXPECT_TRUE(ReadTextList(doc, "participants").empty());
    EXPECT_EQ(ReadText(doc, "topic"), "");
}

TEST(RequestTextTest, QueryValuesArePercentEncoded) {
    EXPECT_EQ(EncodedQuery("rid", "a b&c#d"), "?rid=a%20b%26c%23d");
    EXPECT_EQ(EncodedQuery("rid", "\xE4\xBC\x9A"), "?rid=%E4%BC%9A");
    EXPECT_EQ(EncodedQuery("portraitId", ""), "?portraitId=");
}

TEST(RequestTextTest, LogUploadNumbersAreSignedDecimals) {
    EXPECT_EQ(CKestrumLogUpload::SignedDecimal(4294967295u), "-1");
    EXPECT_EQ(CKestrumLogUpload::SignedDecimal(20001u), "20001");
}

}  // namespace
}  // namespace kestrum::service
