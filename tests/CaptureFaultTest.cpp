// tarnelix-capture on a damaged copy of the show's folder: every fault is told in one line;
// the show plays on where it has a fallback, and otherwise the run stops with a non-zero exit
// before anything is written, never leaving a truncated file under the name asked for.

#include "ScratchShow.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>

namespace {

namespace fs = std::filesystem;

struct CaptureRun {
    int code = -1;
    std::string messages; // stderr without the progress bar

    int lines(std::initializer_list<const char*> parts) const { return linesWith(messages, parts); }
};

class CaptureFaultTest : public ::testing::Test {
protected:
    // Runs the capture in the scratch show at 160 x 120 and 10 frames per second; `setup` is
    // shell text run before it in the same shell.
    CaptureRun capture(const std::string& arguments, const std::string& setup = "") const {
        const std::string errors = m_show.output("stderr.txt");
        const std::string command =
            "cd '" + m_show.path() + "' && " + setup + " '" + TARNELIX_CAPTURE_PROGRAM +
            "' --width 160 --height 120 --fps 10 " + arguments + " 2>'" + errors + "'";
        CaptureRun run;
        const int status = std::system(command.c_str());
        run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::ifstream in(errors);
        for (std::string line; std::getline(in, line);) {
            // The progress bar redraws itself with carriage returns.
            const size_t bar = line.rfind('\r');
            line = bar == std::string::npos ? line : line.substr(bar + 1);
            if (line.rfind("capture [", 0) != 0) {
                run.messages += line + "\n";
            }
        }
        return run;
    }

    std::string still() const { return m_show.output("still.png"); }
    // Nothing under the name asked for, and no partial file beside it.
    bool nothingWritten(const std::string& path) const {
        const fs::path asked(path);
        return !fs::exists(asked) &&
               !fs::exists(asked.parent_path() / (".partial-" + asked.filename().string()));
    }

    ScratchShow m_show{TARNELIX_SHOW_DIR};
};

TEST_F(CaptureFaultTest, AMissingOrDamagedSceneStopsTheCaptureBeforeItWrites) {
    m_show.remove("teste5.3df");
    CaptureRun run = capture("--at 20 --out " + still());
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.lines({"tarnelix-capture: teste5.3df: Cannot open file"}), 1) << run.messages;
    EXPECT_TRUE(nothingWritten(still()));

    m_show.truncate("teste5.3df", 100000);
    run = capture("--at 20 --out " + still());
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.lines({"tarnelix-capture: teste5.3df: "}), 1) << run.messages;
    EXPECT_TRUE(nothingWritten(still()));
}

TEST_F(CaptureFaultTest, AWindowThatCannotOpenIsToldUnderTheCapturesOwnName) {
    const CaptureRun run = capture("--at 5 --out " + still(), "SDL_VIDEO_EGL_DRIVER=/nowhere.so");
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.lines({"tarnelix-capture: cannot open the window"}), 1) << run.messages;
    EXPECT_EQ(run.lines({"tarnelix: "}), 0) << run.messages;
}

// Piped into a file, the progress bar is one line at the end, not a redraw per percent.
TEST_F(CaptureFaultTest, AProgressBarNoOneWatchesIsWrittenOnceAtTheEnd) {
    ASSERT_EQ(capture("--from 4 --to 6 --frames " + m_show.output("frames")).code, 0);
    std::ifstream in(m_show.output("stderr.txt"));
    const std::string printed{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(printed.find('\r'), std::string::npos);
    EXPECT_EQ(linesWith(printed, {"capture [", "100%"}), 1) << printed;
}

TEST_F(CaptureFaultTest, TexturesThatWillNotLoadAreNamedOnceAndTheShowGoesOn) {
    m_show.remove("lawn_grass.jpg");
    m_show.replace("hammered_brass.jpg", "not an image");
    const std::string frames = m_show.output("frames");
    // Across a change of camera segment, where the scene is played again.
    const CaptureRun run = capture("--from 34.8 --to 35.2 --frames " + frames);
    EXPECT_EQ(run.code, 0) << run.messages;
    EXPECT_EQ(run.lines({"lawn_grass.jpg: the file is missing", "goes on without"}), 1)
        << run.messages;
    EXPECT_EQ(run.lines({"hammered_brass.jpg: not a JPEG or PNG image", "goes on without"}), 1)
        << run.messages;
    EXPECT_TRUE(fs::exists(frames + "/frame-000352.png"));
}

TEST_F(CaptureFaultTest, AShaderMissingOrNotCompilingStopsTheCaptureWithTheCompilersMessage) {
    m_show.remove("nullvertexshader.vsh");
    CaptureRun run = capture("--at 20 --out " + still());
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.lines({"nullvertexshader.vsh", "cannot open the file"}), 1) << run.messages;
    EXPECT_EQ(run.lines({"tarnelix-capture: a shader program did not build"}), 1);
    EXPECT_TRUE(nothingWritten(still()));

    m_show.replace("nullvertexshader.vsh", "float4 main(float4 p : POSITION) : POSITION { retur }");
    m_show.replace("glowpixelshader.psh", "float4 main() : COLOR { return undeclared; }");
    run = capture("--at 20 --out " + still());
    EXPECT_EQ(run.code, 1);
    EXPECT_GE(run.lines({"nullvertexshader.vsh:1", "retur"}), 1) << run.messages;
    EXPECT_GE(run.lines({"glowpixelshader.psh", "undeclared"}), 1) << run.messages;
    EXPECT_TRUE(nothingWritten(still()));
}

TEST_F(CaptureFaultTest, SplashFramesNeedNoShaderAndAreWrittenAllTheSame) {
    m_show.replace("glowpixelshader.psh", "float4 main() : COLOR { return undeclared; }");
    CaptureRun run = capture("--at 5 --out " + still());
    EXPECT_EQ(run.code, 0) << run.messages;
    EXPECT_EQ(run.lines({"tarnelix-capture: a shader program did not build", "all splash frames"}),
              1)
        << run.messages;
    EXPECT_TRUE(fs::exists(still()));

    // A stretch that reaches a camera segment still needs every shader.
    const std::string frames = m_show.output("frames");
    run = capture("--from 9.8 --to 10.2 --frames " + frames);
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.lines({"tarnelix-capture: a shader program did not build"}), 1) << run.messages;
}

bool hasAudio(const std::string& video) {
    const std::string command = "ffprobe -v error -select_streams a -show_entries stream=index "
                                "-of csv=p=0 '" +
                                video + "'";
    FILE* probe = popen(command.c_str(), "r");
    char line[64] = {};
    const bool listed = probe != nullptr && fgets(line, sizeof line, probe) != nullptr;
    if (probe != nullptr) {
        pclose(probe);
    }
    return listed;
}

TEST_F(CaptureFaultTest, AVideoWithoutItsMusicIsMadeSilentAndSaysSo) {
    const std::string video = m_show.output("show.mp4");
    for (const char* music : {"the show's", "missing", "not an MP3"}) {
        SCOPED_TRACE(music);
        if (music == std::string("missing")) {
            m_show.remove("preview1.mp3");
        } else if (music == std::string("not an MP3")) {
            m_show.replace("preview1.mp3", "not music at all");
        }
        const bool silent = music != std::string("the show's");
        const CaptureRun run = capture("--from 5 --to 5.5 --video " + video);
        EXPECT_EQ(run.code, 0) << run.messages;
        EXPECT_EQ(run.lines({"tarnelix-capture: preview1.mp3: ", "the video is silent"}),
                  silent ? 1 : 0)
            << run.messages;
        ASSERT_TRUE(fs::exists(video));
        EXPECT_EQ(hasAudio(video), !silent);
        fs::remove(video);
    }
}

TEST_F(CaptureFaultTest, AnOutputFolderThatTakesNoFilesIsRefusedBeforeThePlay) {
    const std::string absent = m_show.output("absent");
    const std::pair<std::string, std::string> outputs[] = {
        {"--at 20 --out " + absent + "/still.png", absent},
        {"--frames " + absent + "/deeper", absent + "/deeper"},
        {"--video " + absent + "/show.mp4", absent},
        {"--frames /proc/frames", "/proc/frames"}, // refused even to root
    };
    for (const auto& [arguments, folder] : outputs) {
        SCOPED_TRACE(arguments);
        const CaptureRun run = capture(arguments);
        EXPECT_EQ(run.code, 1);
        EXPECT_EQ(run.lines({("tarnelix-capture: cannot write into " + folder + ": ").c_str()}), 1)
            << run.messages;
        EXPECT_EQ(run.lines({"frames written"}), 0);
    }
    EXPECT_FALSE(fs::exists(absent));
}

TEST_F(CaptureFaultTest, AVideoWithoutFfmpegIsRefusedAndLeavesNoFile) {
    const std::string video = m_show.output("show.mp4");
    const CaptureRun run = capture("--from 5 --to 5.5 --video " + video, "PATH=/nonexistent");
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.lines({"tarnelix-capture: cannot start ffmpeg"}), 1) << run.messages;
    EXPECT_TRUE(nothingWritten(video));
}

// A disk that fills up mid-write, made with a limit on the size of files (the process ignores
// the signal so that the write fails as on a full disk): the still under its name stays the
// one written before.
TEST_F(CaptureFaultTest, AWriteThatFailsLeavesNoTruncatedFile) {
    std::ofstream(still()) << "the previous still";
    const CaptureRun run = capture("--at 20 --out " + still(), "trap '' XFSZ; ulimit -f 4;");
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.lines({("tarnelix-capture: cannot write " + still() + ": ").c_str()}), 1)
        << run.messages;
    std::ifstream in(still());
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "the previous still");
    EXPECT_FALSE(fs::exists(m_show.output(".partial-still.png")));
}

TEST_F(CaptureFaultTest, AnotherSceneInAnotherFolderIsCapturedAndAMissingOneNamed) {
    std::ifstream original(std::string(TARNELIX_SHOW_DIR) + "/teste5.3df", std::ios::binary);
    m_show.replace("garden.3df", std::string(std::istreambuf_iterator<char>(original), {}));
    m_show.remove("teste5.3df");
    // Started elsewhere: the show's files come from --dir, the still lands where it started.
    const std::string elsewhere = "cd '" + fs::path(still()).parent_path().string() + "' && ";
    CaptureRun run = capture(
        "--dir '" + m_show.path() + "' --scene garden.3df --at 20 --out still.png", elsewhere);
    EXPECT_EQ(run.code, 0) << run.messages;
    EXPECT_TRUE(fs::exists(still()));

    run = capture("--dir '" + m_show.path() + "' --scene absent.3df --at 20 --out again.png",
                  elsewhere);
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.lines({"tarnelix-capture: absent.3df: Cannot open file"}), 1) << run.messages;
    EXPECT_TRUE(nothingWritten(m_show.output("again.png")));
}

} // namespace

namespace {

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

// The show folder's show.toml is the show's own script: with it, each frame is the same to the
// byte, just after every change of segment and in each camera segment.
TEST_F(CaptureFaultTest, TheShowsOwnShowFilePlaysTheSameFrames) {
    for (const char* at : {"10.1", "35.1", "70.1", "130.1", "22.5", "52.5", "100", "135"}) {
        const std::string plain = m_show.output(std::string("plain-") + at + ".png");
        const std::string scripted = m_show.output(std::string("scripted-") + at + ".png");
        ASSERT_EQ(capture(std::string("--at ") + at + " --out " + plain).code, 0) << at;
        ASSERT_EQ(capture(std::string("--at ") + at + " --out " + scripted + " --show " +
                          m_show.path() + "/show.toml")
                      .code,
                  0)
            << at;
        EXPECT_TRUE(fileBytes(plain) == fileBytes(scripted)) << at << " s differs";
    }
}

// What a show file names and the show cannot use is told at its place in the file before a
// frame is drawn.
TEST_F(CaptureFaultTest, AShowFileNamingWhatIsNotThereStopsAtItsPlace) {
    struct Case {
        const char* name;
        const char* text;
        const char* line;
    };
    const Case cases[] = {
        {"scene.toml", "scene = \"none.3df\"\n[[segment]]\ncamera = \"Camera01\"\nduration = 5\n",
         "scene.toml:1:9: none.3df: Cannot open file"},
        {"camera.toml",
         "scene = \"teste5.3df\"\n[[segment]]\ncamera = \"Camera09\"\nduration = 5\n",
         "camera.toml:3:10: camera \"Camera09\": expected a camera of teste5.3df"},
        {"image.toml",
         "scene = \"teste5.3df\"\n[[segment]]\nsplash = \"teste5.3df\"\nduration = 5\n",
         "image.toml:3:10: teste5.3df: not a JPEG or PNG image"},
        {"fade.toml",
         "scene = \"teste5.3df\"\n[[segment]]\nsplash = \"intro.jpg\"\nduration = 5\n"
         "fade_in = 4\nfade_out = 4\n",
         "fade.toml:2:1: fade_in + fade_out: expected no longer than the duration"},
    };
    for (const Case& c : cases) {
        m_show.replace(c.name, c.text);
        const CaptureRun run =
            capture("--at 1 --out " + still() + " --show " + m_show.path() + "/" + c.name);
        EXPECT_EQ(run.code, 1) << c.name;
        EXPECT_EQ(run.lines({c.line}), 1) << run.messages;
        EXPECT_TRUE(nothingWritten(still()));
    }
}
