#include "kestrum/core/engine_messages.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "kestrum/testing/heap_blocks.h"
#include "payload_table_expectations.h"

namespace {

using kestrum::testing_support::UsedHeapBlocks;
using zuvra::rtc::AudioVolumeInfo;

using payload_table_test::Tag;

std::unique_ptr<char[]> Text(const char* text) {
    std::unique_ptr<char[]> copy(new char[std::strlen(text) + 1]);
    std::strcpy(copy.get(), text);
    return copy;
}

// One record of each payload type with its texts and arrays filled, so that a free that drops an
// inner block shows in the heap count. A payload type without a sample does not compile.
std::unique_ptr<EngineChannelEvent> Sample(Tag<EngineChannelEvent>) {
    return NewRecord<EngineChannelEvent>(Text("room"), 1u, 2);
}
std::unique_ptr<EngineErrorEvent> Sample(Tag<EngineErrorEvent>) {
    return NewRecord<EngineErrorEvent>(3, Text("no route"));
}
std::unique_ptr<EngineTextValuesEvent> Sample(Tag<EngineTextValuesEvent>) {
    return NewRecord<EngineTextValuesEvent>(Text("text"), 4u, 5u);
}
std::unique_ptr<EngineVolumeEvent> Sample(Tag<EngineVolumeEvent>) {
    std::unique_ptr<AudioVolumeInfo[]> speakers(new AudioVolumeInfo[2]{{1, 2}, {3, 4}});
    return NewRecord<EngineVolumeEvent>(std::move(speakers), 2u, 4);
}
// Records without inner blocks.
template <class Plain>
std::unique_ptr<Plain> Sample(Tag<Plain>) {
    return NewRecord<Plain>();
}

TEST(EngineMessageTableTest, EveryMessageHasAPayloadTypeThatFreeingReleasesWhole) {
    const auto sample = [](auto tag) { return Sample(tag); };
#define KESTRUM_EXPECT_ROW(name, number, Payload) \
    payload_table_test::ExpectPayloadFreed<name>(#name, FreeEngineEventPayload, sample);
    KESTRUM_ENGINE_MESSAGES(KESTRUM_EXPECT_ROW)
#undef KESTRUM_EXPECT_ROW
}

TEST(EngineMessageTableTest, NumbersOutsideTheTableAreIgnored) {
    const long before = UsedHeapBlocks();
    EngineUidEvent kept{9};
    // A pointer where none is expected would crash if it were freed.
    for (UINT message : {0x605u, 0x60Au, 0x615u, 0x61Au, WM_ENGINE_EVENT, 0x626u}) {
        FreeEngineEventPayload(message, reinterpret_cast<WPARAM>(&kept));
    }
    EXPECT_EQ(UsedHeapBlocks(), before);
    EXPECT_EQ(kept.uid, 9u);
}

}  // namespace
