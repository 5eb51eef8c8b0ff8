#include "RenderFixture.h"

#include <algorithm>
#include <iterator>

namespace {

class GlowPass : public RenderFixture {
protected:
    std::vector<std::string> run() {
        queueScene();
        device.clearCalls();
        engine.glowPass();
        return calls();
    }
    // The calls from the one equal to `from` up to, not including, the one equal to `to`.
    std::vector<std::string> between(const std::vector<std::string>& all, const std::string& from,
                                     const std::string& to) {
        auto begin = std::find(all.begin(), all.end(), from);
        auto end = std::find(begin, all.end(), to);
        return std::vector<std::string>(begin, end);
    }
};

} // namespace

TEST_F(GlowPass, FourStepsOnTheirTargets) {
    addObject(addMaterial(), "box");
    const std::vector<std::string> all = run();
    EXPECT_EQ(device.callsStartingWith("SetRenderTarget"),
              (std::vector<std::string>{
                  "SetRenderTarget(0, texture1.surface)", "SetRenderTarget(0, texture2.surface)",
                  "SetRenderTarget(0, texture1.surface)", "SetRenderTarget(0, backbuffer)"}));
    // The occluders draw into the first target, cleared black.
    const auto target = std::find(all.begin(), all.end(), "SetRenderTarget(0, texture1.surface)");
    ASSERT_NE(target, all.end());
    EXPECT_EQ(*(target + 1), "Clear(0, 3, FF000000, 1, 0)");
    // Each blur step reads the other target, clamped at its edges, and the screen reads the
    // last; the pixel tests check what the blur and the additive blend compute.
    std::vector<std::string> reads;
    std::copy_if(all.begin(), all.end(), std::back_inserter(reads), [](const std::string& call) {
        return call.rfind("SetTexture(0, texture", 0) == 0;
    });
    EXPECT_EQ(reads, (std::vector<std::string>{setTexture(0, "texture1"), setTexture(0, "texture2"),
                                               setTexture(0, "texture1")}));
    EXPECT_GE(device.find(samplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP)), 0);
    EXPECT_GE(device.find(samplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP)), 0);
    // Left as the later passes expect: a white texture factor for the ambient pass, and
    // clockwise culling.
    const std::vector<std::string> tail = {drawUp(2, 20),
                                           renderState(D3DRS_TEXTUREFACTOR, 0xFFFFFFFFu),
                                           renderState(D3DRS_CULLMODE, D3DCULL_CW)};
    EXPECT_EQ(std::vector<std::string>(all.end() - tail.size(), all.end()), tail);
}

TEST_F(GlowPass, FourMaterialCases) {
    Material& textured = addMaterial();
    textured.selfIllum = true;
    textured.colorTexture = addTexture("neon");
    Material& flat = addMaterial();
    flat.selfIllum = true;
    Material& cutOut = addMaterial();
    cutOut.alphaTest = true;
    cutOut.colorTexture = addTexture("fence");
    Material& occluder = addMaterial();
    addObject(textured, "sign");
    addObject(flat, "bulb");
    addObject(cutOut, "fence");
    addObject(occluder, "wall");
    const std::vector<std::string> all = run();
    EXPECT_EQ(
        between(all, "SetPixelShader(AlphaPS)", "DrawSubset(0, sign)"),
        (std::vector<std::string>{"SetPixelShader(AlphaPS)", setTexture(0, "neon"),
                                  samplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP),
                                  samplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP),
                                  renderState(D3DRS_ALPHATESTENABLE, FALSE), "SetTransform(256)"}));
    EXPECT_EQ(between(all, "DrawSubset(0, sign)", "DrawSubset(0, bulb)"),
              (std::vector<std::string>{
                  "DrawSubset(0, sign)", "SetPixelShader(null)", setTexture(0, "null"),
                  renderState(D3DRS_ALPHATESTENABLE, FALSE), "SetTransform(256)"}));
    EXPECT_EQ(between(all, "DrawSubset(0, bulb)", "DrawSubset(0, fence)"),
              (std::vector<std::string>{
                  "DrawSubset(0, bulb)", "SetPixelShader(null)", setTexture(0, "fence"),
                  samplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP),
                  samplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP),
                  renderState(D3DRS_ALPHATESTENABLE, TRUE), "SetTransform(256)"}));
    EXPECT_EQ(between(all, "DrawSubset(0, fence)", "DrawSubset(0, wall)"),
              (std::vector<std::string>{
                  "DrawSubset(0, fence)", "SetPixelShader(null)", setTexture(0, "null"),
                  renderState(D3DRS_ALPHATESTENABLE, FALSE), "SetTransform(256)"}));
}

TEST_F(GlowPass, RunsOnlyWhenEnabledAndSomethingGlows) {
    Material& glowing = addMaterial();
    addObject(glowing, "box");
    glowing.selfIllum = true;
    engine.glowEnabled = false;
    renderFrame();
    EXPECT_EQ(device.callsStartingWith("SetRenderTarget"), std::vector<std::string>{});
    engine.glowEnabled = true;
    device.clearCalls();
    renderFrame();
    EXPECT_EQ(device.callsStartingWith("SetRenderTarget").size(), 4u);
    // Nothing glowing: the target would stay black and add nothing.
    glowing.selfIllum = false;
    device.clearCalls();
    renderFrame();
    EXPECT_EQ(device.callsStartingWith("SetRenderTarget"), std::vector<std::string>{});
}
