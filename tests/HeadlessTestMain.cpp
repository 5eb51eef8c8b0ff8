// The main of every test program: tests run headless unless the caller chose otherwise (the
// Xvfb tests set their own video driver). Mesa is asked to give a deleted GL object's name to
// the next object made, as newer releases always do and any GL may, so that no test passes only
// because names are not reused.
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("force_gl_names_reuse", "true", 0);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
