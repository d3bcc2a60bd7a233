#include "ui/base/loop/message_loop.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "ui/base/loop/io_message_loop.h"
#include "ui/base/loop/message_loop_proxy.h"
#include "ui/base/pump/tick_clock.h"

namespace kbase {
namespace {

// Counts how often tasks holding it are destroyed, to tell "destroyed unrun" from "run".
struct Sentinel {
  explicit Sentinel(int* destroyed) : destroyed(destroyed) {}
  ~Sentinel() { ++*destroyed; }
  int* destroyed;
};

template <typename Loop>
class MessageLoopTest : public ::testing::Test {};

using LoopTypes = ::testing::Types<MessageLoop, IOMessageLoop>;
TYPED_TEST_SUITE(MessageLoopTest, LoopTypes);

TYPED_TEST(MessageLoopTest, RunsTasksInPostingOrderAndQuitsOnlyWhenIdle) {
  TypeParam loop;
  std::vector<int> order;
  loop.PostTask([&] {
    loop.PostTask([&] { order.push_back(2); });
    loop.PostTask([&] { order.push_back(3); });
    loop.Quit();  // the two tasks above are runnable: they still run
    order.push_back(1);
  });
  loop.Run();
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}

TYPED_TEST(MessageLoopTest, DelayedTasksRunByTimeAndEqualTimesInQueueOrder) {
  TypeParam loop;
  std::vector<int> order;
  const int64_t start = NowMicroseconds();
  loop.PostDelayedTask([&] { order.push_back(3); }, 30000);
  for (int i = 0; i < 3; ++i) loop.PostDelayedTask([&order, i] { order.push_back(i); }, 10000);
  loop.PostDelayedTask([&] { loop.Quit(); }, 40000);
  loop.Run();
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3}));
  EXPECT_GE(NowMicroseconds() - start, 39000);
}

TYPED_TEST(MessageLoopTest, WakesWhenAnotherThreadPosts) {
  TypeParam loop;
  std::shared_ptr<MessageLoopProxy> proxy = loop.proxy();
  DWORD ran_on = 0;
  std::thread poster([proxy, &ran_on, &loop] {
    Sleep(20);  // let the loop go to sleep first
    proxy->Post([&] {
      ran_on = GetCurrentThreadId();
      loop.Quit();
    });
  });
  loop.Run();
  poster.join();
  EXPECT_EQ(ran_on, GetCurrentThreadId());
}

TYPED_TEST(MessageLoopTest, DestroyingTheLoopRunsNoQueuedTask) {
  int destroyed = 0;
  int ran = 0;
  {
    TypeParam loop;
    auto sentinel = [&] { return std::make_shared<Sentinel>(&destroyed); };
    // A task whose destruction posts another task: the shutdown must clean that up too.
    struct Reposter {
      MessageLoop* loop;
      int* ran;
      std::shared_ptr<Sentinel> sentinel;
      ~Reposter() {
        if (loop) loop->PostDelayedTask([r = ran] { ++*r; }, 1000);
      }
    };
    auto reposter = std::make_shared<Reposter>(Reposter{&loop, &ran, sentinel()});
    loop.PostTask([s = sentinel(), &ran] { ++ran; });
    loop.PostDelayedTask([s = sentinel(), &ran] { ++ran; }, 1000);
    loop.PostNonNestableTask([s = sentinel(), &ran] { ++ran; });
    loop.PostTask([reposter, &ran] { ++ran; });
    reposter.reset();
  }
  EXPECT_EQ(ran, 0);
  EXPECT_EQ(destroyed, 4);
}

TYPED_TEST(MessageLoopTest, RefusesEmptyTasks) {
  TypeParam loop;
  EXPECT_FALSE(loop.PostTask(Task()));
  EXPECT_FALSE(loop.PostDelayedTask(Task(), 10));
  EXPECT_FALSE(loop.proxy()->Post(Task()));
}

TEST(MessageLoopCurrentTest, IsTheLoopOfTheCallingThreadWhileItLives) {
  EXPECT_EQ(MessageLoop::Current(), nullptr);
  {
    MessageLoop loop;
    EXPECT_EQ(MessageLoop::Current(), &loop);
    MessageLoop* seen_elsewhere = &loop;
    std::thread([&] { seen_elsewhere = MessageLoop::Current(); }).join();
    EXPECT_EQ(seen_elsewhere, nullptr);
  }
  EXPECT_EQ(MessageLoop::Current(), nullptr);
}

TEST(PendingTaskTest, HeapOrderIsRunTimeThenSequence) {
  PendingTask early(Task(), 100, true), late(Task(), 200, true);
  EXPECT_TRUE(late < early);  // later run time sinks
  PendingTask first(Task(), 100, true), second(Task(), 100, true);
  first.sequence_num = 1;
  second.sequence_num = 2;
  EXPECT_TRUE(second < first);
  EXPECT_FALSE(first < second);
}

#if KESTRUM_CHECK_IS_ON()
// Posting is for any thread; running, quitting and observing are the loop thread's.
TEST(MessageLoopDeathTest, QuittingFromAnotherThreadIsCaught) {
  MessageLoop loop;
  std::thread([&loop] { EXPECT_TRUE(loop.PostTask([] {})); }).join();
  EXPECT_DEATH(std::thread([&loop] { loop.Quit(); }).join(),
               "check failed: .*called off the thread of thread_");
}
#endif

}  // namespace
}  // namespace kbase
