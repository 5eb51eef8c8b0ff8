// The main of every test program: tests run headless unless the caller chose otherwise (the
// Xvfb tests set their own video driver). Mesa is asked to give a deleted GL object's name to
// the next object made, as newer releases always do and any GL may, so that no test passes only
// because names are not reused. The Direct3D 9 stand-in checks every GL call it makes, and a
// test during which it reported a GL error fails; Mesa's shader cache is off, so that what the
// GL check hears does not depend on which programs an earlier run compiled.
#include <gtest/gtest.h>

#include <cstdlib>

// The stand-in's count of reported GL errors; absent from programs that do not draw.
extern "C" unsigned tarnelix_gl_fault_count() __attribute__((weak));

namespace {

unsigned glFaults() {
    return tarnelix_gl_fault_count ? tarnelix_gl_fault_count() : 0;
}

class GlFaultListener : public ::testing::EmptyTestEventListener {
public:
    void OnTestStart(const ::testing::TestInfo&) override { before_ = glFaults(); }
    void OnTestEnd(const ::testing::TestInfo&) override {
        unsigned after = glFaults();
        if (after > before_) {
            ADD_FAILURE() << after - before_ << " GL error(s) reported during this test (lines "
                          << "starting \"GL error:\" above)";
        }
    }

private:
    unsigned before_ = 0;
};

} // namespace

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("force_gl_names_reuse", "true", 0);
    setenv("TARNELIX_GL_CHECK", "1", 0);
    setenv("MESA_SHADER_CACHE_DISABLE", "true", 0);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new GlFaultListener);
    return RUN_ALL_TESTS();
}
