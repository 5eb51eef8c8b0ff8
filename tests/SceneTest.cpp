// The scene's per-frame behaviour: camera choice, animation, and how objects and lights reach
// the engine's queues. Scenes are assembled in memory here; loading has its own suite.
#include "engine/scene/Scene.h"
#include "engine/render/RenderEngine.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

Camera& addCamera(Scene& scene, const char* name, float eyeX) {
    Camera& camera = scene.cameras.appendSlot();
    std::strcpy(camera.name, name);
    camera.eye = Vec4(eyeX, 0, 0, 1);
    camera.target = Vec4(eyeX, 0, 1, 1);
    camera.fov = 1.0f;
    return camera;
}

// A track of `count` samples at 10 per second whose sample i has value i.
void rampTrack(FloatTrack& track, int count) {
    track.resize(count);
    track.setRate(10);
    for (int i = 0; i < count; ++i) {
        track.setKey(i, static_cast<float>(i));
    }
}

} // namespace

TEST(Scene, CameraLookupIsExactAndFallsBackToTheFirst) {
    Scene scene;
    EXPECT_EQ(scene.findCamera("Camera01"), nullptr);
    scene.cameras.reserve(4);
    Camera& first = addCamera(scene, "Camera01", 1);
    Camera& second = addCamera(scene, "Camera02", 2);
    addCamera(scene, "Camera03", 3);
    Camera& duplicate = addCamera(scene, "Camera02", 4);

    EXPECT_EQ(scene.findCamera("Camera02"), &second);
    EXPECT_NE(scene.findCamera("Camera02"), &duplicate);
    EXPECT_EQ(scene.findCamera("camera02"), &first);
    EXPECT_EQ(scene.findCamera(""), &first);
    EXPECT_EQ(scene.findCamera("Camera0"), &first);

    RenderEngine engine;
    scene.updateCamera(engine, Matrix4(), "Camera03", 0.1f, 4.0f / 3.0f);
    EXPECT_EQ(engine.camera.eye(), Vec4(3, 0, 0, 1));
    EXPECT_FLOAT_EQ(engine.camera.aspect(), 4.0f / 3.0f);
    EXPECT_EQ(engine.camera.up(), Vec4(0, 1, 0, 1));
}

TEST(Scene, OnlyTheSelectedCameraAdvancesAndParentMovesIt) {
    Scene scene;
    scene.cameras.reserve(2);
    for (const char* name : {"Camera01", "Camera02"}) {
        Camera& camera = addCamera(scene, name, 0);
        camera.animated = true;
        camera.eyeTrack.resize(11);
        camera.eyeTrack.setRate(10);
        camera.targetTrack.resize(11);
        camera.targetTrack.setRate(10);
        for (int i = 0; i < 11; ++i) {
            camera.eyeTrack.setKey(i, Vec4(static_cast<float>(i), 0, 0, 1));
            camera.targetTrack.setKey(i, Vec4(0, 0, 100, 1));
        }
        rampTrack(camera.fovTrack, 11);
    }
    Matrix4 parent;
    parent.m[3][1] = 5.0f; // lifts everything by 5

    RenderEngine engine;
    scene.updateCamera(engine, parent, "Camera02", 0.3f, 1.0f);
    EXPECT_NEAR(engine.camera.eye().x, 3.0f, 1e-5f);
    EXPECT_NEAR(engine.camera.eye().y, 5.0f, 1e-5f);
    EXPECT_NEAR(engine.camera.fov(), 3.0f, 1e-5f);
    EXPECT_EQ(scene.cameras[0].eyeTrack.channel(0).cursor(), 0.0f);
    EXPECT_NEAR(scene.cameras[1].eyeTrack.channel(0).cursor(), 3.0f, 1e-5f);
}

TEST(Scene, MaterialsQueueOncePerFrameWithEntriesInTableOrder) {
    Scene scene;
    scene.materials.reserve(2);
    Material& shared = scene.materials.appendSlot();
    Material& unused = scene.materials.appendSlot();
    scene.objects.reserve(3);
    SceneObject& a = scene.objects.appendSlot();
    SceneObject& orphan = scene.objects.appendSlot();
    SceneObject& b = scene.objects.appendSlot();
    a.attachMaterial(&shared);
    b.attachMaterial(&shared);
    a.matrix.m[3][0] = 7.0f;

    RenderEngine engine;
    for (uint32_t frame = 0; frame < 3; ++frame) {
        scene.updateObjects(engine, Matrix4(), 0.1f);
        ASSERT_EQ(engine.materialQueue.count(), 1);
        EXPECT_EQ(engine.materialQueue[0], &shared);
        ASSERT_EQ(shared.drawList.count(), 2);
        EXPECT_EQ(shared.drawList[0].object, &a);
        EXPECT_EQ(shared.drawList[1].object, &b);
        EXPECT_EQ(shared.drawList[0].world.m[3][0], 7.0f); // world = matrix x identity
        EXPECT_EQ(shared.drawList[0].inverseWorld.m[3][0], -7.0f);
        EXPECT_TRUE(shared.drawList[0].visible);
        EXPECT_EQ(shared.frameStamp, frame);
        EXPECT_EQ(a.drawnFrame, static_cast<int32_t>(frame));
        EXPECT_EQ(orphan.drawnFrame, -1); // no material: never drawn
        EXPECT_EQ(unused.drawList.count(), 0);
        shared.drawList[0].lights.append(nullptr); // as light assignment would
        engine.endFrame();
        EXPECT_EQ(engine.materialQueue.count(), 0);
    }
    scene.updateObjects(engine, Matrix4(), 0.1f);
    EXPECT_EQ(shared.drawList[0].lights.count(), 0); // a new frame starts with no lights
}

TEST(Scene, AttachAndDetachKeepObjectListsConsistent) {
    Material first;
    Material second;
    SceneObject a;
    SceneObject b;
    a.attachMaterial(&first);
    b.attachMaterial(&first);
    a.attachMaterial(&second);
    ASSERT_EQ(first.objects.count(), 1);
    EXPECT_EQ(first.objects[0], &b);
    ASSERT_EQ(second.objects.count(), 1);
    EXPECT_EQ(a.material, &second);
    a.attachMaterial(&second); // again: no duplicate entry
    EXPECT_EQ(second.objects.count(), 1);
    b.detachMaterial();
    EXPECT_EQ(first.objects.count(), 0);
    EXPECT_EQ(b.material, nullptr);
    b.detachMaterial(); // nothing to do
    a.detachMaterial();
}

TEST(Scene, LightsFollowTracksOrStaticValues) {
    Scene scene;
    scene.lights.reserve(2);
    Light& still = scene.lights.appendSlot();
    still.staticPosition = Vec4(1, 2, 3, 1);
    still.staticColor = Vec4(0.5f, 0.5f, 0.5f, 1);
    still.staticRadius = 50.0f;
    Light& moving = scene.lights.appendSlot();
    moving.animated = true;
    moving.positionTrack.resize(3);
    moving.colorTrack.resize(3);
    moving.positionTrack.setRate(10);
    moving.colorTrack.setRate(10);
    for (int i = 0; i < 3; ++i) {
        moving.positionTrack.setKey(i, Vec4(10.0f * i, 0, 0, 1));
        moving.colorTrack.setKey(i, Vec4(1, 1, 1, 1));
    }
    rampTrack(moving.radiusTrack, 3);

    Matrix4 parent;
    parent.m[3][2] = 100.0f;
    RenderEngine engine;
    scene.updateLights(engine, parent, 0.15f);
    ASSERT_EQ(engine.lightQueue.count(), 2);
    EXPECT_EQ(engine.lightQueue[0], &still);
    EXPECT_EQ(still.position, Vec4(1, 2, 103, 1));
    EXPECT_EQ(still.radius, 50.0f);
    EXPECT_NEAR(moving.position.x, 15.0f, 1e-4f);
    EXPECT_NEAR(moving.position.z, 100.0f, 1e-4f);
    EXPECT_NEAR(moving.radius, 1.5f, 1e-5f);
}

TEST(Scene, RewindThenStartTimeLandsOnTheWrappedSample) {
    Scene scene;
    scene.objects.reserve(1);
    SceneObject& object = scene.objects.appendSlot();
    object.animated = true;
    const int samples = 101; // loops every 10 s
    object.positionTrack.resize(samples);
    object.axisTrack.resize(samples);
    object.positionTrack.setRate(10);
    object.axisTrack.setRate(10);
    for (int i = 0; i < samples; ++i) {
        object.positionTrack.setKey(i, Vec4(static_cast<float>(i), 0, 0, 1));
        object.axisTrack.setKey(i, Vec4(0, 0, 0, 1)); // no rotation
    }
    rampTrack(object.angleTrack, samples);

    RenderEngine engine;
    scene.updateObjects(engine, Matrix4(), 0.7f);
    scene.rewind();
    EXPECT_EQ(object.positionTrack.channel(0).cursor(), 0.0f);
    const Matrix4 world = object.animate(Matrix4(), 25.0f);
    // 250 samples modulo 100.
    EXPECT_NEAR(object.positionTrack.channel(0).cursor(), 50.0f, 1e-3f);
    EXPECT_NEAR(world.m[3][0], 50.0f, 1e-3f);
    EXPECT_EQ(world.m[0][0], 1.0f); // the zero axis leaves a pure translation
}
