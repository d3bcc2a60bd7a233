#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kestrum/records/user_info_record.h"

namespace {

UserInfoRecord Sample()
{
    return UserInfoRecord("u1", "Alice", "p1", 1001, "acc", 3, 2001, 9);
}

TEST(UserInfoRecordConstruction, DefaultHasNoStreams)
{
    UserInfoRecord record;
    EXPECT_STREQ("", record.uid);
    EXPECT_STREQ("", record.name);
    EXPECT_STREQ("", record.portraitId);
    EXPECT_STREQ("", record.account);
    EXPECT_EQ(0, record.status);
    EXPECT_EQ(-1, record.shareId);
    EXPECT_EQ(-1, record.streamId);
    EXPECT_EQ(0, record.feature);
    EXPECT_EQ(0, record.isShareStream);
    EXPECT_EQ(nullptr, record.linkedRecord);
}

TEST(UserInfoRecordConstruction, ValuesLandInTheirFields)
{
    UserInfoRecord record = Sample();
    EXPECT_STREQ("u1", record.uid);
    EXPECT_STREQ("Alice", record.name);
    EXPECT_STREQ("p1", record.portraitId);
    EXPECT_STREQ("acc", record.account);
    EXPECT_EQ(1001, record.streamId);
    EXPECT_EQ(3, record.status);
    EXPECT_EQ(2001, record.shareId);
    EXPECT_EQ(9, record.feature);
    EXPECT_EQ(0, record.isShareStream);
    EXPECT_EQ(nullptr, record.linkedRecord);
}

TEST(UserInfoRecordConstruction, OverlongTextsAreCut)
{
    std::string name;
    for (int i = 0; i < 200; ++i)
        name += "\xE5\xBC\xA0";  // a 3-byte character
    UserInfoRecord record(std::string(1000, 'u'), name, "", 1, "", 0, -1, 0);
    EXPECT_EQ(std::string(255, 'u'), record.uid);
    EXPECT_EQ(name.substr(0, 255), record.name);
}

TEST(UserInfoRecordCopy, AssignmentKeepsTheTargetsLink)
{
    UserInfoRecord partner;
    UserInfoRecord source = Sample();
    source.isShareStream = 1;
    source.linkedRecord = &partner;
    UserInfoRecord target;
    target = source;
    EXPECT_EQ(nullptr, target.linkedRecord);
    EXPECT_STREQ("Alice", target.name);
    EXPECT_EQ(1, target.isShareStream);
    EXPECT_EQ(9, target.feature);

    UserInfoRecord linked_target;
    linked_target.linkedRecord = &partner;
    linked_target = Sample();
    EXPECT_EQ(&partner, linked_target.linkedRecord);
}

TEST(UserInfoRecordCopy, CopiesStartUnlinked)
{
    UserInfoRecord partner;
    UserInfoRecord source = Sample();
    source.linkedRecord = &partner;
    UserInfoRecord copy(source);
    EXPECT_EQ(nullptr, copy.linkedRecord);
    EXPECT_EQ(source, copy);
    std::vector<UserInfoRecord> list{source, source};
    EXPECT_EQ(nullptr, list[1].linkedRecord);
}

TEST(UserInfoRecordEquality, SameEntryIsUidStreamAndShareFlag)
{
    UserInfoRecord a = Sample();
    UserInfoRecord b("u1", "Bob", "p2", 1001, "other", 0, 7, 1);
    EXPECT_EQ(a, b);
    EXPECT_EQ(a, a);
    b.isShareStream = 1;
    EXPECT_NE(a, b);
    UserInfoRecord other_stream("u1", "Alice", "p1", 1002, "acc", 3, 2001, 9);
    EXPECT_NE(a, other_stream);
    UserInfoRecord other_uid("u10", "Alice", "p1", 1001, "acc", 3, 2001, 9);
    EXPECT_NE(a, other_uid);
}

}  // namespace
