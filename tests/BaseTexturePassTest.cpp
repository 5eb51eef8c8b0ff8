#include "RenderFixture.h"

TEST_F(RenderFixture, BaseTexturePassMultipliesColourAndTexture) {
    Material& flat = addMaterial();
    Material& textured = addMaterial();
    textured.colorTexture = addTexture("bricks");
    addObject(flat, "flat");
    addObject(textured, "wall");
    queueScene();
    device.clearCalls();
    engine.baseTexturePass();
    const std::vector<std::string> expected = {
        renderState(D3DRS_ALPHABLENDENABLE, TRUE),
        renderState(D3DRS_SRCBLEND, D3DBLEND_DESTCOLOR),
        renderState(D3DRS_DESTBLEND, D3DBLEND_ZERO),
        stageState(0, D3DTSS_TEXCOORDINDEX, 0),
        stageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE),
        stageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE),
        stageState(0, D3DTSS_COLORARG2, D3DTA_TEXTURE),
        "SetVertexShader(NullVS)",
        stageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1),
        "SetTransform(256)",
        "DrawSubset(0, flat)",
        stageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE),
        setTexture(0, "bricks"),
        samplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP),
        samplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP),
        "SetTransform(256)",
        "DrawSubset(0, wall)",
        setTexture(0, "null"),
        renderState(D3DRS_ALPHABLENDENABLE, FALSE),
    };
    EXPECT_EQ(calls(), expected);
}
