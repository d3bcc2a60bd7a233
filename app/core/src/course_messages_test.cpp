#include "kestrum/core/course_messages.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "kestrum/testing/heap_blocks.h"
#include "payload_table_expectations.h"

namespace {

using kestrum::testing_support::UsedHeapBlocks;

// Long enough that a std::string keeps it in a heap block of its own.
const std::string kLong = "a text longer than any short-string buffer";

using payload_table_test::Tag;

// One record of each payload type with its texts and lists filled, so that a free that drops an
// inner block shows in the heap count. A payload type without a sample does not compile.
std::unique_ptr<StringPairPayload> Sample(Tag<StringPairPayload>) {
    return NewRecord<StringPairPayload>(kLong, kLong, 1);
}
std::unique_ptr<TokenPayload> Sample(Tag<TokenPayload>) {
    return NewRecord<TokenPayload>(kLong, kLong, kLong, 2, kLong);
}
std::unique_ptr<std::string> Sample(Tag<std::string>) { return NewRecord<std::string>(kLong); }
std::unique_ptr<JoinRoomPayload> Sample(Tag<JoinRoomPayload>) {
    return NewRecord<JoinRoomPayload>(kLong, kLong, 1, 2, std::vector<std::string>{kLong}, kLong);
}
std::unique_ptr<RoomCtrlPayload> Sample(Tag<RoomCtrlPayload>) {
    return NewRecord<RoomCtrlPayload>(3, kLong);
}
std::unique_ptr<ConfigRoomPayload> Sample(Tag<ConfigRoomPayload>) {
    return NewRecord<ConfigRoomPayload>(kLong, kLong, kLong, kLong, 3, 4);
}
std::unique_ptr<SocketErrorPayload> Sample(Tag<SocketErrorPayload>) {
    return NewRecord<SocketErrorPayload>(kLong, -1);
}
UserInfoRecord User() { return UserInfoRecord("u1", "Ann", "p1", 5, "acc", 1, -1, 0); }
std::unique_ptr<UserInfoRecord> Sample(Tag<UserInfoRecord>) {
    return NewRecord<UserInfoRecord>(User());
}
std::unique_ptr<std::vector<UserInfoRecord>> Sample(Tag<std::vector<UserInfoRecord>>) {
    return NewRecord<std::vector<UserInfoRecord>>(2, User());
}
std::unique_ptr<RoomInfoRecord> Sample(Tag<RoomInfoRecord>) {
    auto room = NewRecord<RoomInfoRecord>();
    room->hosts = {kLong, kLong};
    return room;
}
std::unique_ptr<UserOperatorPayload> Sample(Tag<UserOperatorPayload>) {
    return NewRecord<UserOperatorPayload>(kLong, kLong, kLong,
                                          std::vector<UserInfoRecord>{User(), User()});
}
std::unique_ptr<SocketRequestPayload> Sample(Tag<SocketRequestPayload>) {
    return NewRecord<SocketRequestPayload>(kLong, kLong, kLong, kLong);
}
std::unique_ptr<SocketResponsePayload> Sample(Tag<SocketResponsePayload>) {
    return NewRecord<SocketResponsePayload>(true, kLong, kLong, kLong, kLong, kLong, kLong);
}

TEST(CourseMessageTableTest, EveryMessageHasAPayloadTypeThatFreeingReleasesWhole) {
    const auto sample = [](auto tag) { return Sample(tag); };
#define KESTRUM_EXPECT_ROW(name, number, Payload) \
    payload_table_test::ExpectPayloadFreed<name>(#name, FreeCoursePayload, sample);
    KESTRUM_COURSE_MESSAGES(KESTRUM_EXPECT_ROW)
#undef KESTRUM_EXPECT_ROW
}

TEST(CourseMessageTableTest, NumbersOutsideTheTableAreIgnored) {
    std::string kept = kLong;
    const long before = UsedHeapBlocks();
    // A pointer where none is expected would crash if it were freed.
    for (UINT message : {0x50Du, 0x50Fu, WM_COURSE_LAST + 1, WM_COURSE_FIRST - 1}) {
        FreeCoursePayload(message, reinterpret_cast<WPARAM>(&kept));
    }
    EXPECT_EQ(UsedHeapBlocks(), before);
    EXPECT_EQ(kept, kLong);
}

}  // namespace
