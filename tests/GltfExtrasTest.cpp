// What Assimp loses from glTF files, read from the file itself.
#include "tools/scene-import/GltfExtras.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

using sceneimport::gltfExtrasFromJson;
using sceneimport::readGltfExtras;

const std::string kLights =
    "{\"extensions\":{\"KHR_lights_punctual\":{\"lights\":["
    "{\"type\":\"point\",\"range\":12.5},{\"type\":\"point\"},{\"type\":\"spot\",\"range\":3},"
    "{\"type\":\"point\",\"range\":1e300},{\"type\":\"point\",\"range\":1e-60}]}},"
    "\"nodes\":[{\"name\":\"A\",\"extensions\":{\"KHR_lights_punctual\":{\"light\":0}}},"
    "{\"name\":\"B \\\"quoted\\\"\",\"extensions\":{\"KHR_lights_punctual\":{\"light\":2}}},"
    "{\"name\":\"C\",\"extensions\":{\"KHR_lights_punctual\":{\"light\":1}}},"
    "{\"name\":\"D\",\"extensions\":{\"KHR_lights_punctual\":{\"light\":7}}},"
    "{\"name\":\"F\",\"extensions\":{\"KHR_lights_punctual\":{\"light\":3}}},"
    "{\"name\":\"G\",\"extensions\":{\"KHR_lights_punctual\":{\"light\":4}}},"
    "{\"name\":\"E\",\"children\":[],\"scale\":[1e0,-2.5E-1,true],\"x\":null}]}";

TEST(GltfExtras, LightRangesAreFoundByTheLightsNodeName) {
    const sceneimport::GltfExtras extras = gltfExtrasFromJson(kLights);
    ASSERT_EQ(extras.lightRanges.size(), 2u)
        << "lights without range, bad indices, ranges no float holds: none";
    EXPECT_FLOAT_EQ(extras.lightRanges.at("A"), 12.5f);
    EXPECT_FLOAT_EQ(extras.lightRanges.at("B \"quoted\""), 3.0f);
    EXPECT_EQ(extras.sharedCamerasAndLights, 0);
}

TEST(GltfExtras, NodesSharingACameraOrLightAreCounted) {
    const sceneimport::GltfExtras extras = gltfExtrasFromJson(
        "{\"extensions\":{\"KHR_lights_punctual\":{\"lights\":[{\"type\":\"point\"}]}},"
        "\"nodes\":[{\"camera\":0},{\"camera\":1},{\"camera\":0},{\"camera\":0},"
        "{\"extensions\":{\"KHR_lights_punctual\":{\"light\":0}}},"
        "{\"extensions\":{\"KHR_lights_punctual\":{\"light\":0}}}]}");
    EXPECT_EQ(extras.sharedCamerasAndLights, 3);
}

TEST(GltfExtras, DamagedOrForeignTextGivesNothing) {
    for (const std::string& text :
         {kLights.substr(0, kLights.size() - 3), std::string("[1,2"), std::string("{\"a\":}"),
          std::string(200, '['), std::string("{}"), std::string("{\"nodes\":5}")}) {
        EXPECT_TRUE(gltfExtrasFromJson(text).lightRanges.empty()) << text.substr(0, 40);
    }
    // Not JSON numbers, though strtod reads them: a NaN light index once indexed far past the
    // lights.
    for (const char* index : {"nan", "-nan", "inf", "-infinity", "0x0", "1e999"}) {
        std::string text = kLights;
        text.replace(text.find("\"light\":0") + 8, 1, index);
        EXPECT_TRUE(gltfExtrasFromJson(text).lightRanges.empty()) << index;
    }
}

TEST(GltfExtras, TextAndBinaryFilesAreBothRead) {
    TempDir dir;
    EXPECT_EQ(readGltfExtras(dir.write("a.gltf", "\n  " + kLights)).lightRanges.size(), 2u);
    std::string glb = "glTF";
    const auto le = [&glb](uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            glb += static_cast<char>((v >> (8 * i)) & 0xFF);
        }
    };
    le(2);
    le(static_cast<uint32_t>(20 + kLights.size()));
    le(static_cast<uint32_t>(kLights.size()));
    glb += "JSON" + kLights;
    EXPECT_EQ(readGltfExtras(dir.write("a.glb", glb)).lightRanges.size(), 2u);
    glb[12] = '\x7f'; // a chunk longer than the file
    EXPECT_TRUE(readGltfExtras(dir.write("b.glb", glb)).lightRanges.empty());
    EXPECT_TRUE(readGltfExtras(dir.write("a.obj", "v 0 0 0\n")).lightRanges.empty());
    EXPECT_TRUE(readGltfExtras(dir.file("missing.gltf")).lightRanges.empty());
}

} // namespace
