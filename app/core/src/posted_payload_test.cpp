#include "kestrum/core/posted_payload.h"

#include <gtest/gtest.h>

#include <string>

#include "message_window.h"

namespace {

// A record that counts its living instances, so that a test sees whether it was freed.
struct Counted {
    explicit Counted(int value) : value(value) { ++living; }
    Counted(const Counted&) = delete;
    Counted& operator=(const Counted&) = delete;
    ~Counted() { --living; }

    static int living;
    int value;
};
int Counted::living = 0;

// A family of test messages, one of each kind of payload.
#define KESTRUM_TEST_MESSAGES(X)              \
    X(WM_TEST_RECORD, WM_APP + 0x71, Counted) \
    X(WM_TEST_EMPTY, WM_APP + 0x72, void)     \
    X(WM_TEST_VALUE, WM_APP + 0x73, InWParam<int>)

enum TestMessage : UINT { KESTRUM_TEST_MESSAGES(KESTRUM_MESSAGE_ENUMERATOR) };

}  // namespace

KESTRUM_TEST_MESSAGES(KESTRUM_MESSAGE_PAYLOAD)

namespace {

KESTRUM_DEFINE_PAYLOAD_FREE(FreeTestPayload, KESTRUM_TEST_MESSAGES)

// A window's handler as the receivers write it: the record is taken back first, then the handler
// may leave on any path.
int OnTestRecord(WPARAM wParam) {
    const auto record = TakePayload<WM_TEST_RECORD>(wParam);
    if (!record) return 0;
    if (record->value < 0) return -1;
    return record->value;
}

class PostedPayloadTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(window_.handle(), nullptr);
        Counted::living = 0;
    }

    static HWND GoneWindow() {
        HWND gone = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    nullptr, nullptr);
        DestroyWindow(gone);
        return gone;
    }

    // The next queued message of window in the test range.
    bool take(const MessageWindow& window, MSG& message) {
        return window.take(message, WM_TEST_RECORD, WM_TEST_VALUE);
    }

    MessageWindow window_;
};

// ---- Posting --------------------------------------------------------------------------------

TEST_F(PostedPayloadTest, PostedRecordBelongsToTheWindowUntilItsHandlerTakesIt) {
    auto record = NewRecord<Counted>(7);
    const Counted* address = record.get();
    EXPECT_TRUE(PostPayload<WM_TEST_RECORD>(window_.handle(), std::move(record)));
    EXPECT_EQ(Counted::living, 1);

    MSG message;
    ASSERT_TRUE(take(window_, message));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_TEST_RECORD));
    EXPECT_EQ(message.wParam, reinterpret_cast<WPARAM>(address));
    EXPECT_EQ(message.lParam, 0);
    EXPECT_EQ(OnTestRecord(message.wParam), 7);
    EXPECT_EQ(Counted::living, 0);
}

TEST_F(PostedPayloadTest, RecordIsFreedWhenThereIsNoWindow) {
    EXPECT_FALSE(PostPayload<WM_TEST_RECORD>(nullptr, NewRecord<Counted>(1)));
    EXPECT_EQ(Counted::living, 0);
    MSG message;
    EXPECT_FALSE(PeekMessageW(&message, nullptr, WM_TEST_RECORD, WM_TEST_VALUE, PM_REMOVE))
        << "a null window must not post to the thread's own queue";
}

TEST_F(PostedPayloadTest, RecordIsFreedWhenTheWindowIsGone) {
    EXPECT_FALSE(PostPayload<WM_TEST_RECORD>(GoneWindow(), NewRecord<Counted>(1)));
    EXPECT_EQ(Counted::living, 0);
}

TEST_F(PostedPayloadTest, EmptyAndValueMessagesCarryNothingToFree) {
    EXPECT_TRUE(PostEmpty<WM_TEST_EMPTY>(window_.handle()));
    EXPECT_TRUE(PostValue<WM_TEST_VALUE>(window_.handle(), -28));
    EXPECT_FALSE(PostEmpty<WM_TEST_EMPTY>(nullptr));
    EXPECT_FALSE(PostValue<WM_TEST_VALUE>(GoneWindow(), 1));

    MSG empty;
    ASSERT_TRUE(take(window_, empty));
    EXPECT_EQ(empty.message, static_cast<UINT>(WM_TEST_EMPTY));
    EXPECT_EQ(empty.wParam, 0u);
    MSG value;
    ASSERT_TRUE(take(window_, value));
    EXPECT_EQ(ValueOf<WM_TEST_VALUE>(value.wParam), -28);
}

// ---- Receiving ------------------------------------------------------------------------------

TEST_F(PostedPayloadTest, HandlerFreesTheRecordOnAnEarlyReturn) {
    ASSERT_TRUE(PostPayload<WM_TEST_RECORD>(window_.handle(), NewRecord<Counted>(-1)));
    MSG message;
    ASSERT_TRUE(take(window_, message));
    EXPECT_EQ(OnTestRecord(message.wParam), -1);
    EXPECT_EQ(Counted::living, 0);
    EXPECT_EQ(OnTestRecord(0), 0) << "a null record is taken as nothing";
}

TEST_F(PostedPayloadTest, FreeFunctionOfATableFreesRecordsAndLeavesOtherPayloadsAlone) {
    FreeTestPayload(WM_TEST_RECORD, reinterpret_cast<WPARAM>(NewRecord<Counted>(1).release()));
    EXPECT_EQ(Counted::living, 0);
    FreeTestPayload(WM_TEST_RECORD, 0);
    // A pointer where none is expected would crash if it were freed.
    Counted kept(2);
    FreeTestPayload(WM_TEST_EMPTY, reinterpret_cast<WPARAM>(&kept));
    FreeTestPayload(WM_TEST_VALUE, reinterpret_cast<WPARAM>(&kept));
    FreeTestPayload(WM_TEST_VALUE + 1, reinterpret_cast<WPARAM>(&kept));
    EXPECT_EQ(Counted::living, 1);
}

TEST_F(PostedPayloadTest, QueuedRecordsOfAWindowThatGoesAreFreedAndOthersStay) {
    MessageWindow other;
    ASSERT_TRUE(PostPayload<WM_TEST_RECORD>(window_.handle(), NewRecord<Counted>(1)));
    ASSERT_TRUE(PostEmpty<WM_TEST_EMPTY>(window_.handle()));
    ASSERT_TRUE(PostPayload<WM_TEST_RECORD>(window_.handle(), NewRecord<Counted>(2)));
    ASSERT_TRUE(PostPayload<WM_TEST_RECORD>(other.handle(), NewRecord<Counted>(3)));

    FreeQueuedPayloads(window_.handle(), WM_TEST_RECORD, WM_TEST_VALUE, FreeTestPayload);
    EXPECT_EQ(Counted::living, 1);
    MSG message;
    EXPECT_FALSE(take(window_, message));
    ASSERT_TRUE(take(other, message));
    EXPECT_EQ(OnTestRecord(message.wParam), 3);
}

}  // namespace
