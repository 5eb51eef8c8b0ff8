// Work run in a child process: what it returns comes back whole, and a crash or a hang there
// is reported instead of reaching the caller. The HLSL compiler relies on it.
#include "shader/ChildProcess.h"

#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <unistd.h>

namespace {

using tarnelix::d3dx::runInChild;

TEST(ChildProcessTest, HandsBackEveryByteTheWorkReturns) {
    std::string big(300000, 'x'); // more than a pipe holds at once
    big[12345] = '\0';
    std::string result;
    std::string failure;
    ASSERT_TRUE(runInChild([&] { return big; }, 10, result, failure)) << failure;
    EXPECT_EQ(result, big);
}

TEST(ChildProcessTest, ACrashOrAHangBecomesAFailure) {
    std::string result;
    std::string failure;
    EXPECT_FALSE(runInChild(
        [] {
            std::raise(SIGSEGV);
            return std::string("never");
        },
        10, result, failure));
    EXPECT_NE(failure.find("crashed"), std::string::npos) << failure;

    EXPECT_FALSE(runInChild(
        [] {
            for (;;) {
                pause();
            }
            return std::string();
        },
        1, result, failure));
    EXPECT_NE(failure.find("did not finish within 1 s"), std::string::npos) << failure;
}

} // namespace
