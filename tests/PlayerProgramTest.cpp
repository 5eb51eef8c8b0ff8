// tarnelix-player under an X server, driven by key presses from outside as a developer's
// keyboard would: the window's title says where the show is and whether it is paused.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <regex>
#include <signal.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

std::string run(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe)) {
            out += buffer;
        }
        pclose(pipe);
    }
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) {
        out.pop_back();
    }
    return out;
}

struct Title {
    double seconds = -1.0;
    bool paused = false;
};

class PlayerProgramTest : public ::testing::Test {
protected:
    void TearDown() override {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
    }

    void start(std::vector<std::string> args) {
        m_pid = fork();
        ASSERT_GE(m_pid, 0);
        if (m_pid == 0) {
            std::vector<char*> argv;
            argv.push_back(const_cast<char*>(TARNELIX_PLAYER_PROGRAM));
            for (std::string& arg : args) {
                argv.push_back(arg.data());
            }
            argv.push_back(nullptr);
            execv(TARNELIX_PLAYER_PROGRAM, argv.data());
            _exit(127);
        }
    }

    // The player's window, once it shows the time.
    std::string window() {
        if (m_window.empty()) {
            m_window = run("xdotool search --name '^tarnelix-player [0-9]' 2>/dev/null | head -1");
        }
        return m_window;
    }

    Title title() {
        Title result;
        if (window().empty()) {
            return result;
        }
        const std::string text = run("xdotool getwindowname " + window() + " 2>/dev/null");
        std::smatch match;
        if (std::regex_search(text, match, std::regex("^tarnelix-player ([0-9.]+) s"))) {
            result.seconds = std::stod(match[1]);
            result.paused = text.find("paused") != std::string::npos;
        }
        return result;
    }

    // Waits (software rendering is slow) until the title satisfies `wanted`.
    bool waitFor(const std::function<bool(const Title&)>& wanted, Title& last) {
        const auto deadline = std::chrono::steady_clock::now() + 90s;
        while (std::chrono::steady_clock::now() < deadline) {
            last = title();
            if (last.seconds >= 0.0 && wanted(last)) {
                return true;
            }
            std::this_thread::sleep_for(100ms);
        }
        return false;
    }

    void key(const std::string& keys) { run("xdotool key --window " + window() + " " + keys); }

    pid_t m_pid = -1;
    std::string m_window;
};

} // namespace

TEST_F(PlayerProgramTest, SeeksPausesAndQuitsByKeys) {
    ASSERT_EQ(std::system("command -v xdotool > /dev/null"), 0)
        << "xdotool presses the keys: scripts/install-deps installs it";
    start({"--dir", TARNELIX_SHOW_DIR, "--width", "320", "--height", "240", "--paused", "--from",
           "5"});
    Title now;
    ASSERT_TRUE(waitFor([](const Title& t) { return t.paused && t.seconds == 5.0; }, now))
        << now.seconds;

    key("Right Right Right");
    EXPECT_TRUE(waitFor([](const Title& t) { return t.seconds == 8.0; }, now)) << now.seconds;
    EXPECT_TRUE(now.paused);
    // Back in time: the show starts again and steps up to 7 s.
    key("Left");
    EXPECT_TRUE(waitFor([](const Title& t) { return t.seconds == 7.0; }, now)) << now.seconds;
    key("Up");
    EXPECT_TRUE(waitFor([](const Title& t) { return t.seconds == 17.0; }, now)) << now.seconds;
    key("Down Down");
    EXPECT_TRUE(waitFor([](const Title& t) { return t.seconds == 0.0; }, now)) << now.seconds;

    key("space");
    EXPECT_TRUE(waitFor([](const Title& t) { return !t.paused && t.seconds >= 0.5; }, now))
        << now.seconds;
    key("space");
    ASSERT_TRUE(waitFor([](const Title& t) { return t.paused; }, now));
    const double held = now.seconds;
    std::this_thread::sleep_for(1500ms);
    EXPECT_EQ(title().seconds, held) << "paused, the show stands still";

    key("Escape");
    int status = -1;
    const auto deadline = std::chrono::steady_clock::now() + 60s;
    while (waitpid(m_pid, &status, WNOHANG) == 0 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(100ms);
    }
    m_pid = -1;
    ASSERT_TRUE(WIFEXITED(status)) << "still running after Escape";
    EXPECT_EQ(WEXITSTATUS(status), 0);
}
