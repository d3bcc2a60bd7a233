#include "kestrum/common/scoped_handle.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

using kestrum::common::ScopedHandle;

HANDLE NewEvent() { return CreateEventW(nullptr, TRUE, FALSE, nullptr); }

bool IsOpen(HANDLE handle) {
    DWORD flags = 0;
    return GetHandleInformation(handle, &flags) != FALSE;
}

TEST(ScopedHandleTest, ClosesItsHandleWhenItGoes) {
    HANDLE raw = NewEvent();
    ASSERT_TRUE(IsOpen(raw));
    { ScopedHandle owner(raw); }
    EXPECT_FALSE(IsOpen(raw));
}

TEST(ScopedHandleTest, NullAndInvalidHandleValueAreBothNoHandle) {
    EXPECT_FALSE(ScopedHandle());
    EXPECT_FALSE(ScopedHandle(INVALID_HANDLE_VALUE));
    const ScopedHandle failedOpen(CreateFileW(L"Z:\\no\\such\\folder\\file", GENERIC_READ, 0,
                                              nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(failedOpen);
    EXPECT_EQ(failedOpen.get(), INVALID_HANDLE_VALUE);  // kept as given
    EXPECT_TRUE(ScopedHandle(NewEvent()));
}

TEST(ScopedHandleTest, MovingHandsTheHandleOverAndClosesTheTargetsOwn) {
    HANDLE first = NewEvent();
    HANDLE second = NewEvent();
    ScopedHandle a(first);
    ScopedHandle b(second);
    b = std::move(a);
    EXPECT_FALSE(a);
    EXPECT_EQ(b.get(), first);
    EXPECT_FALSE(IsOpen(second));

    ScopedHandle c(std::move(b));
    EXPECT_FALSE(b);
    EXPECT_EQ(c.get(), first);
    EXPECT_TRUE(IsOpen(first));
}

TEST(ScopedHandleTest, ResetClosesTheOldHandleButKeepsTheOneItAlreadyOwns) {
    HANDLE first = NewEvent();
    HANDLE second = NewEvent();
    ScopedHandle owner(first);
    owner.reset(first);
    EXPECT_TRUE(IsOpen(first));
    owner.reset(second);
    EXPECT_FALSE(IsOpen(first));
    owner.reset();
    EXPECT_FALSE(IsOpen(second));
    EXPECT_FALSE(owner);
}

TEST(ScopedHandleTest, ReleaseGivesTheHandleUpOpen) {
    HANDLE raw = NewEvent();
    {
        ScopedHandle owner(raw);
        EXPECT_EQ(owner.release(), raw);
        EXPECT_FALSE(owner);
    }
    EXPECT_TRUE(IsOpen(raw));
    CloseHandle(raw);
}

}  // namespace
