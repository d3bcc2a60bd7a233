#include "ui/base/thread/framework_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <vector>

#include "ui/base/loop/message_loop.h"
#include "ui/base/loop/message_loop_factory.h"
#include "ui/base/loop/message_loop_proxy.h"
#include "ui/base/thread/framework_thread_record.h"
#include "ui/base/thread/test_framework_thread.h"

namespace kbase {
namespace {

class TaskCounter : public MessageLoop::TaskObserver {
 public:
  void WillProcessTask() override { ++tasks; }
  void DidProcessTask() override {}
  std::atomic<int> tasks{0};
};

TEST(FrameworkThreadTest, HooksSurroundTheLoopAndTheBodyCleansUp) {
  TestFrameworkThread thread;
  std::vector<std::string> events;
  FrameworkThreadRecord* record_in_body = nullptr;
  thread.before_run = [&] {
    events.push_back(thread.message_loop() ? "before with loop" : "before without loop");
    record_in_body = FrameworkThread::CurrentRecord();
  };
  thread.after_run = [&] {
    events.push_back(thread.message_loop() ? "after with loop" : "after without loop");
  };
  ASSERT_TRUE(thread.Start(FrameworkThread::kDefaultLoop));
  EXPECT_NE(thread.thread_id(), 0u);
  EXPECT_NE(thread.thread_id(), GetCurrentThreadId());
  ASSERT_NE(record_in_body, nullptr);
  EXPECT_EQ(record_in_body->thread, &thread);
  EXPECT_NE(thread.LoopProxy(), nullptr);
  thread.StopAndJoin();
  EXPECT_EQ(events, (std::vector<std::string>{"before with loop", "after with loop"}));
  EXPECT_EQ(thread.thread_id(), 0u);
  EXPECT_EQ(thread.message_loop(), nullptr);
  EXPECT_EQ(thread.LoopProxy(), nullptr);
}

TEST(FrameworkThreadTest, RecordSlotIsEmptyAfterTheBodyReturns) {
  class Inline : public FrameworkThread {
   public:
    Inline() : FrameworkThread("Inline") {}
    void BeforeRun() override {
      seen_record = CurrentRecord() != nullptr;
      RequestStop();  // from the loop's own thread, before it runs
    }
    bool seen_record = false;
  } thread;
  thread.RunLoopHere(FrameworkThread::kDefaultLoop, nullptr);
  EXPECT_TRUE(thread.seen_record);
  EXPECT_EQ(FrameworkThread::CurrentRecord(), nullptr);
  EXPECT_EQ(MessageLoop::Current(), nullptr);
  EXPECT_EQ(thread.thread_id(), 0u);
}

TEST(FrameworkThreadTest, StopIsPostedOnceAndSetsExitedCleanly) {
  TestFrameworkThread thread;
  TaskCounter counter;
  bool exited_cleanly = false;
  thread.RequestStop();  // no loop yet: ignored, a later request still counts
  thread.before_run = [&] { thread.message_loop()->AddTaskObserver(&counter); };
  thread.after_run = [&] {
    exited_cleanly = FrameworkThread::CurrentRecord()->exited_cleanly;
    thread.message_loop()->RemoveTaskObserver(&counter);
  };
  ASSERT_TRUE(thread.Start(FrameworkThread::kDefaultLoop));
  thread.RequestStop();
  thread.RequestStop();
  thread.Join();
  EXPECT_EQ(counter.tasks, 1);
  EXPECT_TRUE(exited_cleanly);
}

TEST(FrameworkThreadTest, MarkExitedCleanlyOutsideABodyDoesNothing) {
  FrameworkThread::MarkExitedCleanly(true);
  EXPECT_EQ(FrameworkThread::CurrentRecord(), nullptr);
}

class CountingFactory : public MessageLoopFactory {
 public:
  std::unique_ptr<MessageLoop> CreateMessageLoop() override {
    ++created;
    return std::make_unique<MessageLoop>();
  }
  int created = 0;
};

TEST(FrameworkThreadTest, LoopKindChoosesTheLoop) {
  struct Case {
    int kind;
    MessageLoop::Type type;
  };
  for (const Case& c :
       {Case{FrameworkThread::kIOLoop, MessageLoop::kIO},
        Case{FrameworkThread::kUILoop, MessageLoop::kUI}, Case{7, MessageLoop::kDefault}}) {
    TestFrameworkThread thread;
    MessageLoop::Type seen = MessageLoop::kDefault;
    thread.before_run = [&] { seen = thread.message_loop()->type(); };
    ASSERT_TRUE(thread.Start(c.kind));
    thread.StopAndJoin();
    EXPECT_EQ(seen, c.type) << "kind " << c.kind;
  }
  auto factory = std::make_shared<CountingFactory>();
  TestFrameworkThread custom(factory);
  ASSERT_TRUE(custom.Start(FrameworkThread::kCustomLoop));
  custom.StopAndJoin();
  EXPECT_EQ(factory->created, 1);
  EXPECT_EQ(factory.use_count(), 1);  // released when the body ended
}

}  // namespace
}  // namespace kbase
