#include "tools/scenewriter/SceneWriter.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace scenefile;

namespace {

// One material, one static triangle, one animated light and one animated camera, two frames.
Scene smallScene() {
    Scene s;
    s.frameCount = 2;
    Material m;
    m.diffuse = {0.5f, 0.25f, 1.0f};
    m.colorTexture = "stone.jpg";
    s.materials.push_back(m);
    Object o;
    o.material = 0;
    o.vertices.resize(3);
    o.vertices[1].position = {1, 0, 0};
    o.vertices[2].position = {0, 1, 0};
    o.indices = {0, 1, 2};
    s.objects.push_back(o);
    Light l;
    l.animated = true;
    l.colors = {{1, 0, 0}, {0, 1, 0}};
    l.positions = {{0, 0, 0}, {1, 1, 1}};
    l.radii = {10, 20};
    s.lights.push_back(l);
    Camera c;
    c.name = "Camera01";
    c.animated = true;
    c.eyes = {{0, 0, -10}, {0, 0, -20}};
    c.targets = {{0, 0, 0}, {0, 0, 0}};
    c.fovs = {1.0f, 1.2f};
    s.cameras.push_back(c);
    return s;
}

uint32_t u32At(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

} // namespace

TEST(SceneWriter, SmallSceneHasTheDocumentedLayout) {
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(writeScene(smallScene(), bytes));
    ASSERT_EQ(bytes.size(), 1509u);
    EXPECT_EQ(std::memcmp(bytes.data(), "F3DF", 4), 0);
    EXPECT_EQ(u32At(bytes, 4), 110u);
    EXPECT_EQ(u32At(bytes, 288), 2u); // frame count
    EXPECT_EQ(bytes[292], 0);         // scene not animated
    EXPECT_EQ(u32At(bytes, 294), 1u); // material count right after the header
    // The colour texture name sits 280 bytes into the material record.
    EXPECT_EQ(std::memcmp(bytes.data() + 298 + 280, "stone.jpg", 10), 0);
    EXPECT_EQ(u32At(bytes, 298 + 540), 1u);     // object count
    EXPECT_EQ(u32At(bytes, 298 + 540 + 4), 0u); // material index 0
    // The camera name is the last 256-byte field before the camera's flag and samples.
    const size_t cameraName = 1509 - 2 * 28 - 1 - 256;
    EXPECT_EQ(std::memcmp(bytes.data() + cameraName, "Camera01", 9), 0);
}

TEST(SceneWriter, RefusesInconsistentScenes) {
    std::string why;
    std::vector<uint8_t> bytes;
    Scene s = smallScene();
    s.lights[0].radii.pop_back();
    EXPECT_FALSE(writeScene(s, bytes, &why));
    EXPECT_NE(why.find("light"), std::string::npos);

    s = smallScene();
    s.cameras[0].name = std::string(256, 'x');
    EXPECT_FALSE(writeScene(s, bytes, &why));

    s = smallScene();
    s.animated = true; // no scene samples given
    EXPECT_FALSE(writeScene(s, bytes, &why));

    s = smallScene();
    s.objects[0].animated = true;
    s.objects[0].frames.resize(2);
    ASSERT_TRUE(writeScene(s, bytes, &why));
    EXPECT_EQ(bytes.size(), 1509u + 2 * 40);
}
