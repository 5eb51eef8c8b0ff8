// Loading 3DF files: what a well-formed file becomes, and how damaged files are refused.
#include "engine/resources/TextureCache.h"
#include "engine/scene/Scene.h"
#include "tools/scenewriter/SceneWriter.h"

#include "TempDir.h"
#include "tools/common/HeadlessDevice.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

scenefile::Vertex vertex(float x, float y, float z) {
    scenefile::Vertex v;
    v.position = {x, y, z};
    v.normal = {0, 0, -1};
    v.u = x;
    v.v = y;
    v.tangent = {9, 9, 9}; // recomputed at load
    return v;
}

// The small file of the format's description: 1509 bytes.
scenefile::Scene smallScene() {
    scenefile::Scene s;
    s.frameCount = 2;
    scenefile::Material m;
    m.diffuse = {0.5f, 0.25f, 1.0f};
    m.glow = {1, 1, 1};
    m.alphaTest = true;
    s.materials.push_back(m);
    scenefile::Object o;
    o.material = 0;
    o.vertices = {vertex(-1, -1, 0.5f), vertex(1, -1, -1), vertex(0, 1, 1)};
    o.indices = {0, 1, 2};
    o.placement.position = {5, 0, 0};
    s.objects.push_back(o);
    scenefile::Light l;
    l.animated = true;
    l.colors = {{1, 0, 0}, {0, 1, 0}};
    l.positions = {{0, 0, 0}, {10, 0, 0}};
    l.radii = {10, 20};
    s.lights.push_back(l);
    scenefile::Camera c;
    c.name = "Camera01";
    c.fov = 0.8f;
    c.animated = true;
    c.eyes = {{0, 0, -10}, {0, 0, -20}};
    c.targets = {{0, 0, 0}, {0, 0, 0}};
    c.fovs = {0.8f, 0.9f};
    s.cameras.push_back(c);
    return s;
}

std::string bytesOf(const scenefile::Scene& s) {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(scenefile::writeScene(s, bytes));
    return std::string(bytes.begin(), bytes.end());
}

class SceneLoaderTest : public ::testing::Test {
protected:
    bool load(const std::string& bytes) {
        const std::string path = m_dir.write("scene.3df", bytes);
        return m_scene.load(path.c_str(), m_device.device(), m_textures);
    }

    void expectRefused(const std::string& bytes, const char* why) {
        EXPECT_FALSE(load(bytes)) << why;
        EXPECT_EQ(m_scene.materials.count(), 0) << why;
        EXPECT_EQ(m_scene.objects.count(), 0) << why;
        EXPECT_EQ(m_scene.lights.count(), 0) << why;
        EXPECT_EQ(m_scene.cameras.count(), 0) << why;
        EXPECT_NE(m_scene.loadError(), nullptr) << why;
    }

    TempDir m_dir;
    HeadlessDevice m_device;
    TextureCache m_textures;
    Scene m_scene;
};

} // namespace

TEST_F(SceneLoaderTest, SmallFileLoadsCompletely) {
    const std::string bytes = bytesOf(smallScene());
    ASSERT_EQ(bytes.size(), 1509u);
    ASSERT_TRUE(load(bytes)) << m_scene.loadError();
    EXPECT_EQ(m_scene.frameCount, 2);
    ASSERT_EQ(m_scene.materials.count(), 1);
    ASSERT_EQ(m_scene.objects.count(), 1);
    ASSERT_EQ(m_scene.lights.count(), 1);
    ASSERT_EQ(m_scene.cameras.count(), 1);

    const Material& material = m_scene.materials[0];
    EXPECT_EQ(material.diffuseColor, Vec4(0.5f, 0.25f, 1.0f, 1.0f));
    EXPECT_TRUE(material.alphaTest);
    EXPECT_FALSE(material.selfIllum);
    EXPECT_EQ(material.normalMap, m_textures.get("bump_neutral.jpg"));
    EXPECT_EQ(material.colorTexture, nullptr);

    const SceneObject& object = m_scene.objects[0];
    EXPECT_EQ(object.material, &m_scene.materials[0]);
    EXPECT_NE(object.mesh, nullptr);
    EXPECT_EQ(object.boundsMin, Vec4(-1, -1, -1, 1)); // replaces the default box entirely
    EXPECT_EQ(object.boundsMax, Vec4(1, 1, 1, 1));
    EXPECT_EQ(object.matrix.m[3][0], 5.0f);
    EXPECT_FALSE(object.animated);

    const Light& light = m_scene.lights[0];
    EXPECT_TRUE(light.animated);
    EXPECT_EQ(light.radiusTrack.count(), 2);
    EXPECT_EQ(light.positionTrack.channel(0).key(1), 10.0f);
    EXPECT_EQ(light.colorTrack.channel(3).key(0), 1.0f); // every sample gets w = 1

    const Camera& camera = m_scene.cameras[0];
    EXPECT_STREQ(camera.name, "Camera01");
    EXPECT_EQ(camera.fovTrack.key(1), 0.9f) << "fov samples come last";
    EXPECT_EQ(camera.eyeTrack.channel(2).key(1), -20.0f);
}

TEST_F(SceneLoaderTest, ForeignFilesAreRefusedWithTheResaveMessage) {
    scenefile::Scene s = smallScene();
    for (int32_t version : {109, 111}) {
        s.version = version;
        expectRefused(bytesOf(s), "version");
        EXPECT_STREQ(m_scene.loadError(), "Cannot recognize file. Please, resave it");
    }
    s = smallScene();
    s.magic = 0x46443346 ^ 0x20;
    expectRefused(bytesOf(s), "magic");
    EXPECT_STREQ(m_scene.loadError(), "Cannot recognize file. Please, resave it");
    expectRefused("", "empty file");
    EXPECT_FALSE(m_scene.load(m_dir.file("absent.3df").c_str(), m_device.device(), m_textures));
}

TEST_F(SceneLoaderTest, FlagsDecideWhatFollows) {
    // A large frame count with nothing animated: sections follow each other directly.
    scenefile::Scene s = smallScene();
    s.frameCount = 100000;
    s.lights[0].animated = false;
    s.cameras[0].animated = false;
    scenefile::Object other = s.objects[0];
    other.material = scenefile::kNoMaterial;
    s.objects.push_back(other);
    scenefile::Material textured;
    textured.normalMap = "rock_normal.jpg";
    textured.colorTexture = "rock.jpg";
    s.materials.push_back(textured);
    ASSERT_TRUE(load(bytesOf(s))) << m_scene.loadError();
    ASSERT_EQ(m_scene.objects.count(), 2);
    EXPECT_EQ(m_scene.objects[1].material, nullptr);
    EXPECT_EQ(m_scene.materials[0].objects.count(), 1);
    EXPECT_EQ(m_scene.materials[1].normalMap, m_textures.get("rock_normal.jpg"));
    EXPECT_EQ(m_scene.materials[1].colorTexture, m_textures.get("rock.jpg"));
    EXPECT_EQ(m_scene.lights[0].radiusTrack.count(), 0);

    // Scene tracks present: the material count moves back by their size.
    s = smallScene();
    s.animated = true;
    s.sceneTrack1 = {{1, 2, 3}, {4, 5, 6}};
    s.sceneTrack2 = {{0, 0, 0}, {0, 0, 0}};
    ASSERT_TRUE(load(bytesOf(s))) << m_scene.loadError();
    EXPECT_EQ(m_scene.sceneTrack1.channel(2).key(1), 6.0f);
    EXPECT_EQ(m_scene.materials.count(), 1);
}

TEST_F(SceneLoaderTest, AnimatedObjectsReadOnePlacementPerFrame) {
    scenefile::Scene s = smallScene();
    s.objects[0].animated = true;
    s.objects[0].frames.resize(2);
    s.objects[0].frames[1].position = {0, 7, 0};
    s.objects[0].frames[1].axis = {0, 0, 1};
    s.objects[0].frames[1].angle = 1.5f;
    ASSERT_TRUE(load(bytesOf(s))) << m_scene.loadError();
    const SceneObject& object = m_scene.objects[0];
    EXPECT_TRUE(object.animated);
    EXPECT_EQ(object.positionTrack.channel(1).key(1), 7.0f);
    EXPECT_EQ(object.axisTrack.channel(2).key(1), 1.0f);
    EXPECT_EQ(object.angleTrack.key(1), 1.5f);
    EXPECT_EQ(m_scene.cameras.count(), 1); // everything after the samples still lines up
}

TEST_F(SceneLoaderTest, DamagedFilesAreRefused) {
    scenefile::Scene s = smallScene();
    s.objects[0].material = 1;
    expectRefused(bytesOf(s), "material index past the table");
    s.objects[0].material = -2;
    expectRefused(bytesOf(s), "negative material index");

    s = smallScene();
    s.objects[0].indices = {0, 1};
    expectRefused(bytesOf(s), "index count not a multiple of three");
    s.objects[0].indices = {0, 1, 3};
    expectRefused(bytesOf(s), "vertex index past the vertices");

    std::string bytes = bytesOf(smallScene());
    std::memset(&bytes[1509 - 57 - 256], 'x', 256); // camera name without terminator
    expectRefused(bytes, "unterminated camera name");

    bytes = bytesOf(smallScene());
    std::memset(&bytes[298 + 24], 'x', 256); // normal map name without terminator
    expectRefused(bytes, "unterminated texture name");

    bytes = bytesOf(smallScene());
    const uint32_t huge = 0x10000000;
    std::memcpy(&bytes[294], &huge, 4); // material count
    expectRefused(bytes, "material count");
    bytes = bytesOf(smallScene());
    std::memcpy(&bytes[298 + 540 + 4 + 4], &huge, 4); // vertex count of the object
    expectRefused(bytes, "vertex count");

    // A negative frame count cannot size the animated camera's tracks.
    s = smallScene();
    s.frameCount = 0;
    s.lights[0].animated = false;
    s.cameras[0].eyes.clear();
    s.cameras[0].targets.clear();
    s.cameras[0].fovs.clear();
    bytes = bytesOf(s);
    const int32_t negative = -1;
    std::memcpy(&bytes[288], &negative, 4);
    expectRefused(bytes, "negative frame count with animation");
}

TEST_F(SceneLoaderTest, TruncationAtEveryOffsetIsRefused) {
    const std::string bytes = bytesOf(smallScene());
    for (size_t length = 0; length < bytes.size(); ++length) {
        expectRefused(bytes.substr(0, length), "truncated");
    }
    // Trailing bytes after the cameras are ignored.
    EXPECT_TRUE(load(bytes + "trailing"));
}

TEST_F(SceneLoaderTest, EmptyMeshBlocksAreSteppedOver) {
    scenefile::Scene s = smallScene();
    scenefile::Object empty;
    empty.material = 0;
    s.objects.insert(s.objects.begin(), empty);
    ASSERT_TRUE(load(bytesOf(s))) << m_scene.loadError();
    ASSERT_EQ(m_scene.objects.count(), 2);
    EXPECT_EQ(m_scene.objects[0].mesh, nullptr);
    EXPECT_EQ(m_scene.objects[0].boundsMax, Vec4(3, 3, 10, 1)); // default box kept
    EXPECT_NE(m_scene.objects[1].mesh, nullptr);
}
