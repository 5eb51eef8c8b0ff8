#include "RenderFixture.h"

#include <algorithm>

namespace {

class LightPass : public RenderFixture {
protected:
    std::vector<std::string> run() {
        queueScene();
        device.clearCalls();
        engine.lightPass();
        return calls();
    }
    int draws(const std::vector<std::string>& all, const std::string& name) {
        return static_cast<int>(std::count(all.begin(), all.end(), "DrawSubset(0, " + name + ")"));
    }
};

Matrix4 scaled(float s) {
    Matrix4 m;
    m.m[0][0] = m.m[1][1] = m.m[2][2] = s;
    return m;
}

} // namespace

TEST_F(LightPass, AssignmentByDistanceToTheBox) {
    Material& material = addMaterial();
    addObject(material, "box"); // box [-1, 1]^3 at the origin
    Light& inside = addLight(Vec4(0.5f, 0, 0, 1), 0.1f);
    Light& touching = addLight(Vec4(4, 0, 0, 1), 3.0f); // distance 3 to the face x = 1
    Light& corner = addLight(Vec4(4, 5, 1, 1), 5.0f);   // distance 5 to the edge: 3-4-5
    Light& short_ = addLight(Vec4(4, 0, 0, 1), 2.99f);
    material.beginFrame(engine.materialQueue, engine.frameCounter);
    material.addDraw(&objects.back(), worlds.back(), engine.frameCounter);
    for (Light* light : {&inside, &touching, &corner, &short_}) {
        RenderEngine::assignLight(material, light);
    }
    const GrowArray<Light*>& assigned = material.drawList[0].lights;
    ASSERT_EQ(assigned.count(), 3);
    EXPECT_EQ(assigned[0], &inside);
    EXPECT_EQ(assigned[1], &touching);
    EXPECT_EQ(assigned[2], &corner);
}

TEST_F(LightPass, RadiusStaysInWorldUnitsUnderScale) {
    Material& material = addMaterial();
    addObject(material, "big", scaled(10.0f)); // world box [-10, 10]^3
    Light& light = addLight(Vec4(15, 0, 0, 1), 6.0f);
    material.beginFrame(engine.materialQueue, engine.frameCounter);
    material.addDraw(&objects.back(), worlds.back(), engine.frameCounter);
    RenderEngine::assignLight(material, &light);
    // In object space the light sits at 1.5, 0.5 from the box, well within 6.
    EXPECT_EQ(material.drawList[0].lights.count(), 1);
}

TEST_F(LightPass, AddsOneDrawPerAssignedLightAndDisablesItsStagesAfter) {
    Material& material = addMaterial();
    material.normalMap = addTexture("bumps");
    addObject(material, "box");
    addLight(Vec4(0, 2, 0, 1), 5.0f);
    addLight(Vec4(0, -2, 0, 1), 5.0f);
    const std::vector<std::string> all = run();
    // Additive over the ambient picture: the pixel tests check what the stages compute.
    const std::vector<std::string> blend = {renderState(D3DRS_ALPHABLENDENABLE, TRUE),
                                            renderState(D3DRS_SRCBLEND, D3DBLEND_ONE),
                                            renderState(D3DRS_DESTBLEND, D3DBLEND_ONE)};
    EXPECT_EQ(std::vector<std::string>(all.begin(), all.begin() + 3), blend);
    EXPECT_GE(device.find(setTexture(1, "volume1")), 0);
    EXPECT_GE(device.find(setTexture(0, "bumps")), 0);
    EXPECT_EQ(draws(all, "box"), 2);
    const std::vector<std::string> end = {setTexture(1, "null"),
                                          stageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE),
                                          stageState(2, D3DTSS_COLOROP, D3DTOP_DISABLE)};
    EXPECT_EQ(std::vector<std::string>(all.end() - 3, all.end()), end);
}

TEST_F(LightPass, InvisibleEntriesGetLightsButNoDraws) {
    Material& material = addMaterial();
    addObject(material, "hidden", translation(0, 0, -100)); // behind the camera
    addLight(Vec4(0, 0, -100, 1), 20.0f);                   // reaches it, and the frustum
    addLight(Vec4(0, 0, 0, 1), 200.0f);
    const std::vector<std::string> all = run();
    EXPECT_FALSE(material.drawList[0].visible);
    EXPECT_EQ(material.drawList[0].lights.count(), 1);
    EXPECT_EQ(draws(all, "hidden"), 0);
}

TEST_F(LightPass, NoLightsNoDraws) {
    addObject(addMaterial(), "dark");
    EXPECT_EQ(draws(run(), "dark"), 0);
}

TEST_F(LightPass, LightOutsideTheViewReachesNothing) {
    Material& material = addMaterial();
    addObject(material, "box");
    addLight(Vec4(0, 0, -50, 1), 5.0f); // wholly behind the near plane
    run();
    EXPECT_EQ(material.drawList[0].lights.count(), 0);
}

TEST_F(LightPass, SameLightQueuedTwiceIsAddedTwice) {
    addObject(addMaterial(), "box");
    Light& light = addLight(Vec4(0, 2, 0, 1), 5.0f);
    engine.addLight(&light); // the scene queues it once more
    EXPECT_EQ(draws(run(), "box"), 2);
}
