// The importer end to end: small glTF and OBJ files in, 3DF files out, read back through the
// show's own loader.
#include "tools/scene-import/SceneImport.h"
#include "engine/resources/TextureCache.h"
#include "engine/scene/Placement.h"
#include "engine/scene/Scene.h"
#include "tools/showgen/ImageFiles.h"

#include "GltfTestFile.h"
#include "TempDir.h"
#include "tools/common/HeadlessDevice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>

namespace {

using sceneimport::ImportOptions;

const std::string kQuarterTurnY = "[0,0.70710678,0,0.70710678]";

Vec4 point(float x, float y, float z) {
    return Vec4(x, y, z, 1.0f);
}

void expectNear(const Vec4& got, const Vec4& want, const char* what) {
    EXPECT_NEAR(got.x, want.x, 1e-4f) << what;
    EXPECT_NEAR(got.y, want.y, 1e-4f) << what;
    EXPECT_NEAR(got.z, want.z, 1e-4f) << what;
}

// A triangle in the XY plane, counter-clockwise seen from +Z (glTF's front side), as accessor
// indices in `gltf`; returns the "primitives" entry for `material` (-1: none).
std::string triangle(GltfTestFile& gltf, int material = -1, const std::string& more = "") {
    const int positions = gltf.floats({0, 0, 0, 1, 0, 0, 0, 1, 0}, "VEC3");
    const int normals = gltf.floats({0, 0, 1, 0, 0, 1, 0, 0, 1}, "VEC3");
    const int uvs = gltf.floats({0, 0, 1, 0, 0, 1}, "VEC2");
    std::string p = "{\"attributes\":{\"POSITION\":" + std::to_string(positions) +
                    ",\"NORMAL\":" + std::to_string(normals) +
                    ",\"TEXCOORD_0\":" + std::to_string(uvs) + more + "}";
    if (material >= 0) {
        p += ",\"material\":" + std::to_string(material);
    }
    return p + "}";
}

class SceneImportTest : public ::testing::Test {
protected:
    // Imports `text` (written as `name`) into out/scene.3df and loads the result.
    void import(const std::string& name, const std::string& text, ImportOptions options = {}) {
        options.input = m_dir.write(name, text);
        options.output = m_dir.file("out/scene.3df");
        std::filesystem::create_directories(m_dir.file("out"));
        std::string error;
        ASSERT_TRUE(sceneimport::importScene(options, m_result, error)) << error;
        ASSERT_TRUE(sceneimport::writeImport(options, m_result, error)) << error;
        ASSERT_TRUE(m_scene.load(options.output.c_str(), m_device.device(), m_textures))
            << m_scene.loadError();
    }

    bool warned(const std::string& part) const {
        return std::count_if(
                   m_result.warnings.begin(), m_result.warnings.end(),
                   [&](const std::string& w) { return w.find(part) != std::string::npos; }) == 1;
    }

    // Where the show puts a vertex of an imported object at frame `frame` (-1: static).
    Vec4 world(int object, int vertex, int frame = -1) const {
        const scenefile::Vec3& p = m_result.scene.objects[object].vertices[vertex].position;
        const SceneObject& o = m_scene.objects[object];
        Matrix4 m = o.matrix;
        if (frame >= 0) {
            m = placement(Vec4(o.positionTrack.channel(0).key(frame),
                               o.positionTrack.channel(1).key(frame),
                               o.positionTrack.channel(2).key(frame), 1.0f),
                          Vec4(o.axisTrack.channel(0).key(frame), o.axisTrack.channel(1).key(frame),
                               o.axisTrack.channel(2).key(frame), 1.0f),
                          o.angleTrack.key(frame), Matrix4());
        }
        return m.transform(point(p.x, p.y, p.z));
    }

    std::string textureName(const Texture* texture) const {
        const char* name = m_textures.nameOf(texture);
        return name != nullptr ? name : "(none)";
    }

    // The PNG the import wrote under out/, decoded (0 x 0 when it is missing or broken).
    showgen::Image writtenPng(const std::string& name) const {
        std::ifstream in(m_dir.file("out/" + name), std::ios::binary);
        const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                         std::istreambuf_iterator<char>());
        showgen::Image image;
        return showgen::decodePng(bytes, image) ? image : showgen::Image();
    }

    TempDir m_dir;
    HeadlessDevice m_device;
    TextureCache m_textures;
    Scene m_scene;
    sceneimport::ImportResult m_result;
};

TEST_F(SceneImportTest, MeshInstancesAreBakedAndPlacedInTheMirroredFrame) {
    GltfTestFile gltf;
    const std::string mesh = "{\"primitives\":[" + triangle(gltf) + "]}";
    import("shapes.gltf", gltf.json("\"scene\":0,\"scenes\":[{\"nodes\":[0,1]}],\"nodes\":["
                                    "{\"mesh\":0,\"translation\":[1,2,3],\"rotation\":" +
                                    kQuarterTurnY +
                                    ",\"scale\":[2,2,2]},"
                                    "{\"mesh\":0,\"translation\":[-5,0,0]}],\"meshes\":[" +
                                    mesh + "]"));
    ASSERT_EQ(m_scene.objects.count(), 2) << "one object per instance";
    EXPECT_EQ(m_scene.frameCount, 0);
    EXPECT_FALSE(m_scene.objects[0].animated);
    // glTF world points: T + R(90° about Y) × 2p; the engine sees them with Z negated.
    expectNear(world(0, 0), point(1, 2, -3), "origin");
    expectNear(world(0, 1), point(1, 2, -1), "x corner");
    expectNear(world(0, 2), point(1, 4, -3), "y corner");
    expectNear(world(1, 1), point(-4, 0, 0), "second instance");
    // Scale lives in the vertices, not in the placement, which has none.
    const scenefile::Vec3 corner = m_result.scene.objects[0].vertices[1].position;
    EXPECT_FLOAT_EQ(corner.x, 2.0f);
    const scenefile::Placement& p = m_result.scene.objects[1].placement;
    EXPECT_EQ(p.axis.x, 0.0f);
    EXPECT_EQ(p.axis.y, 0.0f);
    EXPECT_EQ(p.axis.z, 0.0f) << "no rotation is stored as the zero axis";
}

TEST_F(SceneImportTest, TrianglesStayFrontFacingTowardsTheCamera) {
    GltfTestFile gltf;
    const std::string mesh = "{\"primitives\":[" + triangle(gltf) + "]}";
    import("facing.gltf", gltf.json("\"scene\":0,\"scenes\":[{\"nodes\":[0,1,2]}],\"nodes\":["
                                    "{\"mesh\":0},{\"mesh\":0,\"scale\":[-1,1,1]},"
                                    "{\"camera\":0,\"name\":\"Camera01\",\"translation\":[0,0,5]}],"
                                    "\"cameras\":[{\"type\":\"perspective\",\"perspective\":"
                                    "{\"yfov\":0.8,\"znear\":0.1}}],\"meshes\":[" +
                                    mesh + "]"));
    ASSERT_EQ(m_scene.objects.count(), 2);
    const Camera& camera = m_scene.cameras[0];
    expectNear(camera.eye, point(0, 0, -5), "eye");
    expectNear(camera.target, point(0, 0, -4), "the camera looks down +Z, at the triangle");
    // Seen through the camera (looking down +Z, x right, y up) the engine keeps triangles that
    // run counter-clockwise; the mirrored instance must too.
    for (int object = 0; object < 2; ++object) {
        const auto& indices = m_result.scene.objects[object].indices;
        const Vec4 a = world(object, static_cast<int>(indices[0]));
        const Vec4 b = world(object, static_cast<int>(indices[1]));
        const Vec4 c = world(object, static_cast<int>(indices[2]));
        const float area = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
        EXPECT_GT(area, 0.0f) << "object " << object;
        const scenefile::Vec3 n = m_result.scene.objects[object].vertices[0].normal;
        const Vec4 facing = m_scene.objects[object].matrix.transform(Vec4(n.x, n.y, n.z, 0));
        EXPECT_NEAR(facing.z, -1.0f, 1e-5f) << "normals face the camera, object " << object;
    }
}

TEST_F(SceneImportTest, MaterialsMapTexturesColoursGlowAndCutOuts) {
    std::filesystem::create_directories(m_dir.file("maps"));
    const std::vector<uint8_t> png = showgen::encodePng(showgen::Image(2, 2));
    const std::vector<uint8_t> jpeg = showgen::encodeJpeg(showgen::Image(8, 8), 90);
    m_dir.write("maps/wall.png", std::string(png.begin(), png.end()));
    m_dir.write("maps/wall_nm.jpg", std::string(jpeg.begin(), jpeg.end()));
    m_dir.write("bark.tga", "not an image the engine reads");
    GltfTestFile gltf;
    std::string prims;
    for (int m = 0; m < 4; ++m) {
        prims += (m ? "," : "") + triangle(gltf, m);
    }
    const std::string body =
        "\"scene\":0,\"scenes\":[{\"nodes\":[0]}],\"nodes\":[{\"mesh\":0}],"
        "\"meshes\":[{\"primitives\":[" +
        prims +
        "]}],"
        "\"images\":[{\"uri\":\"maps/wall.png\"},{\"uri\":\"maps/wall_nm.jpg\"},"
        "{\"uri\":\"data:image/png;base64," +
        base64(png) +
        "\"},{\"uri\":\"bark.tga\"}],"
        "\"textures\":[{\"source\":0},{\"source\":1},{\"source\":2},{\"source\":3}],"
        "\"materials\":["
        "{\"pbrMetallicRoughness\":{\"baseColorFactor\":[0.5,0.25,1,1],"
        "\"baseColorTexture\":{\"index\":0}},\"normalTexture\":{\"index\":1},"
        "\"alphaMode\":\"MASK\"},"
        "{\"emissiveFactor\":[1,0.5,0]},"
        "{\"pbrMetallicRoughness\":{\"baseColorTexture\":{\"index\":2}}},"
        "{\"pbrMetallicRoughness\":{\"baseColorTexture\":{\"index\":3}},"
        "\"alphaMode\":\"BLEND\"}]";
    ImportOptions options;
    options.textureDir = m_dir.file("out/textures");
    import("materials.gltf", gltf.json(body), options);
    ASSERT_EQ(m_scene.materials.count(), 4);

    const Material& textured = m_scene.materials[0];
    EXPECT_EQ(textureName(textured.colorTexture), "textures/wall.png");
    EXPECT_EQ(textureName(textured.normalMap), "textures/wall_nm.jpg");
    EXPECT_EQ(textured.glowColor, Vec4(0.5f, 0.25f, 1.0f, 1.0f)) << "base colour tints";
    EXPECT_EQ(textured.diffuseColor, Vec4(0, 0, 0, 1));
    EXPECT_TRUE(textured.alphaTest);
    EXPECT_FALSE(textured.selfIllum);
    EXPECT_TRUE(std::filesystem::exists(m_dir.file("out/textures/wall.png")));
    EXPECT_TRUE(std::filesystem::exists(m_dir.file("out/textures/wall_nm.jpg")));

    const Material& glowing = m_scene.materials[1];
    EXPECT_TRUE(glowing.selfIllum);
    EXPECT_EQ(glowing.glowColor, Vec4(1.0f, 0.5f, 0.0f, 1.0f));
    EXPECT_EQ(glowing.colorTexture, nullptr);
    EXPECT_EQ(textureName(glowing.normalMap), "bump_neutral.jpg");

    const std::string embedded = textureName(m_scene.materials[2].colorTexture);
    ASSERT_EQ(embedded.rfind("textures/", 0), 0u) << embedded;
    std::ifstream written(m_dir.file("out/" + embedded), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(written)),
                            std::istreambuf_iterator<char>());
    EXPECT_EQ(bytes, std::string(png.begin(), png.end())) << "embedded images are written out";

    const Material& blended = m_scene.materials[3];
    EXPECT_TRUE(blended.alphaTest);
    EXPECT_EQ(blended.colorTexture, nullptr);
    EXPECT_TRUE(warned("blended transparency"));
    EXPECT_TRUE(warned("bark.tga is no image that can be read"));
}

TEST_F(SceneImportTest, TexturesInOtherFormatsBecomePng) {
    // A 2 x 2 uncompressed true-colour TGA, stored bottom row first (the format's default):
    // red, green above blue, white.
    std::string tga(18, '\0');
    tga[2] = 2;  // uncompressed true colour
    tga[12] = 2; // width
    tga[14] = 2; // height
    tga[16] = 24;
    for (const char* bgr : {"\xff\x00\x00", "\xff\xff\xff", "\x00\x00\xff", "\x00\xff\x00"}) {
        tga.append(bgr, 3);
    }
    m_dir.write("bark.tga", tga);
    m_dir.write("bark.mtl", "newmtl bark\nKd 1 1 1\nmap_Kd bark.tga\n");
    import("bark.obj", "mtllib bark.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvt 1 0\nvt 0 1\n"
                       "usemtl bark\nf 1/1 2/2 3/3\n");
    ASSERT_EQ(m_scene.materials.count(), 1);
    EXPECT_EQ(textureName(m_scene.materials[0].colorTexture), "bark.png");
    const showgen::Image image = writtenPng("bark.png");
    ASSERT_EQ(image.width(), 2);
    ASSERT_EQ(image.height(), 2);
    EXPECT_EQ(image.get(0, 0).r, 1.0) << "the top row comes first in the PNG";
    EXPECT_EQ(image.get(1, 0).g, 1.0);
    EXPECT_EQ(image.get(0, 1).b, 1.0);
    EXPECT_EQ(image.get(1, 1).r + image.get(1, 1).g + image.get(1, 1).b, 3.0);
}

TEST_F(SceneImportTest, CamerasKeepTheirNamesViewsAndVerticalAngle) {
    GltfTestFile gltf;
    const std::string persp = "{\"type\":\"perspective\",\"perspective\":"
                              "{\"yfov\":0.8,\"aspectRatio\":1.5,\"znear\":0.1}}";
    import("cameras.gltf",
           gltf.json("\"scene\":0,\"scenes\":[{\"nodes\":[0,1,2,3]}],\"nodes\":["
                     "{\"camera\":0,\"name\":\"Camera01\",\"translation\":[0,1,5]},"
                     "{\"camera\":1,\"name\":\"Camera02\",\"rotation\":" +
                     kQuarterTurnY +
                     "},"
                     "{\"camera\":2,\"name\":\"Camera03\",\"rotation\":[0,0,0.258819,0.9659258]},"
                     "{\"camera\":3,\"name\":\"Down\",\"translation\":[0,10,0],"
                     "\"rotation\":[-0.70710678,0,0,0.70710678]}],"
                     "\"cameras\":[" +
                     persp + "," + persp + "," + persp + "," + persp + "]"));
    ASSERT_EQ(m_scene.cameras.count(), 4);
    const Camera* first = m_scene.findCamera("Camera01");
    EXPECT_NEAR(first->fov, 0.8f, 1e-5f) << "glTF's vertical angle comes back unchanged";
    expectNear(first->eye, point(0, 1, -5), "eye");
    expectNear(first->target, point(0, 1, -4), "target");
    const Camera* second = m_scene.findCamera("Camera02");
    // Turned a quarter about +Y, a glTF camera looks down -X; mirroring Z does not change that.
    expectNear(second->target, point(-1, 0, 0), "turned camera");
    EXPECT_TRUE(warned("camera roll")) << "Camera03 leans 30 degrees";
    // Looking straight down, the camera's own up (glTF -Z) says which way the picture turns.
    const Camera* down = m_scene.findCamera("Down");
    EXPECT_TRUE(warned("straight up or down"));
    EXPECT_LT(down->target.y, down->eye.y);
    EXPECT_GT(down->target.z, down->eye.z) << "leaned towards the mirrored -Z";
    EXPECT_NEAR(down->target.x, down->eye.x, 1e-6f);
}

TEST_F(SceneImportTest, PointLightsTakeColourPositionAndARadiusFromIntensity) {
    GltfTestFile gltf;
    import(
        "lights.gltf",
        gltf.json("\"extensionsUsed\":[\"KHR_lights_punctual\"],"
                  "\"extensions\":{\"KHR_lights_punctual\":{\"lights\":["
                  "{\"type\":\"point\",\"color\":[1,0.5,0.25],\"intensity\":4},"
                  "{\"type\":\"point\",\"intensity\":0.25},"
                  "{\"type\":\"spot\",\"intensity\":1,\"spot\":{\"outerConeAngle\":0.5}},"
                  "{\"type\":\"directional\",\"intensity\":1},"
                  "{\"type\":\"point\",\"intensity\":100,\"range\":12}]}},"
                  "\"scene\":0,\"scenes\":[{\"nodes\":[0,1,2,3,4]}],\"nodes\":["
                  "{\"name\":\"Lamp\",\"translation\":[1,2,3],"
                  "\"extensions\":{\"KHR_lights_punctual\":{\"light\":0}}},"
                  "{\"name\":\"Dim\",\"extensions\":{\"KHR_lights_punctual\":{\"light\":1}}},"
                  "{\"name\":\"Spot\",\"extensions\":{\"KHR_lights_punctual\":{\"light\":2}}},"
                  "{\"name\":\"Sun\",\"extensions\":{\"KHR_lights_punctual\":{\"light\":3}}},"
                  "{\"name\":\"Ranged\",\"extensions\":{\"KHR_lights_punctual\":{\"light\":4}}}]"));
    ASSERT_EQ(m_scene.lights.count(), 5);
    const Light& lamp = m_scene.lights[0];
    expectNear(lamp.staticColor, point(1.0f, 0.5f, 0.25f), "colour scaled to 1 at most");
    EXPECT_NEAR(lamp.staticRadius, 32.0f, 1e-3f) << "16 × √4";
    expectNear(lamp.staticPosition, point(1, 2, -3), "position");
    const Light& dim = m_scene.lights[1];
    expectNear(dim.staticColor, point(0.25f, 0.25f, 0.25f), "a dim light stays dim");
    EXPECT_NEAR(dim.staticRadius, 8.0f, 1e-3f);
    EXPECT_NEAR(m_scene.lights[4].staticRadius, 12.0f, 1e-5f) << "a range wins over intensity";
    EXPECT_TRUE(warned("spot lights become point lights"));
    EXPECT_TRUE(warned("directional lights become point lights"));
}

// A sun shining down glTF's -Y, turned a quarter towards -Z, over a 10-unit-wide ground: a point
// light ten bounding radii up the sun's way from the ground's centre, reaching all of it.
TEST_F(SceneImportTest, ADirectionalLightBecomesAFarPointLightAndAnUnlitSceneGetsAKeyLight) {
    GltfTestFile gltf;
    const int ground = gltf.floats({-5, 0, -5, 5, 0, -5, 0, 0, 5}, "VEC3");
    const std::string mesh =
        "\"meshes\":[{\"primitives\":[{\"attributes\":{\"POSITION\":" + std::to_string(ground) +
        "}}]}]";
    import("sun.gltf",
           gltf.json(mesh + ",\"extensionsUsed\":[\"KHR_lights_punctual\"],"
                            "\"extensions\":{\"KHR_lights_punctual\":{\"lights\":["
                            "{\"type\":\"directional\",\"color\":[1,0.9,0.5],\"intensity\":3}]}},"
                            "\"scene\":0,\"scenes\":[{\"nodes\":[0,1]}],\"nodes\":[{\"mesh\":0},"
                            "{\"name\":\"Sun\",\"rotation\":[-0.70710678,0,0,0.70710678],"
                            "\"extensions\":{\"KHR_lights_punctual\":{\"light\":0}}}]"));
    ASSERT_EQ(m_scene.lights.count(), 1);
    const Light& sun = m_scene.lights[0];
    const float boundingRadius = std::sqrt(200.0f) / 2.0f; // half the 10 x 0 x 10 box diagonal
    expectNear(sun.staticPosition, point(0, 10 * boundingRadius, 0), "straight above");
    expectNear(sun.staticColor, point(1.0f, 0.9f, 0.5f), "its colour");
    for (const Vec4& corner : {point(-5, 0, 5), point(5, 0, -5), point(0, 0, 0)}) {
        const Vec4 d = corner - sun.staticPosition;
        const float s = std::sqrt(d.dot(d)) / sun.staticRadius;
        EXPECT_NEAR(1.0f / (1.0f + 22.0f * s * s), 0.85f, 0.02f) << "nearly even across the ground";
    }

    // The same ground with a camera and no light: a white key light above and behind it.
    GltfTestFile unlit;
    const int again = unlit.floats({-5, 0, -5, 5, 0, -5, 0, 0, 5}, "VEC3");
    import("unlit.gltf",
           unlit.json("\"meshes\":[{\"primitives\":[{\"attributes\":{\"POSITION\":" +
                      std::to_string(again) +
                      "}}]}],\"scene\":0,\"scenes\":[{\"nodes\":[0,1]}],\"nodes\":["
                      "{\"mesh\":0},{\"camera\":0,\"name\":\"Camera01\",\"translation\":[0,2,20]}],"
                      "\"cameras\":[{\"type\":\"perspective\",\"perspective\":{\"yfov\":0.8,"
                      "\"znear\":0.1}}]"));
    ASSERT_EQ(m_scene.lights.count(), 1);
    const Light& key = m_scene.lights[0];
    EXPECT_GT(key.staticPosition.y, 0.0f) << "above";
    EXPECT_LT(key.staticPosition.z, -20.0f) << "behind the camera, which looks down +Z";
    expectNear(key.staticColor, point(1, 1, 1), "white");
    EXPECT_TRUE(warned("no lights: a white key light"));
}

TEST_F(SceneImportTest, AnimationIsSampledIntoTracksAtTheShowsRate) {
    GltfTestFile gltf;
    const std::string mesh = "{\"primitives\":[" + triangle(gltf) + "]}";
    const int times = gltf.floats({0, 1, 2}, "SCALAR");
    const int moves = gltf.floats({0, 0, 0, 2, 0, 0, 4, 0, 0}, "VEC3");
    const int turns = gltf.floats({0, 0, 0, 1, 0, 0.70710678f, 0, 0.70710678f, 0, 1, 0, 0}, "VEC4");
    const std::string body =
        "\"scene\":0,\"scenes\":[{\"nodes\":[0,1]}],\"nodes\":["
        "{\"name\":\"Mover\",\"mesh\":0,\"children\":[2,3]},"
        "{\"name\":\"Turner\",\"mesh\":0},"
        "{\"name\":\"Camera01\",\"camera\":0,\"translation\":[0,0,5]},"
        "{\"name\":\"Lamp\",\"translation\":[0,1,0],"
        "\"extensions\":{\"KHR_lights_punctual\":{\"light\":0}}}],"
        "\"extensionsUsed\":[\"KHR_lights_punctual\"],"
        "\"extensions\":{\"KHR_lights_punctual\":{\"lights\":[{\"type\":\"point\"}]}},"
        "\"cameras\":[{\"type\":\"perspective\",\"perspective\":{\"yfov\":0.8,\"znear\":0.1}}],"
        "\"meshes\":[" +
        mesh +
        "],\"animations\":[{\"channels\":["
        "{\"sampler\":0,\"target\":{\"node\":0,\"path\":\"translation\"}},"
        "{\"sampler\":1,\"target\":{\"node\":1,\"path\":\"rotation\"}}],"
        "\"samplers\":[{\"input\":" +
        std::to_string(times) + ",\"output\":" + std::to_string(moves) +
        "},{\"input\":" + std::to_string(times) + ",\"output\":" + std::to_string(turns) + "}]}]";
    import("moving.gltf", gltf.json(body));
    ASSERT_EQ(m_scene.frameCount, 21) << "2 s at 10 samples per second, both ends included";
    const SceneObject& mover = m_scene.objects[0];
    ASSERT_TRUE(mover.animated);
    EXPECT_NEAR(mover.positionTrack.channel(0).key(5), 1.0f, 1e-4f);
    EXPECT_NEAR(mover.positionTrack.channel(0).key(20), 4.0f, 1e-4f);
    EXPECT_EQ(mover.positionTrack.channel(0).rate(), 10);

    // A quarter turn about +Y in glTF takes +X to -Z, which the engine sees at +Z.
    ASSERT_TRUE(m_scene.objects[1].animated);
    expectNear(world(1, 1, 10), point(0, 0, 1), "quarter turn at 1 s");
    expectNear(world(1, 1, 20), point(-1, 0, 0), "half turn at 2 s");
    const FloatTrack& angle = m_scene.objects[1].angleTrack;
    for (int i = 1; i < 21; ++i) {
        EXPECT_LT(std::fabs(angle.key(i) - angle.key(i - 1)), 0.2f) << "no jump at " << i;
    }

    // Children follow their animated parent.
    const Camera& camera = m_scene.cameras[0];
    ASSERT_TRUE(camera.animated);
    EXPECT_NEAR(camera.eyeTrack.channel(0).key(10), 2.0f, 1e-4f);
    EXPECT_NEAR(camera.eyeTrack.channel(2).key(10), -5.0f, 1e-4f);
    EXPECT_NEAR(camera.fovTrack.key(10), 0.8f, 1e-5f);
    const Light& lamp = m_scene.lights[0];
    ASSERT_TRUE(lamp.animated);
    EXPECT_NEAR(lamp.positionTrack.channel(0).key(20), 4.0f, 1e-4f);
    EXPECT_NEAR(lamp.positionTrack.channel(1).key(20), 1.0f, 1e-4f);
}

TEST_F(SceneImportTest, FrameCountFollowsTheOptions) {
    GltfTestFile gltf;
    const std::string mesh = "{\"primitives\":[" + triangle(gltf) + "]}";
    const int times = gltf.floats({0, 2}, "SCALAR");
    const int moves = gltf.floats({0, 0, 0, 4, 0, 0}, "VEC3");
    const std::string text = gltf.json(
        "\"scene\":0,\"scenes\":[{\"nodes\":[0,1]}],\"nodes\":[{\"mesh\":0},{\"mesh\":0}],"
        "\"meshes\":[" +
        mesh +
        "],\"animations\":[{\"channels\":[{\"sampler\":0,\"target\":{\"node\":0,\"path\":"
        "\"translation\"}}],\"samplers\":[{\"input\":" +
        std::to_string(times) + ",\"output\":" + std::to_string(moves) + "}]}]");
    ImportOptions options;
    options.fps = 20;
    import("rate.gltf", text, options);
    EXPECT_EQ(m_scene.frameCount, 41);
    EXPECT_NEAR(m_scene.objects[0].positionTrack.channel(0).key(10), 1.0f, 1e-4f);
    EXPECT_FALSE(m_scene.objects[1].animated) << "a still node stays static";

    options = ImportOptions();
    options.frames = 31;
    import("rate.gltf", text, options);
    EXPECT_EQ(m_scene.frameCount, 31);
    EXPECT_NEAR(m_scene.objects[0].positionTrack.channel(0).key(30), 4.0f, 1e-4f)
        << "past its end an animation holds its last key";
}

TEST_F(SceneImportTest, ScaleMultipliesEveryLength) {
    GltfTestFile gltf;
    const std::string mesh = "{\"primitives\":[" + triangle(gltf) + "]}";
    ImportOptions options;
    options.scale = 10.0f;
    import("small.gltf",
           gltf.json("\"extensionsUsed\":[\"KHR_lights_punctual\"],"
                     "\"extensions\":{\"KHR_lights_punctual\":{\"lights\":["
                     "{\"type\":\"point\",\"range\":3}]}},"
                     "\"scene\":0,\"scenes\":[{\"nodes\":[0,1,2]}],\"nodes\":["
                     "{\"mesh\":0,\"translation\":[1,0,0]},"
                     "{\"name\":\"Camera01\",\"camera\":0,\"translation\":[0,0,5]},"
                     "{\"name\":\"Lamp\",\"translation\":[0,1,0],"
                     "\"extensions\":{\"KHR_lights_punctual\":{\"light\":0}}}],"
                     "\"cameras\":[{\"type\":\"perspective\",\"perspective\":{\"yfov\":0.8,"
                     "\"znear\":0.1}}],\"meshes\":[" +
                     mesh + "]"),
           options);
    expectNear(world(0, 1), point(20, 0, 0), "vertex");
    expectNear(m_scene.cameras[0].eye, point(0, 0, -50), "camera");
    expectNear(m_scene.lights[0].staticPosition, point(0, 10, 0), "light");
    EXPECT_NEAR(m_scene.lights[0].staticRadius, 30.0f, 1e-4f);
    EXPECT_NEAR(m_scene.cameras[0].fov, 0.8f, 1e-6f) << "angles stay";
}

TEST_F(SceneImportTest, WhatTheFormatCannotHoldIsReportedOnceEach) {
    GltfTestFile gltf;
    const int joints = gltf.bytes({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, "VEC4");
    const int weights = gltf.floats({1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0}, "VEC4");
    const int uv1 = gltf.floats({0, 0, 1, 0, 0, 1}, "VEC2");
    const int target = gltf.floats({0, 0, 1, 0, 0, 1, 0, 0, 1}, "VEC3");
    const int bind = gltf.floats({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}, "MAT4");
    const std::string skinned = triangle(gltf, -1,
                                         ",\"JOINTS_0\":" + std::to_string(joints) +
                                             ",\"WEIGHTS_0\":" + std::to_string(weights) +
                                             ",\"TEXCOORD_1\":" + std::to_string(uv1));
    std::string morphed = triangle(gltf);
    morphed.insert(morphed.size() - 1,
                   ",\"targets\":[{\"POSITION\":" + std::to_string(target) + "}]");
    import("unsupported.gltf",
           gltf.json("\"scene\":0,\"scenes\":[{\"nodes\":[0,1,2,3,4,5]}],\"nodes\":["
                     "{\"mesh\":0,\"skin\":0},{\"name\":\"Bone\"},{\"mesh\":1},{\"mesh\":1},"
                     "{\"name\":\"Camera01\",\"camera\":0},{\"name\":\"Twin\",\"camera\":0}],"
                     "\"cameras\":[{\"type\":\"perspective\",\"perspective\":{\"yfov\":1,"
                     "\"znear\":0.1}}],"
                     "\"skins\":[{\"joints\":[1],\"inverseBindMatrices\":" +
                     std::to_string(bind) +
                     "}],"
                     "\"meshes\":[{\"primitives\":[" +
                     skinned + "]},{\"primitives\":[" + morphed + "],\"weights\":[0.5]}]"));
    EXPECT_EQ(m_scene.objects.count(), 3) << "such meshes are still imported";
    EXPECT_TRUE(warned("skinning"));
    EXPECT_TRUE(warned("morph targets"));
    EXPECT_TRUE(warned("multiple UV sets"));
    EXPECT_TRUE(warned("used by several nodes"));
}

TEST_F(SceneImportTest, ObjWithMaterialLibraryImports) {
    // A JPEG colour texture (no alpha of its own) and a mask beside it, dark on the left.
    const std::vector<uint8_t> jpeg =
        showgen::encodeJpeg(showgen::Image(4, 4, showgen::Colour(0.2, 0.6, 0.4)), 95);
    showgen::Image mask(2, 1, showgen::Colour(0, 0, 0));
    mask.set(1, 0, showgen::Colour(1, 1, 1));
    const std::vector<uint8_t> png = showgen::encodePng(mask);
    m_dir.write("leaf.jpg", std::string(jpeg.begin(), jpeg.end()));
    m_dir.write("leaf_mask.png", std::string(png.begin(), png.end()));
    m_dir.write("leaf.mtl", "newmtl leaf\nKd 0.8 0.6 0.4\nKa 0 0 0\nmap_Kd leaf.jpg\n"
                            "map_d leaf_mask.png\n");
    import("leaf.obj", "mtllib leaf.mtl\n"
                       "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n"
                       "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\nvn 0 0 1\n"
                       "usemtl leaf\nf 1/1/1 2/2/1 3/3/1 4/4/1\n");
    ASSERT_EQ(m_scene.objects.count(), 1);
    const scenefile::Object& quad = m_result.scene.objects[0];
    EXPECT_EQ(quad.indices.size(), 6u) << "the quad is triangulated";
    for (const scenefile::Vertex& v : quad.vertices) {
        if (v.position.x == 0.0f && v.position.y == 0.0f) {
            EXPECT_EQ(v.v, 1.0f) << "OBJ's bottom-left texel origin becomes the engine's top-left";
        }
    }
    ASSERT_EQ(m_scene.materials.count(), 1);
    const Material& leaf = m_scene.materials[0];
    EXPECT_EQ(leaf.glowColor, Vec4(0.8f, 0.6f, 0.4f, 1.0f));
    EXPECT_TRUE(leaf.alphaTest) << "map_d marks a cut-out";
    EXPECT_FALSE(leaf.selfIllum);
    // The mask moves into the colour texture's alpha, beside the scene by default.
    EXPECT_EQ(textureName(leaf.colorTexture), "leaf_cutout.png");
    const showgen::Image cutout = writtenPng("leaf_cutout.png");
    ASSERT_EQ(cutout.width(), 4);
    EXPECT_EQ(cutout.get(0, 0).a, 0.0);
    EXPECT_EQ(cutout.get(3, 3).a, 1.0);
    EXPECT_NEAR(cutout.get(3, 3).g, 0.6, 0.03) << "the colour stays";
}

TEST_F(SceneImportTest, UnreadableFilesGiveOneLine) {
    // A skin without inverse bind matrices is valid glTF, but Assimp 5.2 crashes on it.
    GltfTestFile gltf;
    const int joints = gltf.bytes({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, "VEC4");
    const int weights = gltf.floats({1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0}, "VEC4");
    const std::string skinned = triangle(gltf, -1,
                                         ",\"JOINTS_0\":" + std::to_string(joints) +
                                             ",\"WEIGHTS_0\":" + std::to_string(weights));
    ImportOptions crashing;
    crashing.input =
        m_dir.write("crashing.gltf",
                    gltf.json("\"scene\":0,\"scenes\":[{\"nodes\":[0,1]}],\"nodes\":[{\"mesh\":0,"
                              "\"skin\":0},{\"name\":\"Bone\"}],\"skins\":[{\"joints\":[1]}],"
                              "\"meshes\":[{\"primitives\":[" +
                              skinned + "]}]"));
    std::string crashed;
    sceneimport::ImportResult none;
    EXPECT_FALSE(sceneimport::importScene(crashing, none, crashed));
    EXPECT_NE(crashed.find("cannot read"), std::string::npos) << crashed;
    EXPECT_EQ(crashed.find('\n'), std::string::npos) << crashed;

    ImportOptions missing;
    missing.input = m_dir.file("nowhere.gltf");
    std::string error;
    sceneimport::ImportResult result;
    EXPECT_FALSE(sceneimport::importScene(missing, result, error));
    EXPECT_NE(error.find("nowhere.gltf"), std::string::npos);
}

} // namespace
