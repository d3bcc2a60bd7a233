#include <gtest/gtest.h>

#include "account/kestrum_user_get_photo.h"
#include "feedback/kestrum_log_upload.h"
#include "file_path.h"
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

const std::string kBad = "\xEF\xBF\xBD";  // U+FFFD

TEST(ResponseFieldsTest, ValidTextIsKeptByteForByte) {
    const std::string text("a\0b \xE4\xBC\x9A \xF0\x9F\x98\x80 \xEF\xBF\xBD", 16);
    EXPECT_EQ(ValidUtf8(text), text);
    EXPECT_EQ(ValidUtf8(""), "");
}

TEST(ResponseFieldsTest, EachMaximalIllFormedSequenceBecomesOneReplacement) {
    const std::string a = "a", b = "b";
    EXPECT_EQ(ValidUtf8(a + "\xFF" + b), a + kBad + b);                   // never a lead byte
    EXPECT_EQ(ValidUtf8(a + "\xE4\xB8" + b), a + kBad + b);               // truncated
    EXPECT_EQ(ValidUtf8("\xC0\xAF"), kBad + kBad);                        // overlong
    EXPECT_EQ(ValidUtf8("\xED\xA0\x80"), kBad + kBad + kBad);             // encoded surrogate
    EXPECT_EQ(ValidUtf8("\xF4\x90\x80\x80"), kBad + kBad + kBad + kBad);  // past U+10FFFF
    EXPECT_EQ(ValidUtf8("\xE4\xBC\x9A\xE4"), "\xE4\xBC\x9A" + kBad);
}

TEST(ResponseFieldsTest, TextsReadFromAnswersAreValidUtf8) {
    jdoc::CJsonDocument doc("{\"topic\":\"x\xFFy\",\"hosts\":[\"\xC3\",\"ok\"]}");
    EXPECT_EQ(ReadText(doc, "topic"), "x" + kBad + "y");
    EXPECT_EQ(ReadTextList(doc, "hosts"), (std::vector<std::string>{kBad, "ok"}));
    std::string text = "untouched";
    EXPECT_TRUE(ReadTextMember(doc, "topic", text));
    EXPECT_EQ(text, "x" + kBad + "y");
    text = "untouched";
    EXPECT_FALSE(ReadTextMember(doc, "missing", text));
    EXPECT_EQ(text, "untouched");
}

TEST(PortraitTest, OnlyPngAndJpegPicturesCount) {
    EXPECT_TRUE(CKestrumUserGetPhoto::IsPortraitImage("\x89PNG\r\n\x1A\n..."));
    EXPECT_TRUE(CKestrumUserGetPhoto::IsPortraitImage("\xFF\xD8\xFF\xE0..."));
    EXPECT_FALSE(CKestrumUserGetPhoto::IsPortraitImage("\x89PNG\r\n"));
    EXPECT_FALSE(CKestrumUserGetPhoto::IsPortraitImage("\xFF\xD8"));
    EXPECT_FALSE(CKestrumUserGetPhoto::IsPortraitImage("GIF89a"));
    EXPECT_FALSE(CKestrumUserGetPhoto::IsPortraitImage("<html>"));
    EXPECT_FALSE(CKestrumUserGetPhoto::IsPortraitImage(""));
}

TEST(FilePathTest, Utf8PathsBecomeWide) {
    std::wstring wide;
    ASSERT_TRUE(WidePath("C:\\\xE5\xA4\xB4\xE5\x83\x8F\\a.png", wide));
    EXPECT_EQ(wide, L"C:\\\x5934\x50CF\\a.png");
}

TEST(FilePathTest, PathsThatAreNotUtf8AreRefused) {
    std::wstring wide = L"untouched";
    EXPECT_FALSE(WidePath("C:\\caf\xE9.png", wide));  // code page 1252
    EXPECT_FALSE(WidePath(std::string("C:\\a\0b", 6), wide));
    EXPECT_FALSE(WidePath("", wide));
    EXPECT_EQ(wide, L"untouched");
}

TEST(FilePathTest, FileNameIsWhatFollowsTheLastSlash) {
    EXPECT_EQ(FileNameOf("C:\\a/b\\c.jpeg"), "c.jpeg");
    EXPECT_EQ(FileNameOf("c.jpeg"), "c.jpeg");
    EXPECT_EQ(FileNameOf("C:\\a\\"), "");
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
