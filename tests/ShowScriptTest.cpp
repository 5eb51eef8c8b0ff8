// What a capture checks about the show before it plays it.

#include "app/capture/ShowData.h"

#include <gtest/gtest.h>

// The show: a splash to 10 s, cameras to 130 s, a splash to 140 s.
TEST(ShowData, SplashStretchesShowNoCamera) {
    EXPECT_FALSE(camerasShownBetween(0.0, 9.5));
    EXPECT_FALSE(camerasShownBetween(5.0, 5.0));
    EXPECT_FALSE(camerasShownBetween(130.5, 140.0));
    EXPECT_FALSE(camerasShownBetween(135.0, -1.0));
}

TEST(ShowData, AStretchTouchingACameraSegmentShowsOne) {
    EXPECT_TRUE(camerasShownBetween(22.5, 22.5));
    EXPECT_TRUE(camerasShownBetween(9.0, 10.0));
    EXPECT_TRUE(camerasShownBetween(130.0, 131.0));
    EXPECT_TRUE(camerasShownBetween(5.0, -1.0));
    EXPECT_TRUE(camerasShownBetween(0.0, 140.0));
}
