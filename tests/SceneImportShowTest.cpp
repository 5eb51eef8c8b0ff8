// What a person making a show does: a scene exported from a modeller goes through scene-import
// into a show folder and is captured there, seen through its own camera.
#include "GltfTestFile.h"
#include "ScratchShow.h"

#include <gtest/gtest.h>

#include <png.h>

#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace {

int runCommand(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<uint8_t> readPng(const std::string& path, int& width) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
        return {};
    }
    image.format = PNG_FORMAT_RGB;
    width = static_cast<int>(image.width);
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
    png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr);
    return pixels;
}

// Red minus blue at a pixel: the glowing square is warm, the show's background cool.
int warmth(const std::vector<uint8_t>& rgb, int width, int x, int y) {
    const size_t at = (static_cast<size_t>(y) * width + x) * 3;
    return rgb[at] - rgb[at + 2];
}

// A 4 x 4 glowing square facing Camera01, which stands 5 units in front of it, and a point
// light beside the camera.
std::string squareFacingItsCamera() {
    GltfTestFile gltf;
    const int positions = gltf.floats({-2, -2, 0, 2, -2, 0, 2, 2, 0, -2, 2, 0}, "VEC3");
    const int normals = gltf.floats({0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1}, "VEC3");
    const int uvs = gltf.floats({0, 1, 1, 1, 1, 0, 0, 0}, "VEC2");
    const int indices = gltf.indices({0, 1, 2, 0, 2, 3});
    return gltf.json(
        "\"scene\":0,\"scenes\":[{\"nodes\":[0,1,2]}],\"nodes\":["
        "{\"mesh\":0},{\"camera\":0,\"name\":\"Camera01\",\"translation\":[0,0,5]},"
        "{\"name\":\"Lamp\",\"translation\":[1,1,4],"
        "\"extensions\":{\"KHR_lights_punctual\":{\"light\":0}}}],"
        "\"extensionsUsed\":[\"KHR_lights_punctual\"],"
        "\"extensions\":{\"KHR_lights_punctual\":{\"lights\":[{\"type\":\"point\","
        "\"color\":[1,1,1],\"intensity\":20,\"range\":30}]}},"
        "\"cameras\":[{\"type\":\"perspective\",\"perspective\":{\"yfov\":0.8,\"znear\":0.1}}],"
        "\"materials\":[{\"pbrMetallicRoughness\":{\"baseColorFactor\":[1,0.5,0.2,1]},"
        "\"emissiveFactor\":[1,0.5,0.2]}],"
        "\"meshes\":[{\"primitives\":[{\"attributes\":{\"POSITION\":" +
        std::to_string(positions) + ",\"NORMAL\":" + std::to_string(normals) + ",\"TEXCOORD_0\":" +
        std::to_string(uvs) + "},\"indices\":" + std::to_string(indices) + ",\"material\":0}]}]");
}

class SceneImportShowTest : public ::testing::Test {
protected:
    int import(const std::string& source, const std::string& text, const std::string& scene) {
        m_show.replace(source, text);
        return runCommand(std::string("'") + SCENE_IMPORT_PROGRAM + "' '" + m_show.path() + "/" +
                          source + "' -o '" + m_show.path() + "/" + scene + "' >/dev/null 2>&1");
    }
    int capture(const std::string& scene, double at, const std::string& still) {
        return runCommand(std::string("'") + TARNELIX_CAPTURE_PROGRAM + "' --dir '" +
                          m_show.path() + "' --scene " + scene + " --width 160 --height 120" +
                          " --fps 10 --at " + std::to_string(at) + " --out '" + still +
                          "' 2>/dev/null");
    }

    ScratchShow m_show{TARNELIX_SHOW_DIR};
};

TEST_F(SceneImportShowTest, AnImportedGltfSceneIsCapturedThroughItsOwnCamera) {
    ASSERT_EQ(import("square.gltf", squareFacingItsCamera(), "square.3df"), 0);
    const std::string still = m_show.output("square.png");
    ASSERT_EQ(capture("square.3df", 20.0, still), 0);
    int width = 0;
    const std::vector<uint8_t> rgb = readPng(still, width);
    ASSERT_EQ(rgb.size(), 160u * 120u * 3u);
    // The square fills the middle of the picture and leaves the corners to the background.
    EXPECT_GT(warmth(rgb, width, 80, 60), 100);
    EXPECT_LT(warmth(rgb, width, 2, 2), -20);
}

TEST_F(SceneImportShowTest, AnImportedObjSceneWithoutCamerasStillPlays) {
    ASSERT_EQ(import("box.obj",
                     "v -1 -1 0\nv 1 -1 0\nv 1 1 0\nv -1 1 0\nvn 0 0 1\nf 1//1 2//1 3//1 4//1\n",
                     "box.3df"),
              0);
    const std::string still = m_show.output("box.png");
    for (double at : {20.0, 50.0, 100.0}) {
        EXPECT_EQ(capture("box.3df", at, still), 0) << "at " << at << " s";
    }
}

} // namespace
