#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include "kestrum/core/posted_payload.h"
#include "kestrum/testing/heap_blocks.h"

// The check that the message-table tests run for every row of a table: a record of the row's
// payload type is given back whole by the table's free function.
namespace payload_table_test {

// Selects the sample record of one payload type: each test defines Sample(Tag<Payload>) for every
// payload type of its table, with texts and lists filled so that a free that drops an inner block
// shows in the heap count.
template <class Payload>
struct Tag {};

// Builds the sample of kMessage's payload with sample(Tag<Payload>{}), frees it through free and
// expects the heap count back where it was; the WPARAM of a message without a record is a plain
// value, which free must leave alone.
template <UINT kMessage, class Sampler>
void ExpectPayloadFreed(const char* name, void (*free)(UINT, WPARAM), Sampler sample) {
    using kestrum::testing_support::UsedHeapBlocks;
    using Payload = PayloadOf<kMessage>;
    const long before = UsedHeapBlocks();
    if constexpr (IsPayloadRecord<Payload>::value) {
        const WPARAM record = reinterpret_cast<WPARAM>(sample(Tag<Payload>{}).release());
        ASSERT_GT(UsedHeapBlocks(), before) << name;
        free(kMessage, record);
    } else {
        free(kMessage, 28);
    }
    EXPECT_EQ(UsedHeapBlocks(), before) << name;
}

}  // namespace payload_table_test
