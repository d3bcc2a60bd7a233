#include "ui/base/loop/message_loop_proxy.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "ui/base/loop/message_loop.h"

namespace kbase {
namespace {

TEST(MessageLoopProxyTest, PostAfterZeroIsAnImmediateTask) {
  MessageLoop loop;
  std::vector<char> order;
  // A delayed task would go to the delayed queue and run after the immediate one.
  loop.proxy()->PostAfter([&] { order.push_back('a'); }, 0);
  loop.PostTask([&] { order.push_back('b'); });
  loop.PostTask([&] { loop.Quit(); });
  loop.Run();
  EXPECT_EQ(order, (std::vector<char>{'a', 'b'}));
}

TEST(MessageLoopProxyTest, AnswersFalseAndDropsTheTaskOnceTheLoopIsGone) {
  std::shared_ptr<MessageLoopProxy> proxy;
  {
    MessageLoop loop;
    proxy = loop.proxy();
    EXPECT_TRUE(proxy->IsLoopThread());
  }
  auto sentinel = std::make_shared<int>(0);
  std::weak_ptr<int> watch = sentinel;
  bool ran = false;
  EXPECT_FALSE(proxy->Post([s = std::move(sentinel), &ran] { ran = true; }));
  EXPECT_FALSE(proxy->PostAfter([&ran] { ran = true; }, 5));
  EXPECT_FALSE(proxy->PostNonNested([&ran] { ran = true; }));
  EXPECT_FALSE(proxy->IsLoopThread());
  EXPECT_FALSE(ran);
  EXPECT_TRUE(watch.expired());
}

TEST(MessageLoopProxyTest, IsLoopThreadOnlyOnTheLoopsThread) {
  MessageLoop loop;
  std::shared_ptr<MessageLoopProxy> proxy = loop.proxy();
  bool elsewhere = true;
  std::thread([&] { elsewhere = proxy->IsLoopThread(); }).join();
  EXPECT_FALSE(elsewhere);
  EXPECT_TRUE(proxy->IsLoopThread());
}

TEST(MessageLoopProxyTest, LastReleaseAfterTheLoopDiesDeletesAtOnceOnAnyThread) {
  std::shared_ptr<MessageLoopProxy> proxy;
  std::weak_ptr<WeakFlag> alive;
  {
    MessageLoop loop;
    proxy = loop.proxy();
    alive = proxy->AcquireWeakFlag();
  }
  EXPECT_FALSE(alive.expired());
  std::thread([p = std::move(proxy)]() mutable { p.reset(); }).join();
  EXPECT_TRUE(alive.expired());
}

TEST(MessageLoopProxyTest, PostsFromManyThreadsAllArrive) {
  MessageLoop loop;
  std::shared_ptr<MessageLoopProxy> proxy = loop.proxy();
  constexpr int kThreads = 4, kPosts = 200;
  int ran = 0;
  std::vector<std::thread> posters;
  for (int t = 0; t < kThreads; ++t) {
    posters.emplace_back([proxy, &ran] {
      for (int i = 0; i < kPosts; ++i) proxy->Post([&ran] { ++ran; });
    });
  }
  for (std::thread& poster : posters) poster.join();
  loop.PostTask([&] { loop.Quit(); });
  loop.Run();
  EXPECT_EQ(ran, kThreads * kPosts);
}

}  // namespace
}  // namespace kbase
