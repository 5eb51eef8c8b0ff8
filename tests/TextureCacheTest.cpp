#include "ImageEncoding.h"
#include "MemoryDevice.h"
#include "TempDir.h"

#include "engine/resources/ProgramDevice.h"
#include "engine/resources/SamplerFilterHook.h"
#include "engine/resources/Texture.h"
#include "engine/resources/TextureCache.h"

#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <string>
#include <utility>
#include <vector>

namespace {

// Runs each test in a fresh directory holding the image files it writes, with a memory device
// as the program's device.
class Textures : public ::testing::Test {
protected:
    void SetUp() override {
        char here[4096];
        ASSERT_NE(getcwd(here, sizeof here), nullptr);
        m_previous = here;
        ASSERT_EQ(chdir(m_dir.path().c_str()), 0);
        setProgramDevice(device);
    }
    void TearDown() override {
        setProgramDevice(nullptr);
        setSamplerFilterApply(nullptr);
        ASSERT_EQ(chdir(m_previous.c_str()), 0);
        device->Release();
    }

    void writeJpeg(const std::string& name, int width, int height) {
        const auto bytes =
            encodeJpeg(solidPixels(width, height, {10, 200, 30}), width, height, 3, false);
        m_dir.write(name, std::string(bytes.begin(), bytes.end()));
    }

    MemoryDevice* device = new MemoryDevice;
    TempDir m_dir;
    std::string m_previous;
};

MemoryTexture* image(const Texture* texture) {
    return static_cast<MemoryTexture*>(texture->d3dTexture());
}

int g_applied = 0;

} // namespace

TEST_F(Textures, LoadMakesAManagedTextureWithAFullChain) {
    writeJpeg("intro.jpg", 100, 60);
    Texture texture;
    texture.load("intro.jpg");
    ASSERT_FALSE(texture.empty());
    // Power-of-two sizes and the file's format are the extension library's business.
    EXPECT_EQ(image(&texture)->GetLevelCount(), 8u); // 128 x 64 down to 1 x 1
    EXPECT_EQ(image(&texture)->pool, D3DPOOL_MANAGED);
    texture.release();
    EXPECT_TRUE(texture.empty());
}

TEST_F(Textures, MissingEmptyAndNonImageFilesLeaveTheTextureEmptyAndSayWhy) {
    m_dir.write("empty.jpg", "");
    m_dir.write("notes.jpg", "just some text");
    const std::pair<const char*, const char*> files[] = {
        {"missing.jpg", "missing"}, {"empty.jpg", "empty"}, {"notes.jpg", "not a JPEG or PNG"}};
    for (const auto& [name, reason] : files) {
        Texture texture;
        const char* failure = texture.load(name);
        EXPECT_TRUE(texture.empty()) << name;
        ASSERT_NE(failure, nullptr) << name;
        EXPECT_NE(std::string(failure).find(reason), std::string::npos) << failure;
    }
}

TEST_F(Textures, BindSetsTheStageAddressModesAndFilters) {
    writeJpeg("a.jpg", 8, 8);
    setSamplerFilterApply([](uint32_t) { ++g_applied; });
    g_applied = 0;
    Texture texture;
    texture.load("a.jpg");
    texture.bind(0, 0, 0);
    EXPECT_EQ(device->textures[0], texture.d3dTexture());
    ASSERT_EQ(device->samplerStates.size(), 2u);
    EXPECT_EQ(device->samplerStates[0].type, D3DSAMP_ADDRESSU);
    EXPECT_EQ(device->samplerStates[0].value, DWORD(D3DTADDRESS_WRAP));
    EXPECT_EQ(device->samplerStates[1].type, D3DSAMP_ADDRESSV);
    EXPECT_EQ(g_applied, 1);
    texture.bind(1, D3DTADDRESS_CLAMP, D3DTADDRESS_MIRROR);
    EXPECT_EQ(device->samplerStates[2].value, DWORD(D3DTADDRESS_CLAMP));
    EXPECT_EQ(device->samplerStates[3].value, DWORD(D3DTADDRESS_MIRROR));
    texture.release();

    Texture empty;
    empty.bind(0, 0, 0); // clears the stage
    EXPECT_EQ(device->textures[0], nullptr);
}

TEST_F(Textures, TheCacheLoadsEachNameOnceAndKeepsAndReportsEmptyEntries) {
    writeJpeg("rock.jpg", 4, 4);
    TextureCache cache;
    std::vector<std::string> reported;
    cache.onLoadFailure = [&](const char* name, const char*) { reported.push_back(name); };
    Texture* first = cache.get("rock.jpg");
    EXPECT_EQ(cache.get("rock.jpg"), first);
    EXPECT_EQ(device->texturesCreated, 1);
    EXPECT_FALSE(first->empty());

    Texture* missing = cache.get("gone.jpg");
    ASSERT_NE(missing, nullptr);
    EXPECT_TRUE(missing->empty());
    writeJpeg("gone.jpg", 4, 4); // appears later: the cached empty texture stays
    EXPECT_EQ(cache.get("gone.jpg"), missing);
    EXPECT_TRUE(missing->empty());

    Texture* upper = cache.get("ROCK.jpg"); // another name, another entry
    EXPECT_NE(upper, first);
    EXPECT_EQ(cache.size(), 3u);
    EXPECT_EQ(cache.names(), (std::vector<std::string>{"ROCK.jpg", "gone.jpg", "rock.jpg"}));
    EXPECT_EQ(reported, (std::vector<std::string>{"gone.jpg", "ROCK.jpg"})) << "each name once";
}

TEST_F(Textures, TheCacheReleasesInKeyOrder) {
    writeJpeg("b.jpg", 4, 4);
    writeJpeg("a.jpg", 4, 4);
    writeJpeg("c.jpg", 4, 4);
    {
        TextureCache cache;
        cache.get("b.jpg"); // texture 0
        cache.get("c.jpg"); // texture 1
        cache.get("a.jpg"); // texture 2
        EXPECT_TRUE(device->textureReleases.empty());
    }
    EXPECT_EQ(device->textureReleases, (std::vector<int>{2, 0, 1}));
}
