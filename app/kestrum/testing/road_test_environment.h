#pragma once

#include <gtest/gtest.h>

#include <utility>

#include "app/windows/join/dui_login.h"
#include "join_test_support.h"
#include "kestrum/core/kestrum_data.h"
#include "program_table_testing.h"
#include "road_environment.h"

namespace road_testing {

// The road as a test program's environment: started before its first test, stopped after its
// last. A test's SetUp asserts RoadReady(). gtest owns registered environments.
class RoadTestEnvironment : public ::testing::Environment {
public:
    explicit RoadTestEnvironment(RoadOptions options) : options_(std::move(options)) {}
    void SetUp() override { StartRoad(options_); }
    void TearDown() override { StopRoad(); }

private:
    RoadOptions options_;
};

// Whether the road started and its join window is laid out, signed in and lets the user join,
// waiting for that at most the tests' timeout; the failure says what did not come.
inline ::testing::AssertionResult RoadReady() {
    using namespace join_testing;
    if (!RoadStarted()) {
        return ::testing::AssertionFailure()
               << "the test back-end did not start or libVossary.dll did not load";
    }
    if (!AwaitLaidOut(JoinWindow())) return ::testing::AssertionFailure() << "no join window";
    if (!PumpUntil([] {
            return !MeetingData().token.empty() && Control(JoinWindow(), L"joinbtn")->IsEnabled();
        })) {
        return ::testing::AssertionFailure() << "no sign-in";
    }
    return ::testing::AssertionSuccess();
}

}  // namespace road_testing
