#include "tools/showgen/ImageFiles.h"
#include "tools/showgen/ShowContent.h"
#include "tools/showgen/Splash.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

showgen::ShowOptions buildOptions() {
    showgen::ShowOptions options;
    options.shaderDir = TARNELIX_SHADER_DIR;
    options.fontDir = TARNELIX_FONT_DIR;
    return options;
}

std::vector<uint8_t> readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

TEST(ShowgenShow, SplashImagesFillTheScreen) {
    std::vector<showgen::GeneratedFile> files;
    std::string error;
    ASSERT_TRUE(showgen::generateSplashes(TARNELIX_FONT_DIR, files, error)) << error;
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0].name, "intro.jpg");
    EXPECT_EQ(files[1].name, "extro.jpg");
    for (const showgen::GeneratedFile& file : files) {
        showgen::Image image;
        ASSERT_TRUE(showgen::decodeJpeg(file.bytes, image)) << file.name;
        EXPECT_EQ(image.width(), 1024);
        EXPECT_EQ(image.height(), 768);
    }
}

TEST(ShowgenShow, MissingFontsAndShadersAreReported) {
    std::vector<showgen::GeneratedFile> files;
    std::string error;
    EXPECT_FALSE(showgen::generateSplashes("/nonexistent-font-dir", files, error));
    EXPECT_NE(error.find("font"), std::string::npos) << error;
    error.clear();
    EXPECT_FALSE(showgen::readShaders("/nonexistent-shader-dir", files, error));
    EXPECT_NE(error.find("shader"), std::string::npos) << error;
}

TEST(ShowgenShow, ShaderSourcesAreCopiedInNameOrder) {
    TempDir dir;
    dir.write("b.psh", "pixel");
    dir.write("a.vsh", "vertex");
    dir.write("notes.txt", "not a shader");
    std::vector<showgen::GeneratedFile> files;
    std::string error;
    ASSERT_TRUE(showgen::readShaders(dir.path(), files, error)) << error;
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0].name, "a.vsh");
    EXPECT_EQ(std::string(files[0].bytes.begin(), files[0].bytes.end()), "vertex");
    EXPECT_EQ(files[1].name, "b.psh");
}

// The build wrote the show with another process; a fresh run must give the same bytes. The
// music's own test compares the music.
TEST(ShowgenShow, RegeneratesTheBuiltDirectoryByteForByte) {
    std::vector<showgen::GeneratedFile> files;
    std::string error;
    showgen::ShowOptions options = buildOptions();
    options.withMusic = false;
    ASSERT_TRUE(showgen::generateShow(options, files, error)) << error;
    ASSERT_GT(files.size(), 25u);
    for (const showgen::GeneratedFile& file : files) {
        EXPECT_NE(file.name, "preview1.mp3");
        const std::vector<uint8_t> built =
            readAll(std::string(TARNELIX_SHOW_DIR) + "/" + file.name);
        EXPECT_TRUE(built == file.bytes) << file.name << " differs from the built show";
    }
}

TEST(ShowgenShow, WritesIntoANewDirectory) {
    TempDir dir;
    const std::string target = dir.file("nested/show");
    std::string error;
    ASSERT_TRUE(showgen::writeFiles(target, {{"one.bin", {1, 2, 3}}}, error)) << error;
    EXPECT_EQ(readAll(target + "/one.bin"), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_FALSE(showgen::writeFiles(dir.file("nested/show/one.bin"), {{"x", {}}}, error));
}
