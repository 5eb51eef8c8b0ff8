#include "engine/render/AttenuationVolume.h"

#include <gtest/gtest.h>

TEST(AttenuationVolume, FullAtTheLightFallingWithDistanceToFourAtTheFarCorner) {
    EXPECT_EQ(attenuationTexel(0, 0, 0), 255);
    EXPECT_EQ(attenuationTexel(15, 15, 15), 4);
    EXPECT_EQ(attenuationTexel(3, 5, 7), attenuationTexel(7, 3, 5));
    EXPECT_EQ(attenuationTexel(8, 0, 0), 39); // 255 / (1 + 22 / 4) = 39.2
    for (int x = 1; x < kAttenuationVolumeSize; ++x) {
        EXPECT_LT(attenuationTexel(x, 0, 0), attenuationTexel(x - 1, 0, 0));
    }
}
