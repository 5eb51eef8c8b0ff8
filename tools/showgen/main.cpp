// showgen: writes the show's whole data directory (scene, textures, splash images, music and
// the shader sources) from code, the same bytes on every run.
#include "tools/showgen/ShowContent.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

void usage() {
    std::fprintf(stderr, "usage: showgen --out DIR [--shaders DIR] [--fonts DIR]\n"
                         "  --out DIR      where to write the show's files\n"
                         "  --shaders DIR  copy the *.vsh and *.psh files found there"
                         " (default: " TARNELIX_DEFAULT_SHADER_DIR ")\n"
                         "  --fonts DIR    where DejaVuSans.ttf and its family are"
                         " (default: " TARNELIX_DEFAULT_FONT_DIR ")\n");
}

} // namespace

int main(int argc, char** argv) {
    std::string outDir;
    showgen::ShowOptions options;
    options.shaderDir = TARNELIX_DEFAULT_SHADER_DIR;
    options.fontDir = TARNELIX_DEFAULT_FONT_DIR;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--out") == 0 && hasValue) {
            outDir = argv[++i];
        } else if (std::strcmp(argv[i], "--shaders") == 0 && hasValue) {
            options.shaderDir = argv[++i];
        } else if (std::strcmp(argv[i], "--fonts") == 0 && hasValue) {
            options.fontDir = argv[++i];
        } else {
            usage();
            return 2;
        }
    }
    if (outDir.empty()) {
        usage();
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    std::vector<showgen::GeneratedFile> files;
    std::string error;
    if (!showgen::generateShow(options, files, error) ||
        !showgen::writeFiles(outDir, files, error)) {
        std::fprintf(stderr, "showgen: %s\n", error.c_str());
        return 1;
    }
    size_t bytes = 0;
    for (const showgen::GeneratedFile& file : files) {
        bytes += file.bytes.size();
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("showgen: %zu files, %.1f MB in %s, %.2f s\n", files.size(), bytes / 1.0e6,
                outDir.c_str(), seconds);
    return 0;
}
