#include "ui/base/pump/win_io_message_pump.h"

#include <gtest/gtest.h>

#include "ui/base/loop/io_message_loop.h"

namespace kbase {
namespace {

class RecordingHandler : public WinIOMessagePump::IOHandler {
 public:
  void OnIOCompleted(WinIOMessagePump::IOContext* context, DWORD bytes, DWORD error) override {
    last_context = context;
    last_bytes = bytes;
    last_error = error;
    ++completions;
    if (MessageLoop* loop = MessageLoop::Current()) loop->Quit();
  }
  WinIOMessagePump::IOContext* last_context = nullptr;
  DWORD last_bytes = 0;
  DWORD last_error = 0;
  int completions = 0;
};

class CountingObserver : public WinIOMessagePump::IOObserver {
 public:
  void WillProcessIOEvent() override { ++will; }
  void DidProcessIOEvent() override { ++did; }
  int will = 0;
  int did = 0;
};

TEST(WinIOMessagePumpTest, DeliversCompletionsToTheirHandlerAndObservers) {
  IOMessageLoop loop;
  WinIOMessagePump* pump = loop.io_pump();
  ASSERT_NE(pump->completion_port(), nullptr);
  RecordingHandler handler;
  CountingObserver observer;
  pump->AddObserver(&observer);
  WinIOMessagePump::IOContext context = {};
  context.handler = &handler;
  ASSERT_TRUE(PostQueuedCompletionStatus(
      pump->completion_port(), 42, reinterpret_cast<ULONG_PTR>(&handler), &context.overlapped));
  loop.Run();
  pump->RemoveObserver(&observer);
  EXPECT_EQ(handler.completions, 1);
  EXPECT_EQ(handler.last_context, &context);
  EXPECT_EQ(handler.last_bytes, 42u);
  EXPECT_EQ(handler.last_error, 0u);
  EXPECT_EQ(observer.will, 1);
  EXPECT_EQ(observer.did, 1);
}

TEST(WinIOMessagePumpTest, OneWakeUpPacketForManyWakeUps) {
  WinIOMessagePump pump;
  for (int i = 0; i < 10; ++i) pump.WakeUp();
  EXPECT_TRUE(pump.WakeUpPending());
  DWORD bytes;
  ULONG_PTR key;
  OVERLAPPED* overlapped;
  int packets = 0;
  while (GetQueuedCompletionStatus(pump.completion_port(), &bytes, &key, &overlapped, 0)) {
    ++packets;
  }
  EXPECT_EQ(packets, 1);
}

TEST(WinIOMessagePumpTest, AbandonedContextIsFreedWithoutCallingItsHandler) {
  IOMessageLoop loop;
  RecordingHandler handler;
  auto* abandoned = new WinIOMessagePump::IOContext();  // handler cleared: the pump frees it
  ASSERT_TRUE(PostQueuedCompletionStatus(loop.io_pump()->completion_port(), 1,
                                         reinterpret_cast<ULONG_PTR>(&handler),
                                         &abandoned->overlapped));
  loop.PostDelayedTask([&] { loop.Quit(); }, 20000);
  loop.Run();
  EXPECT_EQ(handler.completions, 0);
}

}  // namespace
}  // namespace kbase
