#include "app/capture/VideoPipe.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

std::vector<std::string> VideoPipe::command(const std::string& videoPath, int width, int height,
                                            int fps, const std::string& musicPath,
                                            double musicOffset) {
    std::vector<std::string> args = {
        "ffmpeg",     "-hide_banner",
        "-loglevel",  "error",
        "-nostdin",   "-y",
        "-f",         "rawvideo",
        "-pix_fmt",   "rgb24",
        "-s",         std::to_string(width) + "x" + std::to_string(height),
        "-framerate", std::to_string(fps),
        "-i",         "-"};
    if (!musicPath.empty()) {
        args.insert(args.end(), {"-ss", std::to_string(musicOffset), "-i", musicPath});
    }
    args.insert(args.end(), {"-map", "0:v:0", "-c:v", "libx264", "-preset", "veryfast", "-crf",
                             "18", "-pix_fmt", "yuv420p"});
    if (!musicPath.empty()) {
        // Silence after the music ends, and the file as long as the pictures.
        args.insert(args.end(),
                    {"-map", "1:a:0", "-c:a", "aac", "-b:a", "192k", "-af", "apad", "-shortest"});
    }
    args.insert(args.end(), {"-movflags", "+faststart", videoPath});
    return args;
}

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
