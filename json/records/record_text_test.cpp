#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "kestrum/records/record_text.h"

namespace {

// The field sits between guard bytes so that any write past it shows.
struct GuardedField {
    char before[8];
    char field[kRecordTextSize];
    char after[8];
};

std::string Copied(const std::string& text)
{
    GuardedField guarded;
    std::memset(&guarded, 'G', sizeof(guarded));
    CopyRecordText(guarded.field, text.c_str());
    EXPECT_EQ(std::string(8, 'G'), std::string(guarded.before, 8));
    EXPECT_EQ(std::string(8, 'G'), std::string(guarded.after, 8));
    return guarded.field;
}

TEST(RecordText, ShortTextIsCopiedWhole)
{
    EXPECT_EQ("", Copied(""));
    EXPECT_EQ("uid-1", Copied("uid-1"));
    EXPECT_EQ(std::string(255, 'a'), Copied(std::string(255, 'a')));
}

TEST(RecordText, StopsAtTheFirstNul)
{
    EXPECT_EQ("ab", Copied(std::string("ab\0cd", 5)));
}

TEST(RecordText, LongAsciiTextIsCutAt255Bytes)
{
    EXPECT_EQ(std::string(255, 'a'), Copied(std::string(256, 'a')));
    EXPECT_EQ(std::string(255, 'a'), Copied(std::string(100000, 'a')));
}

TEST(RecordText, CutNeverSplitsACharacter)
{
    const std::string two = "\xC3\xA9";           // 2 bytes
    const std::string three = "\xE4\xB8\xAD";     // 3 bytes
    const std::string four = "\xF0\x9F\x98\x80";  // 4 bytes
    // Character ends exactly at the limit: kept.
    EXPECT_EQ(std::string(253, 'a') + two, Copied(std::string(253, 'a') + two + "tail"));
    // Character crosses the limit by one to three bytes: left out whole.
    EXPECT_EQ(std::string(254, 'a'), Copied(std::string(254, 'a') + two));
    EXPECT_EQ(std::string(253, 'a'), Copied(std::string(253, 'a') + three));
    EXPECT_EQ(std::string(252, 'a'), Copied(std::string(252, 'a') + four));
    EXPECT_EQ(std::string(254, 'a'), Copied(std::string(254, 'a') + four));
    std::string chinese;
    for (int i = 0; i < 100; ++i)
        chinese += three;
    EXPECT_EQ(chinese.substr(0, 255), Copied(chinese));
}

TEST(RecordText, BrokenUtf8IsStillBounded)
{
    std::string continuation(300, '\x80');
    EXPECT_EQ(252u, Copied(continuation).size());
}

TEST(RecordText, NullTextGivesAnEmptyField)
{
    char field[kRecordTextSize] = "old";
    CopyRecordText(field, nullptr);
    EXPECT_STREQ("", field);
}

}  // namespace
