#include "app/player/PlayerControls.h"
#include "app/player/PlayerClock.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class PlayerControlsTest : public ::testing::Test {
protected:
    // Presses a key with three scene cameras and the view at the origin looking along +x.
    bool press(WPARAM key) {
        return controls.keyDown(key, cameras, Vec4(0, 0, 0, 1), Vec4(1, 0, 0, 1));
    }
    // Plays from where the clock is: the clock as the next run of the show has it.
    void restartAndCatchUp() {
        clock.restarted();
        while (clock.catchingUp()) {
            clock.nextStep(0.0);
        }
    }

    PlayerClock clock{{10.0, 25.0, 35.0}};
    CameraChoice camera;
    PlayerControls controls{clock, camera};
    std::vector<std::string> cameras{"Camera01", "Camera02", "Camera03"};
};

} // namespace

TEST_F(PlayerControlsTest, ArrowsSeekBySecondsAndTensOfSecondsAndSpacePauses) {
    EXPECT_TRUE(press(VK_UP));
    EXPECT_DOUBLE_EQ(clock.position(), 10.0);
    EXPECT_TRUE(press(VK_RIGHT));
    EXPECT_DOUBLE_EQ(clock.position(), 11.0) << "adds to the target not reached yet";
    restartAndCatchUp();
    EXPECT_TRUE(press(VK_LEFT));
    EXPECT_TRUE(clock.restartWanted());
    EXPECT_DOUBLE_EQ(clock.position(), 10.0);
    EXPECT_TRUE(press(VK_DOWN));
    EXPECT_DOUBLE_EQ(clock.position(), 0.0);
    EXPECT_TRUE(press(VK_SPACE));
    EXPECT_TRUE(clock.paused());
    EXPECT_TRUE(press(VK_SPACE));
    EXPECT_FALSE(clock.paused());
}

TEST_F(PlayerControlsTest, LoopKeysMarkFromAndToAroundWhereTheShowIs) {
    clock.seekTo(20.0);
    restartAndCatchUp();
    EXPECT_TRUE(press('I'));
    EXPECT_TRUE(clock.looping());
    EXPECT_DOUBLE_EQ(clock.loopFrom(), 20.0);
    EXPECT_DOUBLE_EQ(clock.loopTo(), 70.0) << "to the end until a loop end is marked";
    clock.seekTo(26.0);
    restartAndCatchUp();
    EXPECT_TRUE(press('O'));
    EXPECT_DOUBLE_EQ(clock.loopFrom(), 20.0);
    EXPECT_DOUBLE_EQ(clock.loopTo(), 26.0);
    EXPECT_TRUE(press('L'));
    EXPECT_FALSE(clock.looping());
}

TEST_F(PlayerControlsTest, NumbersChooseTheScenesCamerasAndLeavingOneReplaysTheShow) {
    clock.seekTo(12.0);
    restartAndCatchUp();
    EXPECT_TRUE(press('2'));
    EXPECT_EQ(camera.mode, CameraChoice::Mode::Named);
    EXPECT_EQ(camera.name, "Camera02");
    EXPECT_FALSE(clock.restartWanted());
    EXPECT_TRUE(press('9')) << "a camera the scene lacks changes nothing";
    EXPECT_EQ(camera.name, "Camera02");
    EXPECT_FALSE(clock.restartWanted());
    // Camera02 advanced beside the script's camera: back to the script, the show is played
    // again up to the same moment.
    EXPECT_TRUE(press('0'));
    EXPECT_EQ(camera.mode, CameraChoice::Mode::Script);
    EXPECT_TRUE(clock.restartWanted());
    EXPECT_DOUBLE_EQ(clock.position(), 12.0);
}

TEST_F(PlayerControlsTest, TheFreeCameraStartsFromTheViewShown) {
    EXPECT_TRUE(press('F'));
    EXPECT_EQ(camera.mode, CameraChoice::Mode::Free);
    EXPECT_NEAR(camera.free.direction().x, 1.0f, 1e-5f);
    camera.free.move(2.0f, 0.0f, 0.0f);
    EXPECT_TRUE(press('F'));
    EXPECT_NEAR(camera.free.eye().x, 2.0f, 1e-5f) << "pressed again, it stays where it flew";
    EXPECT_FALSE(clock.restartWanted());
}

TEST_F(PlayerControlsTest, OtherKeysAreNotThePlayers) {
    EXPECT_TRUE(press('H'));
    EXPECT_FALSE(controls.overlayVisible);
    EXPECT_FALSE(press('W'));
    EXPECT_FALSE(press(VK_ESCAPE));
    EXPECT_FALSE(press(VK_F5));
}
