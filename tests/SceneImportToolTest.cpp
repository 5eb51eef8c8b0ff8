// The scene-import program itself: what a person running it sees.
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace {

struct ToolRun {
    int status = -1;
    std::string output;
};

ToolRun run(const std::string& arguments) {
    ToolRun result;
    const std::string command = std::string(SCENE_IMPORT_PROGRAM) + " " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return result;
    }
    char buffer[512];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        result.output.append(buffer, got);
    }
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

TEST(SceneImportTool, AnUnreadableFileGivesOneLineAndExitOne) {
    TempDir dir;
    for (const char* bytes : {"\x7f"
                              "ELF garbage",
                              "{\"asset\":{\"version\":\"2.0\"},\"nodes\":[{"}) {
        const std::string input = dir.write("broken.gltf", bytes);
        const ToolRun r = run("'" + input + "' -o '" + dir.file("out.3df") + "'");
        EXPECT_EQ(r.status, 1) << r.output;
        EXPECT_EQ(r.output.rfind("scene-import: cannot read ", 0), 0u) << r.output;
        EXPECT_EQ(r.output.find('\n'), r.output.size() - 1) << "one line: " << r.output;
    }
    const ToolRun missing = run("'" + dir.file("absent.obj") + "'");
    EXPECT_EQ(missing.status, 1) << missing.output;
}

TEST(SceneImportTool, AConvertedSceneIsReportedOnStandardOutput) {
    TempDir dir;
    const std::string input = dir.write("tri.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
    const ToolRun r = run("'" + input + "'");
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("1 objects"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("warning: no cameras"), std::string::npos) << r.output;
    FILE* written = std::fopen(dir.file("tri.3df").c_str(), "rb");
    EXPECT_NE(written, nullptr) << "the scene goes beside its source by default";
    if (written != nullptr) {
        std::fclose(written);
    }
}

} // namespace
