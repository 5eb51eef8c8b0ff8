#include "RenderFixture.h"

#include <algorithm>

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
    const std::vector<std::string> start = {
        renderState(D3DRS_ALPHABLENDENABLE, FALSE),
        renderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL),
        renderState(D3DRS_ZWRITEENABLE, TRUE),
        stageState(0, D3DTSS_TEXCOORDINDEX, 0),
        stageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE),
        stageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE),
        stageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE),
        stageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1),
        stageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE),
        "SetVertexShader(NullVS)",
        "SetRenderTarget(0, texture1.surface)",
        "Clear(0, 3, FF000000, 1, 0)",
    };
    EXPECT_EQ(std::vector<std::string>(all.begin(), all.begin() + start.size()), start);
    const std::vector<std::string> blur = {
        renderState(D3DRS_ZWRITEENABLE, FALSE),
        "SetVertexShader(GlowVS)",
        "SetPixelShader(GlowPS)",
        renderState(D3DRS_ZFUNC, D3DCMP_ALWAYS),
        renderState(D3DRS_CULLMODE, D3DCULL_NONE),
        samplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP),
        samplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP),
        "SetRenderTarget(0, texture2.surface)",
        setTexture(0, "texture1"),
        "SetFVF(0x102)",
        drawUp(2, 20),
        "SetRenderTarget(0, texture1.surface)",
        setTexture(0, "texture2"),
        "SetFVF(0x102)",
        drawUp(2, 20),
        // The blurred glow goes onto the screen through the texture stage, one texel a pixel,
        // in the glow colour; the texture factor is left white for the ambient pass.
        "SetPixelShader(null)",
        renderState(D3DRS_TEXTUREFACTOR, 0xFFFFFFFFu),
        stageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE),
        stageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE),
        stageState(0, D3DTSS_COLORARG2, D3DTA_TFACTOR),
        stageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1),
        stageState(0, D3DTSS_ALPHAARG1, D3DTA_TFACTOR),
        "SetRenderTarget(0, backbuffer)",
        renderState(D3DRS_ALPHABLENDENABLE, TRUE),
        renderState(D3DRS_SRCBLEND, D3DBLEND_ONE),
        renderState(D3DRS_DESTBLEND, D3DBLEND_ONE),
        setTexture(0, "texture1"),
        "SetFVF(0x102)",
        drawUp(2, 20),
        renderState(D3DRS_TEXTUREFACTOR, 0xFFFFFFFFu),
        renderState(D3DRS_CULLMODE, D3DCULL_CW),
    };
    EXPECT_EQ(std::vector<std::string>(all.end() - blur.size(), all.end()), blur);
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
