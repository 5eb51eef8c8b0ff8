#include "RenderFixture.h"

#include "engine/render/AttenuationVolume.h"

#include <algorithm>

TEST_F(RenderFixture, AttenuationVolumeHoldsTheFalloff) {
    const std::vector<unsigned char>& texels = device.volumeTexels;
    ASSERT_EQ(texels.size(), 16u * 16u * 16u * 4u);
    // Blue-green-red-alpha: the falloff in every colour channel, alpha opaque.
    for (int i = 0; i < 16 * 16 * 16; ++i) {
        const int x = i % 16, y = i / 16 % 16, z = i / 256;
        const unsigned char* texel = &texels[static_cast<size_t>(i) * 4];
        ASSERT_EQ(texel[0], attenuationTexel(x, y, z)) << x << "," << y << "," << z;
        ASSERT_EQ(texel[1], texel[0]);
        ASSERT_EQ(texel[2], texel[0]);
        ASSERT_EQ(texel[3], 255);
    }
}

TEST(RenderEngineSizes, GlowTargetsAreHalfThePowerOfTwoBelowTheScreen) {
    const int sizes[][4] = {{1024, 768, 512, 256}, {800, 600, 256, 256}, {640, 480, 256, 128}};
    for (const auto& size : sizes) {
        CallRecordingDevice device;
        setProgramDevice(&device);
        RenderEngine engine;
        engine.init(&device, size[0], size[1]);
        EXPECT_EQ(engine.glowWidth, size[2]);
        EXPECT_EQ(engine.glowHeight, size[3]);
        engine.release();
        EXPECT_EQ(device.liveObjects, 0);
        setProgramDevice(nullptr);
    }
}

TEST_F(RenderFixture, ReleaseGivesEverythingBack) {
    const int textures = static_cast<int>(this->textures.size());
    engine.release();
    EXPECT_EQ(engine.attenuationVolume, nullptr);
    EXPECT_EQ(engine.glowTextureA, nullptr);
    EXPECT_EQ(engine.backBufferSurface, nullptr);
    EXPECT_EQ(device.liveObjects, textures);
}

TEST_F(RenderFixture, FullFadeOnlyClears) {
    Material& material = addMaterial();
    addObject(material, "box");
    addLight(Vec4(0, 2, 0, 1), 5.0f);
    renderFrame(Vec4(1.0f, 0.5f, 0.0f, 0.0f), 1.0f);
    EXPECT_EQ(device.calls, (std::vector<std::string>{"Clear(0, 3, FFFF7F00, 1, 0)"}));
    EXPECT_EQ(engine.frameCounter, 1u);
    EXPECT_EQ(engine.materialQueue.count(), 0);
    EXPECT_EQ(engine.lightQueue.count(), 0);
    // The next frame draws exactly what it is given: one entry, lit once.
    device.clearCalls();
    renderFrame();
    EXPECT_EQ(material.drawList.count(), 1);
    EXPECT_EQ(material.drawList[0].lights.count(), 1);
}

TEST_F(RenderFixture, FrameRunsThePassesInOrder) {
    Material& glowing = addMaterial();
    glowing.selfIllum = true;
    const SceneObject& box = addObject(glowing, "box");
    engine.backgroundColour = Vec4(0.5f, 1.0f, 0.0f, 1.0f);
    engine.glowEnabled = true;
    renderFrame(Vec4(0, 0, 0, 1), 0.25f);
    const std::vector<std::string>& all = device.calls;
    const std::vector<std::string> milestones = {
        "Clear(0, 3, FF7FFF00, 1, 0)",
        "SetTransform(3)", // projection
        "SetTransform(2)", // view
        renderState(D3DRS_CULLMODE, D3DCULL_CW),
        renderState(D3DRS_ZENABLE, TRUE),
        renderState(D3DRS_LIGHTING, FALSE),
        renderState(D3DRS_ALPHAREF, 128),
        renderState(D3DRS_ALPHAFUNC, D3DCMP_GREATER),
        "BeginScene",
        "SetVertexShader(NullVS)",      // ambient
        "SetVertexShader(NormalMapVS)", // lights
        "SetVertexShader(NullVS)",      // base texture
        "SetVertexShader(GlowVS)",      // glow
        "SetFVF(0x44)",                 // fade
        "EndScene",
    };
    int at = 0;
    for (const std::string& milestone : milestones) {
        const int found = device.find(milestone, at);
        EXPECT_GE(found, at) << milestone;
        at = found < 0 ? at : found + 1;
    }
    EXPECT_EQ(all.back(), "EndScene");
    EXPECT_EQ(engine.frameCounter, 1u);
    // The box three times (ambient, base texture, glow occluder), three glow quads, the fade.
    ASSERT_NE(box.mesh, nullptr);
    EXPECT_EQ(engine.lastFrameStatistics.drawCalls, 7u);
    EXPECT_EQ(engine.lastFrameStatistics.triangles, 3 * box.mesh->GetNumFaces() + 8);
    EXPECT_EQ(engine.statistics.drawCalls, 0u) << "counted afresh each frame";
}

TEST_F(RenderFixture, NoFadeDrawsNoOverlay) {
    renderFrame(Vec4(1, 1, 1, 1), 0.0f);
    EXPECT_EQ(device.find("SetFVF(0x44)"), -1);
    EXPECT_EQ(device.find("BeginScene"), 1 + 2 + 5); // clear, two transforms, common states
}
