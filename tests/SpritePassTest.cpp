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

TEST_F(SpritePass, EmptyQueueTouchesNothing) {
    EXPECT_TRUE(run().empty());
}

TEST_F(SpritePass, FullScreenSpriteStatesAndVertices) {
    addSprite(addTexture("intro"), 0);
    const std::vector<std::string> expected = {
        "SetFVF(0x144)",
        renderState(D3DRS_ZENABLE, FALSE),
        stageState(0, D3DTSS_TEXCOORDINDEX, 0),
        stageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE),
        stageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE),
        stageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE),
        stageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE),
        stageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE),
        stageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE),
        renderState(D3DRS_ALPHABLENDENABLE, FALSE),
        setTexture(0, "intro"),
        samplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP),
        samplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP),
        drawUp(2, 28),
    };
    EXPECT_EQ(run(), expected);
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
}
