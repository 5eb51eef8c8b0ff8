// fuzz-seeds DIR: writes the generated seeds of the fuzz targets, small scenes made with the
// scene writer into DIR/scene and small images of every kind the decoders take into
// DIR/texture. The seeds taken from the show itself live in tests/data/fuzz.
#include "ImageEncoding.h"
#include "tools/scenewriter/SceneWriter.h"

#include <png.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using scenefile::Vec3;

bool save(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    return static_cast<bool>(
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size())));
}

scenefile::Vertex vertex(float x, float y, float z) {
    scenefile::Vertex v;
    v.position = {x, y, z};
    v.normal = {0, 0, -1};
    v.u = x;
    v.v = y;
    return v;
}

scenefile::Object triangle(int32_t material) {
    scenefile::Object o;
    o.material = material;
    o.vertices = {vertex(-1, -1, 0), vertex(1, -1, 0), vertex(0, 1, 0)};
    o.indices = {0, 1, 2};
    return o;
}

// Every kind of record once, the animated ones with two frames.
scenefile::Scene everyRecord() {
    scenefile::Scene s;
    s.frameCount = 2;
    s.animated = true;
    s.sceneTrack1 = {{0, 0, 0}, {1, 1, 1}};
    s.sceneTrack2 = {{2, 2, 2}, {3, 3, 3}};
    scenefile::Material plain;
    plain.diffuse = {0.5f, 0.5f, 0.5f};
    scenefile::Material textured = plain;
    textured.normalMap = "stone_nm.jpg";
    textured.colorTexture = "stone.png";
    textured.alphaTest = true;
    textured.selfIllum = true;
    s.materials = {plain, textured};
    scenefile::Object animated = triangle(1);
    animated.animated = true;
    animated.frames.resize(2);
    animated.frames[1].axis = {0, 1, 0};
    animated.frames[1].angle = 1.0f;
    s.objects = {triangle(0), animated, triangle(scenefile::kNoMaterial)};
    scenefile::Light light;
    light.radius = 10.0f;
    light.animated = true;
    light.colors = {{1, 1, 1}, {1, 0, 0}};
    light.positions = {{0, 0, -2}, {0, 1, -2}};
    light.radii = {10.0f, 20.0f};
    s.lights = {light};
    scenefile::Camera camera;
    camera.name = "Camera01";
    camera.eye = {0, 0, -10};
    camera.fov = 0.8f;
    camera.animated = true;
    camera.eyes = {{0, 0, -10}, {0, 1, -10}};
    camera.targets = {{0, 0, 0}, {0, 0, 0}};
    camera.fovs = {0.8f, 0.9f};
    s.cameras = {camera};
    return s;
}

// Nothing animated: the counts follow each other directly.
scenefile::Scene stillLife() {
    scenefile::Scene s;
    s.frameCount = 600;
    s.materials.resize(1);
    s.objects = {triangle(0)};
    s.objects[0].placement.position = {5, 0, 0};
    s.lights.resize(1);
    s.cameras.resize(1);
    s.cameras[0].name = "Camera02";
    return s;
}

bool writeScenes(const std::filesystem::path& folder) {
    std::vector<uint8_t> every, still, empty;
    return scenefile::writeScene(everyRecord(), every) &&
           scenefile::writeScene(stillLife(), still) &&
           scenefile::writeScene(scenefile::Scene(), empty) &&
           save(folder / "every-record.3df", every) && save(folder / "still-life.3df", still) &&
           save(folder / "empty.3df", empty);
}

// A small pattern, so that the encoders have detail to code.
std::vector<uint8_t> pattern(int width, int height, int components) {
    std::vector<uint8_t> pixels(size_t(width) * height * components);
    for (size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = static_cast<uint8_t>(i * 37 + (i / components) * 11);
    }
    return pixels;
}

bool writeImages(const std::filesystem::path& folder) {
    const uint8_t palette[] = {0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255};
    std::vector<uint8_t> indices = pattern(8, 8, 1);
    for (uint8_t& index : indices) {
        index %= 4;
    }
    return save(folder / "baseline.jpg", encodeJpeg(pattern(16, 16, 3), 16, 16, 3, false)) &&
           save(folder / "progressive.jpg", encodeJpeg(pattern(16, 8, 3), 16, 8, 3, true)) &&
           save(folder / "grey.jpg", encodeJpeg(pattern(8, 8, 1), 8, 8, 1, false)) &&
           save(folder / "rgba.png", encodePng(pattern(8, 8, 4).data(), 8, 8, PNG_FORMAT_RGBA)) &&
           save(folder / "rgb.png", encodePng(pattern(5, 3, 3).data(), 5, 3, PNG_FORMAT_RGB)) &&
           save(folder / "grey-alpha.png",
                encodePng(pattern(4, 4, 2).data(), 4, 4, PNG_FORMAT_GA)) &&
           save(folder / "palette.png",
                encodePng(indices.data(), 8, 8, PNG_FORMAT_RGB_COLORMAP, palette, 4));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz-seeds DIR\n");
        return 2;
    }
    const std::filesystem::path root = argv[1];
    std::error_code error;
    std::filesystem::create_directories(root / "scene", error);
    std::filesystem::create_directories(root / "texture", error);
    if (!writeScenes(root / "scene") || !writeImages(root / "texture")) {
        std::fprintf(stderr, "fuzz-seeds: cannot write the seeds into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
