#include "tools/showgen/DetMath.h"
#include "tools/showgen/Noise.h"

#include <gtest/gtest.h>

#include <cmath>

namespace dm = showgen::detmath;

TEST(ShowgenMath, ElementaryFunctionsMatchTheLibraryClosely) {
    for (double x = -40.0; x <= 40.0; x += 0.0173) {
        EXPECT_NEAR(dm::sin(x), std::sin(x), 1e-10) << x;
        EXPECT_NEAR(dm::cos(x), std::cos(x), 1e-10) << x;
        EXPECT_NEAR(dm::tanh(x), std::tanh(x), 1e-12) << x;
        EXPECT_NEAR(dm::exp(x) / std::exp(x), 1.0, 1e-12) << x;
        EXPECT_NEAR(dm::atan2(x, 3.0), std::atan2(x, 3.0), 1e-12) << x;
        EXPECT_NEAR(dm::atan2(-3.0, x), std::atan2(-3.0, x), 1e-12) << x;
    }
    for (double x = 1e-6; x < 1e6; x *= 1.37) {
        EXPECT_NEAR(dm::log(x), std::log(x), 1e-12 * std::max(1.0, std::fabs(std::log(x)))) << x;
        EXPECT_NEAR(dm::pow(x, 0.8) / std::pow(x, 0.8), 1.0, 1e-11) << x;
    }
    EXPECT_DOUBLE_EQ(dm::exp2(3.0), 8.0);
}

TEST(ShowgenMath, EdgesOfTheDomainsStayFinite) {
    EXPECT_EQ(dm::exp(-1000.0), 0.0);
    EXPECT_TRUE(std::isfinite(dm::exp(1000.0)));
    EXPECT_LT(dm::log(0.0), -1e200);
    EXPECT_EQ(dm::pow(0.0, 2.0), 0.0);
    EXPECT_EQ(dm::atan2(0.0, 0.0), 0.0);
    EXPECT_NEAR(dm::atan2(0.0, -1.0), dm::kPi, 1e-15);
    EXPECT_EQ(dm::tanh(50.0), 1.0);
}

TEST(ShowgenNoise, TilesSeamlesslyAndStaysInRange) {
    for (double t = 0.0; t < 1.0; t += 0.01) {
        EXPECT_NEAR(showgen::valueNoise(0.0, t, 8, 3u), showgen::valueNoise(1.0, t, 8, 3u), 1e-12);
        EXPECT_NEAR(showgen::fractalNoise(t, 0.0, 4, 16, 5, 0.5, 9u),
                    showgen::fractalNoise(t, 1.0, 4, 16, 5, 0.5, 9u), 1e-12);
        const showgen::CellSample a = showgen::cellNoise(0.0, t, 6, 1u);
        const showgen::CellSample b = showgen::cellNoise(1.0, t, 6, 1u);
        EXPECT_NEAR(a.nearest, b.nearest, 1e-9);
        EXPECT_EQ(a.id, b.id);
        const double n = showgen::fractalNoise(t, t * 0.7, 4, 6, 0.6, 2u);
        EXPECT_GE(n, 0.0);
        EXPECT_LE(n, 1.0);
    }
}
