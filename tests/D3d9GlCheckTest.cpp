// The GL check (TARNELIX_GL_CHECK=1, which the test main sets): a GL error the stand-in causes
// is one line naming the GL error, the GL call and the Direct3D 9 call the program made, and it
// is counted, by KHR_debug and by the glGetError fallback alike.

#include "D3d9TestDevice.h"

#include "compat/d3d9/src/Gl.h"

#include <gtest/gtest.h>

#include <string>

using tarnelix::test::TestDevice;
namespace d3d9 = tarnelix::d3d9;

namespace {

// Runs a GL call the stand-in would never make (an unknown texture target) as part of the
// named Direct3D 9 calls, outer first; returns what was reported on stderr. The faults it
// causes are taken back off the count, so that the test main does not fail the test for them.
std::string reportOfBadCall(const char* outer, const char* inner, unsigned* faults) {
    unsigned before = d3d9::glFaultCount();
    ::testing::internal::CaptureStderr();
    {
        d3d9::D3d9CallScope outerScope(outer);
        d3d9::D3d9CallScope innerScope(inner);
        glBindTexture(0x1234, 0);
    }
    std::string report = ::testing::internal::GetCapturedStderr();
    *faults = d3d9::glFaultCount() - before;
    d3d9::setGlFaultCount(before);
    return report;
}

} // namespace

TEST(D3d9GlCheck, ReportsAnErrorWithTheCallsThatMadeIt) {
    TestDevice t;
    ASSERT_TRUE(t.ok());
    unsigned faults = 0;
    std::string report = reportOfBadCall("DrawIndexedPrimitive", "Clear", &faults);
    EXPECT_EQ(faults, 1u);
    EXPECT_EQ(
        report.rfind("GL error: GL_INVALID_ENUM in glBindTexture from DrawIndexedPrimitive", 0), 0u)
        << report;
}

TEST(D3d9GlCheck, PollsForErrorsWhereDebugOutputIsMissing) {
    TestDevice t;
    ASSERT_TRUE(t.ok());
    // Where the driver has KHR_debug, its reports are silenced while polling stands in.
    bool debugOutput = !d3d9::glcheck::polling;
    if (debugOutput) {
        glDisable(GL_DEBUG_OUTPUT);
        d3d9::setGlErrorPolling(true);
    }
    unsigned faults = 0;
    std::string report = reportOfBadCall("SetTexture", "SetTexture", &faults);
    if (debugOutput) {
        d3d9::setGlErrorPolling(false);
        glEnable(GL_DEBUG_OUTPUT);
    }
    EXPECT_EQ(faults, 1u);
    EXPECT_EQ(report, "GL error: GL_INVALID_ENUM in glBindTexture from SetTexture\n");
}
