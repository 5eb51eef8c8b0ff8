#include "RenderFixture.h"

#include <cstring>

namespace {

class SpritePass : public RenderFixture {
protected:
    Sprite& addSprite(Texture* texture, int32_t blendMode) {
        Sprite& sprite = sprites.emplace_back();
        sprite.texture = texture;
        sprite.blendMode = blendMode;
        sprite.colour = Vec4(1, 1, 1, 1);
        sprite.topLeft = Vec4(0, 0, 0, 1);
        sprite.bottomRight = Vec4(1, 1, 0, 1);
        engine.addSprite(&sprite);
        return sprite;
    }
    std::vector<std::string> run() {
        device.clearCalls();
        engine.spritePass();
        return calls();
    }
    std::deque<Sprite> sprites;
};

} // namespace

TEST_F(SpritePass, FullScreenSpriteStatesAndVertices) {
    addSprite(addTexture("intro"), 0);
    const std::vector<std::string> all = run();
    EXPECT_EQ(all.front(), "SetFVF(0x144)");
    EXPECT_EQ(all[1], renderState(D3DRS_ZENABLE, FALSE));
    // Blend mode 0 is opaque; the pixel tests check what the stages compute.
    EXPECT_EQ(device.callsStartingWith("SetRenderState(ALPHABLENDENABLE"),
              (std::vector<std::string>{renderState(D3DRS_ALPHABLENDENABLE, FALSE)}));
    EXPECT_EQ(all.back(), drawUp(2, 28));
    ASSERT_EQ(device.lastVertices.size(), 6 * sizeof(SpriteVertex));
    SpriteVertex last;
    std::memcpy(&last, device.lastVertices.data() + 5 * sizeof(SpriteVertex), sizeof last);
    EXPECT_EQ(last.x, 639.0f);
    EXPECT_EQ(last.y, 479.0f);
}
TEST_F(SpritePass, SameTextureAndModeShareOneDraw) {
    Texture* texture = addTexture("t");
    addSprite(texture, 3);
    addSprite(texture, 3);
    run();
    EXPECT_EQ(device.callsStartingWith("Draw"), (std::vector<std::string>{drawUp(4, 28)}));
    EXPECT_EQ(device.callsStartingWith("SetRenderState(SRCBLEND"),
              (std::vector<std::string>{renderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA)}));
}

TEST_F(SpritePass, QueueOrderIsDrawOrder) {
    addSprite(addTexture("first"), 0);
    addSprite(addTexture("second"), 0);
    run();
    EXPECT_EQ(device.callsStartingWith("SetTexture("),
              (std::vector<std::string>{setTexture(0, "first"), setTexture(0, "second")}));
    EXPECT_EQ(device.drawCalls, 2);
}

TEST_F(SpritePass, EmptyTextureClearsTheStage) {
    addSprite(addEmptyTexture(), 0);
    run();
    EXPECT_EQ(device.callsStartingWith("SetTexture("),
              (std::vector<std::string>{setTexture(0, "null")}));
}

TEST_F(SpritePass, SpriteMustBeQueuedEveryFrame) {
    addSprite(addTexture("once"), 0);
    renderFrame();
    device.clearCalls();
    renderFrame();
    EXPECT_EQ(device.callsStartingWith("DrawPrimitiveUP"), std::vector<std::string>{});
    EXPECT_TRUE(run().empty()) << "an empty queue touches nothing";
}