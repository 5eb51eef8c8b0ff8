// Dear ImGui's Win32 + Direct3D 9 example, built unchanged against the installed stand-ins (see
// imgui_example_test.sh), used under a virtual X server as a person would use it: xdotool moves
// the mouse and types, and every action's effect is looked for on the screen.
//
// Places are in the example's client area, as Dear ImGui 1.86 (Debian 12) lays out its first
// frame with the default font and style; each step first checks that what it is about to click
// is where it should be, so that a different layout fails with a clear message.

#include "XvfbEvents.h"
#include "XvfbScreen.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

using tarnelix::test::Rgb;
using tarnelix::test::ScreenShot;

namespace {

const Rgb kClearColour{114, 140, 153}; // the example's clear colour, 0.45 0.55 0.60
const Rgb kHeader{34, 61, 93};         // a collapsing header at rest
const Rgb kFrame{32, 50, 77};          // the background of a field, a slider or a checkbox
const Rgb kCheckMark{66, 150, 250};
const Rgb kSliderGrab{61, 133, 224};

std::string run(const std::string& command) {
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (fgets(buffer, sizeof(buffer), pipe)) {
            output += buffer;
        }
        pclose(pipe);
    }
    return output;
}

void xdotool(const std::string& arguments) {
    ASSERT_EQ(std::system(("xdotool " + arguments).c_str()), 0) << "xdotool " << arguments;
}

void pause(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

class ImguiExample : public ::testing::Test {
protected:
    void SetUp() override {
        const char* example = std::getenv("TARNELIX_IMGUI_EXAMPLE");
        if (!example) {
            GTEST_SKIP()
                << "TARNELIX_IMGUI_EXAMPLE names no example (run by imgui_example_test.sh)";
        }
        m_log = "example.log";
        m_pid = fork();
        if (m_pid == 0) {
            int log = open(m_log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(log, 1);
            dup2(log, 2);
            setenv("TARNELIX_GL_CHECK", "1", 1);
            execl(example, example, static_cast<char*>(nullptr));
            _exit(127);
        }
        ASSERT_GT(m_pid, 0);
        std::string found = run("timeout 20 xdotool search --sync --onlyvisible --name "
                                "'Dear ImGui DirectX9 Example' | head -n 1");
        ASSERT_FALSE(found.empty()) << "the example's window did not appear";
        m_window = std::stoul(found);
        readOrigin();
        ASSERT_TRUE(waitFor([this](const ScreenShot&) { return colourAt(5, 5) == kClearColour; }))
            << "the example drew no first frame";
    }

    void TearDown() override {
        if (m_pid > 0 && !m_exited) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
        std::string log = run("cat " + m_log);
        EXPECT_EQ(log.find("GL error:"), std::string::npos) << log;
    }

    void readOrigin() {
        std::string geometry = run("xdotool getwindowgeometry --shell " + std::to_string(m_window));
        std::sscanf(geometry.c_str() + geometry.find("X="), "X=%d", &m_originX);
        std::sscanf(geometry.c_str() + geometry.find("Y="), "Y=%d", &m_originY);
    }

    // Takes pictures for up to ten seconds (the first frame waits for every shader to compile,
    // on a machine that may be busy) until one shows what the check looks for.
    bool waitFor(const std::function<bool(const ScreenShot&)>& check) {
        for (int attempt = 0; attempt < 200; ++attempt) {
            m_shot = ScreenShot::take();
            if (!m_shot.empty() && check(m_shot)) {
                return true;
            }
            pause(50);
        }
        return false;
    }

    Rgb colourAt(int x, int y) const { return m_shot.at(m_originX + x, m_originY + y); }

    int countIn(int left, int top, int right, int bottom,
                const std::function<bool(const Rgb&)>& wanted) const {
        int count = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                count += wanted(colourAt(x, y)) ? 1 : 0;
            }
        }
        return count;
    }

    std::string at(int x, int y) const {
        return std::to_string(m_originX + x) + " " + std::to_string(m_originY + y);
    }

    // Dear ImGui reads the buttons once a frame: a press and release between two frames would
    // be lost, on Windows as here, so the button is held for several frames.
    void click(int x, int y) {
        xdotool("mousemove " + at(x, y));
        pause(250);
        xdotool("mousedown 1");
        pause(250);
        xdotool("mouseup 1");
    }

    pid_t m_pid = -1;
    bool m_exited = false;
    std::string m_log;
    unsigned long m_window = 0;
    int m_originX = 0;
    int m_originY = 0;
    ScreenShot m_shot;
};

TEST_F(ImguiExample, TreeNodesCheckboxSliderTextResizeAndClose) {
    // Open the demo's "Widgets" header: the header below it moves down.
    ASSERT_EQ(colourAt(660, 165), kHeader) << "no \"Widgets\" header where it should be";
    ASSERT_EQ(colourAt(660, 188), kHeader);
    click(705, 165);
    ASSERT_TRUE(waitFor([this](const ScreenShot&) { return colourAt(660, 188) != kHeader; }))
        << "the header did not open";
    // Open its "Basic" tree node: the text field with a hint appears.
    click(700, 185);
    ASSERT_TRUE(waitFor([this](const ScreenShot&) { return colourAt(850, 410) == kFrame; }))
        << "the tree node did not open";

    // Type into the field: its bright pixels are the typed text (the hint is grey).
    auto typed = [this] {
        return countIn(680, 402, 1000, 419,
                       [](const Rgb& c) { return c.r > 200 && c.g > 200 && c.b > 200; });
    };
    EXPECT_EQ(typed(), 0);
    xdotool("windowfocus --sync " + std::to_string(m_window));
    click(850, 410);
    pause(150);
    xdotool("type --delay 60 Tarnelix");
    EXPECT_TRUE(waitFor([&](const ScreenShot&) { return typed() > 30; })) << "no text appeared";

    // Drag the "float" slider of the "Hello, world!" window from its left end to the right.
    auto grabbedBetween = [this](int left, int right) {
        return countIn(left, 158, right, 160, [](const Rgb& c) { return c == kSliderGrab; }) > 0;
    };
    ASSERT_TRUE(grabbedBetween(67, 76)) << "no slider at the left end where it should be";
    xdotool("mousemove " + at(70, 159));
    pause(150);
    xdotool("mousedown 1");
    for (int x = 100; x <= 250; x += 50) {
        pause(80);
        xdotool("mousemove " + at(x, 159));
    }
    pause(150);
    xdotool("mouseup 1");
    EXPECT_TRUE(waitFor([&](const ScreenShot&) {
        return grabbedBetween(225, 275) && !grabbedBetween(67, 76);
    })) << "the slider did not follow the mouse";

    // Tick "Another Window": the check mark shows (the new window covers the box's top edge).
    auto ticked = [this] {
        return countIn(68, 132, 87, 145, [](const Rgb& c) { return c == kCheckMark; });
    };
    ASSERT_EQ(colourAt(70, 140), kFrame) << "no checkbox where it should be";
    EXPECT_EQ(ticked(), 0);
    click(77, 137);
    EXPECT_TRUE(waitFor([&](const ScreenShot&) { return ticked() > 5; })) << "no check mark";

    // Make the window smaller: the program's WM_SIZE handler resets the device with the new
    // size, and the next frames fill exactly the new client area, at the same scale.
    Rgb demoTitle = colourAt(700, 25);
    xdotool("windowsize --sync " + std::to_string(m_window) + " 1000 700");
    EXPECT_TRUE(waitFor([&](const ScreenShot&) {
        bool rightEdge = colourAt(995, 10) == kClearColour && colourAt(1005, 10) != kClearColour;
        bool bottomEdge = colourAt(600, 695) == kClearColour && colourAt(600, 705) != kClearColour;
        return rightEdge && bottomEdge && colourAt(700, 25) == demoTitle;
    })) << "the picture does not fill the resized window";

    // Close it as the close box does: the window manager's request, then the program quits.
    ASSERT_TRUE(tarnelix::test::sendCloseRequest(m_window));
    int status = -1;
    for (int attempt = 0; attempt < 100 && !m_exited; ++attempt) {
        m_exited = waitpid(m_pid, &status, WNOHANG) == m_pid;
        pause(50);
    }
    ASSERT_TRUE(m_exited) << "the example did not quit";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
}

} // namespace
