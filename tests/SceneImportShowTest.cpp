// What a person making a show does: a scene exported from a modeller goes through scene-import
// into a show folder and is captured there, seen through its own camera.
#include "GltfTestFile.h"
#include "ScratchShow.h"

#include <gtest/gtest.h>

#include <png.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
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

// The same square with no camera at all, or with a second camera "Back" behind it that looks
// away from it (turned half round about Y).
std::string squareWithCameras(bool cameras) {
    std::string text = squareFacingItsCamera();
    if (!cameras) {
        const std::string camera = "{\"camera\":0,\"name\":\"Camera01\",\"translation\":[0,0,5]},";
        text.replace(text.find(camera), camera.size(), "{},");
        return text;
    }
    const std::string lastNode = "\"light\":0}}}],";
    text.replace(text.find(lastNode), lastNode.size(),
                 "\"light\":0}}},{\"camera\":1,\"name\":\"Back\",\"translation\":[0,0,-1],"
                 "\"rotation\":[0,1,0,0]}],");
    const std::string camera =
        "{\"type\":\"perspective\",\"perspective\":{\"yfov\":0.8,\"znear\":0.1}}";
    text.replace(text.find(camera), camera.size(), camera + "," + camera);
    const std::string roots = "\"nodes\":[0,1,2]";
    text.replace(text.find(roots), roots.size(), "\"nodes\":[0,1,2,3]");
    return text;
}

class SceneImportShowTest : public ::testing::Test {
protected:
    int import(const std::string& source, const std::string& text, const std::string& scene,
               const std::string& more = "") {
        m_show.replace(source, text);
        return runCommand(std::string("'") + SCENE_IMPORT_PROGRAM + "' '" + m_show.path() + "/" +
                          source + "' -o '" + m_show.path() + "/" + scene + "' " + more +
                          " >/dev/null 2>&1");
    }
    int capture(const std::string& scene, double at, const std::string& still) {
        return captureWith("--dir '" + m_show.path() + "' --scene " + scene, at, still);
    }
    int captureWith(const std::string& what, double at, const std::string& still) const {
        return runCommand(std::string("'") + TARNELIX_CAPTURE_PROGRAM + "' " + what +
                          " --width 160 --height 120 --fps 10 --at " + std::to_string(at) +
                          " --out '" + still + "' 2>/dev/null");
    }
    // Warmth at the middle of the picture the show file plays at `at` seconds.
    int middleWarmthOfShow(const std::string& showFile, double at) {
        const std::string still = m_show.output("show.png");
        EXPECT_EQ(captureWith("--show '" + m_show.path() + "/" + showFile + "'", at, still), 0)
            << at;
        int width = 0;
        const std::vector<uint8_t> rgb = readPng(still, width);
        return rgb.size() == 160u * 120u * 3u ? warmth(rgb, width, 80, 60) : -1000;
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

// A show of one's own: a splash, then the square seen through each of its two cameras.
TEST_F(SceneImportShowTest, AHandWrittenShowPlaysASplashThenEachCamera) {
    ASSERT_EQ(import("square.gltf", squareWithCameras(true), "square.3df"), 0);
    m_show.replace("mine.toml", "scene = \"square.3df\"\n"
                                "[[segment]]\nsplash = \"intro.jpg\"\nduration = 2\n"
                                "[[segment]]\ncamera = \"Camera01\"\nduration = 3\n"
                                "[[segment]]\ncamera = \"Back\"\nduration = 3\n");
    const int splash = middleWarmthOfShow("mine.toml", 1.0);
    EXPECT_GT(middleWarmthOfShow("mine.toml", 3.5), 100) << "the square, from the front";
    EXPECT_LT(middleWarmthOfShow("mine.toml", 6.5), -20) << "the sky, from behind it";
    EXPECT_NE(splash, middleWarmthOfShow("mine.toml", 3.5)) << "the splash comes first";
}

// Without a camera, --show adds one that circles the scene and writes a show around it.
TEST_F(SceneImportShowTest, AStarterShowWithAnOrbitCameraPlaysAsWritten) {
    ASSERT_EQ(import("bare.gltf", squareWithCameras(false), "bare.3df",
                     "--show '" + m_show.path() + "/starter.toml'"),
              0);
    std::ifstream in(m_show.path() + "/starter.toml");
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_NE(text.find("scene = \"bare.3df\""), std::string::npos) << text;
    EXPECT_NE(text.find("camera = \"Orbit\""), std::string::npos) << text;
    EXPECT_NE(text.find("music = \"preview1.mp3\""), std::string::npos) << text;
    EXPECT_GT(middleWarmthOfShow("starter.toml", 3.0), 100) << "the square, from the orbit";
}

} // namespace
