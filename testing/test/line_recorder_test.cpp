#include "kestrum/testing/line_recorder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace kestrum::testing_support {
namespace {

using namespace std::chrono_literals;

TEST(LineRecorderTest, CountsWholeLinesApartFromLinesThatStartWithAPrefix) {
    LineRecorder recorder;
    for (const char* line : {"open", "reconnect:1", "reconnect:10", "open"}) recorder.Add(line);
    EXPECT_EQ(recorder.Count("reconnect:1"), 1u);
    EXPECT_EQ(recorder.CountPrefix("reconnect:1"), 2u);
    EXPECT_EQ(recorder.CountPrefix(""), 4u);
    EXPECT_EQ(recorder.Lines(),
              (std::vector<std::string>{"open", "reconnect:1", "reconnect:10", "open"}));
}

TEST(LineRecorderTest, WaitReturnsOnceAnotherThreadHasWrittenTheCountedLine) {
    LineRecorder recorder;
    std::thread writer([&] {
        for (int i = 0; i < 3; ++i) {
            std::this_thread::sleep_for(10ms);
            recorder.Add("msg(" + std::to_string(i) + ")");
        }
    });
    EXPECT_TRUE(recorder.WaitForPrefix("msg(", 3));
    EXPECT_EQ(recorder.Count("msg(2)"), 1u);
    writer.join();
}

TEST(LineRecorderTest, WaitsGiveUpWithFalseWhenTooFewLinesCame) {
    LineRecorder recorder;
    recorder.Add("open");
    EXPECT_FALSE(recorder.WaitFor("open", 2, 50ms));
    EXPECT_FALSE(recorder.WaitForPrefix("close", 1, 50ms));
    EXPECT_FALSE(recorder.WaitUntil(
        [](const std::vector<std::string>& lines) { return lines.size() > 1; }, 50ms));
    EXPECT_TRUE(recorder.WaitFor("open", 1, 0ms));
}

}  // namespace
}  // namespace kestrum::testing_support
