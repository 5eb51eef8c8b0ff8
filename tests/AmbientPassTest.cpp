#include "RenderFixture.h"

#include <algorithm>

namespace {

class AmbientPass : public RenderFixture {
protected:
    std::vector<std::string> run() {
        queueScene();
        device.clearCalls();
        engine.ambientPass();
        return calls();
    }
};

const std::vector<std::string> kPassStart = {
    renderState(D3DRS_ALPHABLENDENABLE, FALSE),
    renderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL),
    renderState(D3DRS_ZWRITEENABLE, TRUE),
    stageState(0, D3DTSS_TEXCOORDINDEX, 0),
    stageState(0, D3DTSS_COLOROP, D3DTOP_LERP),
    stageState(0, D3DTSS_COLORARG1, D3DTA_TFACTOR),
    stageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE),
    stageState(0, D3DTSS_COLORARG0, D3DTA_TEXTURE | D3DTA_ALPHAREPLICATE),
    stageState(0, D3DTSS_ALPHAOP, D3DTOP_DISABLE),
    stageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE),
    "SetVertexShader(NullVS)",
};

const std::vector<std::string> kPassEnd = {
    renderState(D3DRS_ZWRITEENABLE, FALSE),
    renderState(D3DRS_ALPHATESTENABLE, FALSE),
    renderState(D3DRS_ZFUNC, D3DCMP_EQUAL),
    stageState(0, D3DTSS_ALPHAOP, D3DTOP_DISABLE),
};

std::vector<std::string> concat(std::vector<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

} // namespace

TEST_F(AmbientPass, PlainMaterialDrawsDiffuseWithoutTexture) {
    addObject(addMaterial(), "box");
    EXPECT_EQ(run(), concat({kPassStart,
                             {setTexture(0, "null"), renderState(D3DRS_ALPHATESTENABLE, FALSE),
                              stageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2),
                              stageState(0, D3DTSS_ALPHAOP, D3DTOP_DISABLE), "SetTransform(256)",
                              "DrawSubset(0, box)"},
                             kPassEnd}));
}

TEST_F(AmbientPass, CutOutMaterialTestsTheTextureAlpha) {
    Material& material = addMaterial();
    material.alphaTest = true;
    material.colorTexture = addTexture("leaves");
    addObject(material, "tree");
    const std::vector<std::string> expected = {setTexture(0, "null"),
                                               renderState(D3DRS_ALPHATESTENABLE, TRUE),
                                               stageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2),
                                               stageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1),
                                               setTexture(0, "leaves"),
                                               samplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP),
                                               samplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP),
                                               "SetTransform(256)",
                                               "DrawSubset(0, tree)"};
    EXPECT_EQ(run(), concat({kPassStart, expected, kPassEnd}));
}

TEST_F(AmbientPass, SelfIlluminationOverridesTheCutOut) {
    Material& material = addMaterial();
    material.alphaTest = true;
    material.selfIllum = true;
    material.colorTexture = addTexture("lamp");
    addObject(material, "lamp");
    const std::vector<std::string> all = run();
    const std::vector<std::string> expected = {
        setTexture(0, "null"), renderState(D3DRS_ALPHATESTENABLE, FALSE),
        stageState(0, D3DTSS_COLOROP, D3DTOP_LERP), stageState(0, D3DTSS_ALPHAOP, D3DTOP_DISABLE),
        setTexture(0, "lamp")};
    EXPECT_EQ(std::vector<std::string>(all.begin() + kPassStart.size(),
                                       all.begin() + kPassStart.size() + expected.size()),
              expected);
}

TEST_F(AmbientPass, CutOutFlagWithoutTextureDrawsPlain) {
    Material& material = addMaterial();
    material.alphaTest = true;
    addObject(material, "box");
    const std::vector<std::string> all = run();
    EXPECT_EQ(all[kPassStart.size() + 1], renderState(D3DRS_ALPHATESTENABLE, FALSE));
    EXPECT_EQ(all[kPassStart.size() + 2], stageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2));
}

TEST_F(AmbientPass, InvisibleEntriesAreNotDrawn) {
    Material& material = addMaterial();
    addObject(material, "behind", translation(0, 0, -100)); // behind the camera
    addObject(material, "seen");
    const std::vector<std::string> all = run();
    EXPECT_EQ(std::count(all.begin(), all.end(), "DrawSubset(0, behind)"), 0);
    EXPECT_EQ(std::count(all.begin(), all.end(), "DrawSubset(0, seen)"), 1);
}

TEST_F(AmbientPass, MaterialsInQueueOrderEachWithAllItsEntries) {
    Material& first = addMaterial();
    Material& second = addMaterial();
    addObject(second, "b1");
    addObject(first, "a1");
    addObject(second, "b2");
    std::vector<std::string> draws;
    for (const std::string& call : run()) {
        if (call.rfind("DrawSubset", 0) == 0) {
            draws.push_back(call);
        }
    }
    EXPECT_EQ(draws, (std::vector<std::string>{"DrawSubset(0, b1)", "DrawSubset(0, b2)",
                                               "DrawSubset(0, a1)"}));
}
