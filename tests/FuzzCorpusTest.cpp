// Every input kept in tests/data/fuzz, through the same work as in its fuzz target: the inputs
// that once broke something, and the seeds taken from the show. Under the sanitizer build a
// memory error in any of them fails the run as well.
#include "FuzzInputs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>

namespace {

using Check = const char* (*)(const uint8_t*, size_t);

void replayFolder(const char* name, Check check) {
    const std::filesystem::path folder = std::filesystem::path(TARNELIX_FUZZ_CORPUS) / name;
    int replayed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        const char* broken = check(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        EXPECT_TRUE(broken == nullptr) << entry.path().filename() << ": " << broken;
        ++replayed;
    }
    EXPECT_GT(replayed, 0) << folder;
}

// Scenes load or are refused with a reason, images become textures or are refused, shader
// sources compile or fail with a message, glTF files give usable light ranges or nothing, show
// files give a playable script or one line saying where they fail.
TEST(FuzzCorpusTest, EveryKeptInputIsHandled) {
    const std::pair<const char*, Check> targets[] = {{"scene", loadSceneBytes},
                                                     {"texture", decodeTextureBytes},
                                                     {"hlsl", compileHlslText},
                                                     {"gltf", readGltfExtrasBytes},
                                                     {"show", readShowFileText}};
    for (const auto& [folder, check] : targets) {
        SCOPED_TRACE(folder);
        replayFolder(folder, check);
    }
}

} // namespace
