// Work that may crash, run in a child process.
#include "tools/scene-import/ChildRun.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>

namespace {

using sceneimport::runsToEnd;

TEST(ChildRun, WorkThatReturnsRunsToEnd) {
    std::string why = "untouched";
    EXPECT_TRUE(runsToEnd([] {}, why));
    EXPECT_EQ(why, "untouched");
    EXPECT_TRUE(runsToEnd([] { throw 1; }, why)) << "an exception ends the work normally";
}

TEST(ChildRun, ACrashOrAnExitBecomesOneLine) {
    std::string why;
    EXPECT_FALSE(runsToEnd([] { std::raise(SIGSEGV); }, why));
    EXPECT_NE(why.find("crashed"), std::string::npos) << why;
    EXPECT_EQ(why.find('\n'), std::string::npos) << why;
    EXPECT_FALSE(runsToEnd([] { std::exit(3); }, why));
    EXPECT_NE(why.find("exit 3"), std::string::npos) << why;
}

} // namespace
