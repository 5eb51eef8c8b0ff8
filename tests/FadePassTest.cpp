#include "RenderFixture.h"

#include <cstring>

namespace {

struct FadeVertex {
    float x, y, z, rhw;
    uint32_t colour;
};

class FadePass : public RenderFixture {
protected:
    std::vector<std::string> run(const Vec4& colour, float amount) {
        device.clearCalls();
        engine.fadePass(colour, amount);
        return calls();
    }
    FadeVertex vertex(int i) const {
        FadeVertex v;
        std::memcpy(&v, device.lastVertices.data() + i * sizeof v, sizeof v);
        return v;
    }
};

} // namespace

TEST_F(FadePass, HalfwayToBlack) {
    // The pixel tests check the blend; here, the overlay's vertices.
    EXPECT_EQ(run(Vec4(0, 0, 0, 1), 0.5f).back(), drawUp(2, 20));
    ASSERT_EQ(device.lastVertices.size(), 6 * sizeof(FadeVertex));
    EXPECT_EQ(vertex(0).colour, 0x7F000000u);
    EXPECT_EQ(vertex(2).x, 640.0f);
    EXPECT_EQ(vertex(2).y, 480.0f);
    EXPECT_EQ(vertex(5).x, 0.0f);
}
TEST_F(FadePass, AmountIsClampedAndColourAlphaIgnored) {
    run(Vec4(1.0f, 0.5f, 0.0f, 0.0f), 1.5f);
    EXPECT_EQ(vertex(3).colour, 0xFFFF7F00u);
    run(Vec4(1.0f, 1.0f, 1.0f, 1.0f), -0.2f);
    EXPECT_EQ(vertex(3).colour, 0x00FFFFFFu);
}
