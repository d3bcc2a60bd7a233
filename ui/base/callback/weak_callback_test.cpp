#include "ui/base/callback/weak_callback.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <thread>

namespace kbase {
namespace {

class Counter : public SupportWeakCallback {
 public:
  void Add(int amount) { total += amount; }
  bool Accept(int value) { return value > 0; }
  int total = 0;
};

TEST(WeakCallbackTest, RunsWhileItsOwnerLivesAndNotAfter) {
  auto owner = std::make_unique<Counter>();
  std::function<void(int)> add = Bind(&Counter::Add, owner.get(), std::placeholders::_1);
  add(2);
  EXPECT_EQ(owner->total, 2);

  int calls = 0;
  std::function<void()> lambda = owner->ToWeakCallback([&calls] { ++calls; });
  owner.reset();
  add(5);  // must not touch the destroyed owner
  lambda();
  EXPECT_EQ(calls, 0);
}

TEST(WeakCallbackTest, ExpiredHandlerAnswersFalse) {
  auto owner = std::make_unique<Counter>();
  std::function<bool(int)> accept = Bind(&Counter::Accept, owner.get(), std::placeholders::_1);
  EXPECT_TRUE(accept(1));
  owner.reset();
  EXPECT_FALSE(accept(1));
}

TEST(WeakCallbackTest, CancelExpiresEarlierCallbacksButNotLaterOnes) {
  WeakCallbackFlag flag;
  int calls = 0;
  auto before = flag.ToWeakCallback([&calls] { ++calls; });
  std::weak_ptr<WeakFlag> old_flag = flag.AcquireWeakFlag();
  flag.Cancel();
  EXPECT_TRUE(before.Expired());
  before();

  std::weak_ptr<WeakFlag> new_flag = flag.AcquireWeakFlag();
  EXPECT_FALSE(new_flag.expired());
  EXPECT_TRUE(old_flag.expired());
  auto after = flag.ToWeakCallback([&calls] { ++calls; });
  after();
  before();
  EXPECT_EQ(calls, 1);
}

TEST(WeakCallbackTest, CopiedOwnerDoesNotShareCallbacks) {
  Counter original;
  auto callback = original.ToWeakCallback([] {});
  {
    Counter copy(original);
    EXPECT_NE(copy.AcquireWeakFlag().lock(), original.AcquireWeakFlag().lock());
    EXPECT_EQ(original.AcquireWeakFlag().lock(), original.AcquireWeakFlag().lock());
  }
  EXPECT_FALSE(callback.Expired());
}

TEST(WeakCallbackTest, ConcurrentAcquisitionsShareOneFlag) {
  for (int round = 0; round < 50; ++round) {
    Counter owner;
    std::weak_ptr<WeakFlag> from_other_thread;
    std::thread other([&] { from_other_thread = owner.AcquireWeakFlag(); });
    std::weak_ptr<WeakFlag> from_this_thread = owner.AcquireWeakFlag();
    other.join();
    ASSERT_FALSE(from_this_thread.owner_before(from_other_thread) ||
                 from_other_thread.owner_before(from_this_thread));
  }
}

}  // namespace
}  // namespace kbase
