#include "ui/base/thread/thread_registry.h"

#include <gtest/gtest.h>

#include <memory>

#include "kestrum/common/scoped_handle.h"
#include "kestrum/testing/win_wait.h"
#include "ui/base/loop/message_loop_proxy.h"
#include "ui/base/thread/framework_thread_record.h"
#include "ui/base/thread/test_framework_thread.h"

namespace kbase {
namespace {

// Runs f on the framework thread's own loop and waits for its answer.
template <typename F>
auto OnThread(FrameworkThread& thread, F f) {
  decltype(f()) result{};
  const kestrum::common::ScopedHandle done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  thread.LoopProxy()->Post([&] {
    result = f();
    SetEvent(done.get());
  });
  EXPECT_TRUE(kestrum::testing_support::WaitForHandle(done.get()));
  return result;
}

// Posts through the registry and reports whether the task ran on the thread, or -1 when the
// registry refused it.
int PostAndWait(int identifier) {
  const kestrum::common::ScopedHandle done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  auto witness = std::make_shared<int>(0);
  std::weak_ptr<int> watch = witness;
  const bool posted =
      ThreadRegistry::PostTask(identifier, [event = done.get(), witness] { SetEvent(event); });
  witness.reset();
  int result = -1;
  if (posted) result = kestrum::testing_support::WaitForHandle(done.get()) ? 1 : 0;
  if (!posted) {
    EXPECT_TRUE(watch.expired()) << "a refused task must be destroyed";
  }
  return result;
}

TEST(ThreadRegistryTest, RegistrationIsCounted) {
  TestFrameworkThread thread;
  ASSERT_TRUE(thread.Start(FrameworkThread::kDefaultLoop));
  constexpr int kId = 100;
  EXPECT_EQ(PostAndWait(kId), -1);  // before registration
  EXPECT_TRUE(OnThread(thread, [] { return ThreadRegistry::RegisterCurrentThread(kId); }));
  EXPECT_TRUE(OnThread(thread, [] { return ThreadRegistry::RegisterCurrentThread(kId); }));
  EXPECT_EQ(OnThread(thread, [] { return FrameworkThread::CurrentRecord()->registration_count; }),
            2);
  EXPECT_TRUE(OnThread(thread, [] { return ThreadRegistry::UnregisterCurrentThread(); }));
  EXPECT_EQ(PostAndWait(kId), 1);  // still registered once
  EXPECT_TRUE(OnThread(thread, [] { return ThreadRegistry::UnregisterCurrentThread(); }));
  EXPECT_EQ(PostAndWait(kId), -1);  // after the last unregistration
  EXPECT_FALSE(OnThread(thread, [] { return ThreadRegistry::UnregisterCurrentThread(); }));
  EXPECT_EQ(OnThread(thread, [] { return FrameworkThread::CurrentRecord()->registered_id; }), -1);
  thread.StopAndJoin();
}

TEST(ThreadRegistryTest, RefusesBadRegistrationsWithoutChangingAnything) {
  TestFrameworkThread first, second;
  ASSERT_TRUE(first.Start(FrameworkThread::kDefaultLoop));
  ASSERT_TRUE(second.Start(FrameworkThread::kDefaultLoop));
  constexpr int kId = 101;
  EXPECT_FALSE(OnThread(first, [] { return ThreadRegistry::RegisterCurrentThread(-1); }));
  EXPECT_EQ(OnThread(first, [] { return FrameworkThread::CurrentRecord()->registration_count; }),
            0);
  EXPECT_FALSE(ThreadRegistry::RegisterCurrentThread(kId));  // not a framework thread
  EXPECT_TRUE(OnThread(first, [] { return ThreadRegistry::RegisterCurrentThread(kId); }));
  EXPECT_FALSE(OnThread(second, [] { return ThreadRegistry::RegisterCurrentThread(kId); }));
  // A second identifier would outlive the thread after its unregistration.
  EXPECT_FALSE(OnThread(first, [] { return ThreadRegistry::RegisterCurrentThread(kId + 1); }));
  EXPECT_EQ(ThreadRegistry::GetLoopProxy(kId + 1), nullptr);
  EXPECT_EQ(ThreadRegistry::GetLoopProxy(kId), first.LoopProxy());
  EXPECT_FALSE(ThreadRegistry::UnregisterCurrentThread());  // nothing registered here
  EXPECT_TRUE(OnThread(first, [] { return ThreadRegistry::UnregisterCurrentThread(); }));
  first.StopAndJoin();
  second.StopAndJoin();
}

TEST(ThreadRegistryTest, DelayedPostsRunOnTheRegisteredThread) {
  TestFrameworkThread thread;
  ASSERT_TRUE(thread.Start(FrameworkThread::kDefaultLoop));
  constexpr int kId = 102;
  ASSERT_TRUE(OnThread(thread, [] { return ThreadRegistry::RegisterCurrentThread(kId); }));
  const kestrum::common::ScopedHandle done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  DWORD ran_on = 0;
  const DWORD start = GetTickCount();
  ASSERT_TRUE(ThreadRegistry::PostDelayedTask(
      kId,
      [&] {
        ran_on = GetCurrentThreadId();
        SetEvent(done.get());
      },
      30 * 1000));
  ASSERT_TRUE(kestrum::testing_support::WaitForHandle(done.get()));
  EXPECT_GE(GetTickCount() - start, 25u);
  EXPECT_EQ(ran_on, thread.thread_id());
  EXPECT_TRUE(OnThread(thread, [] { return ThreadRegistry::UnregisterCurrentThread(); }));
  thread.StopAndJoin();
}

TEST(ThreadRegistryTest, EndedBodyLeavesNoEntryBehind) {
  constexpr int kId = 103;
  {
    TestFrameworkThread thread;
    thread.before_run = [] { ThreadRegistry::RegisterCurrentThread(kId); };  // never unregistered
    ASSERT_TRUE(thread.Start(FrameworkThread::kDefaultLoop));
    EXPECT_NE(ThreadRegistry::GetLoopProxy(kId), nullptr);
    thread.StopAndJoin();
  }
  EXPECT_EQ(ThreadRegistry::GetLoopProxy(kId), nullptr);
  EXPECT_EQ(PostAndWait(kId), -1);
}

}  // namespace
}  // namespace kbase
