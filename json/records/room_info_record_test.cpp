#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kestrum/records/room_info_record.h"

namespace {

RoomInfoRecord Sample()
{
    SdkConfigsRecord configs;
    configs.channelProfile = 1;
    configs.parameters = {R"({"che.audio.level":true})"};
    configs.shareParameters = {R"({"fps":15})"};
    return RoomInfoRecord("room", "pw", {"h1", "h2"}, "Host", 3, "Topic", configs);
}

TEST(RoomInfoRecordConstruction, DefaultHasNoProfile)
{
    RoomInfoRecord record;
    EXPECT_STREQ("", record.rid);
    EXPECT_STREQ("", record.pwd);
    EXPECT_STREQ("", record.topic);
    EXPECT_STREQ("", record.hostName);
    EXPECT_TRUE(record.hosts.empty());
    EXPECT_EQ(0, record.initialStatus);
    EXPECT_EQ(-1, record.sdkConfigs.channelProfile);
    EXPECT_TRUE(record.sdkConfigs.parameters.empty());
    EXPECT_TRUE(record.sdkConfigs.shareParameters.empty());
}

TEST(RoomInfoRecordConstruction, ValuesLandInTheirFields)
{
    RoomInfoRecord record = Sample();
    EXPECT_STREQ("room", record.rid);
    EXPECT_STREQ("pw", record.pwd);
    EXPECT_STREQ("Topic", record.topic);
    EXPECT_STREQ("Host", record.hostName);
    EXPECT_EQ((std::vector<std::string>{"h1", "h2"}), record.hosts);
    EXPECT_EQ(3, record.initialStatus);
    EXPECT_EQ(1, record.sdkConfigs.channelProfile);
    ASSERT_EQ(1u, record.sdkConfigs.shareParameters.size());
}

TEST(RoomInfoRecordConstruction, OverlongTextsAreCut)
{
    RoomInfoRecord record(std::string(300, 'r'), std::string(256, 'p'), {}, std::string(255, 'h'), 0,
                          std::string(254, 't') + "\xC3\xA9", SdkConfigsRecord());
    EXPECT_EQ(255u, std::string(record.rid).size());
    EXPECT_EQ(255u, std::string(record.pwd).size());
    EXPECT_EQ(255u, std::string(record.hostName).size());
    EXPECT_EQ(std::string(254, 't'), record.topic);
}

}  // namespace
