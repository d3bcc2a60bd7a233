#include "kestrum/common/scoped_restore.h"
#include "kestrum/common/scope_exit.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

using kestrum::common::ScopedRestore;
using kestrum::common::ScopeExit;

TEST(ScopedRestoreTest, SetsTheNewValueForTheScopeAndBringsTheOldOneBack) {
    std::string mode = "outer";
    {
        ScopedRestore restore(mode, std::string("inner"));
        EXPECT_EQ(mode, "inner");
        mode = "changed in between";
    }
    EXPECT_EQ(mode, "outer");
}

TEST(ScopedRestoreTest, NestedRestoresUnwindInOrderAlsoThroughAnException) {
    int depth = 0;
    int* slot = nullptr;
    int state = 1;
    try {
        ScopedRestore outer(depth, 1);
        ScopedRestore pointer(slot, &state);  // the variable decides the type
        {
            ScopedRestore inner(depth, 2);
            EXPECT_EQ(depth, 2);
        }
        EXPECT_EQ(depth, 1);
        throw std::runtime_error("task failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(depth, 0);
    EXPECT_EQ(slot, nullptr);
}

TEST(ScopeExitTest, RunsOnceOnEveryWayOutOfTheScope) {
    int runs = 0;
    {
        const ScopeExit count([&] { ++runs; });
    }
    EXPECT_EQ(runs, 1);
    try {
        const ScopeExit count([&] { ++runs; });
        throw std::runtime_error("task failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(runs, 2);
}

}  // namespace
