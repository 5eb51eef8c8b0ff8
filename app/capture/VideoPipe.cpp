#include "app/capture/VideoPipe.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

VideoPipe::~VideoPipe() {
    std::string ignored;
    close(ignored);
}

bool VideoPipe::open(const std::vector<std::string>& command, int width, int height,
                     std::string& error) {
    int fds[2];
    if (pipe(fds) != 0) {
        error = std::string("cannot make a pipe: ") + std::strerror(errno);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[0], STDIN_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[1]);
    std::vector<char*> argv;
    for (const std::string& arg : command) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    int spawned = posix_spawnp(&m_child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[0]);
    if (spawned != 0) {
        ::close(fds[1]);
        m_child = -1;
        error = std::string("cannot start ") + argv[0] + ": " + std::strerror(spawned);
        return false;
    }
    // A dead encoder must show up as a write error, not end this process.
    std::signal(SIGPIPE, SIG_IGN);
    m_pipe = fdopen(fds[1], "wb");
    m_frameBytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 3;
    return m_pipe != nullptr;
}

bool VideoPipe::write(const uint8_t* rgb, std::string& error) {
    if (!m_pipe) {
        error = "the encoder is not running";
        return false;
    }
    if (std::fwrite(rgb, 1, m_frameBytes, m_pipe) != m_frameBytes) {
        error = "the encoder stopped taking frames (see its message above)";
        return false;
    }
    return true;
}

bool VideoPipe::close(std::string& error) {
    if (m_pipe) {
        std::fclose(m_pipe);
        m_pipe = nullptr;
    }
    if (m_child < 0) {
        return true;
    }
    int status = 0;
    pid_t waited;
    do {
        waited = waitpid(m_child, &status, 0);
    } while (waited < 0 && errno == EINTR);
    m_child = -1;
    if (waited < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        error = "ffmpeg failed";
        return false;
    }
    return true;
}
