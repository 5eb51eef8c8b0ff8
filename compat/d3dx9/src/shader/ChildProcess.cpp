#include "shader/ChildProcess.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tarnelix::d3dx {
namespace {

void writeAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return;
        }
        done += static_cast<size_t>(n);
    }
}

// Reads until the writer closes its end; false when the deadline passes first.
bool readToEnd(int fd, std::chrono::steady_clock::time_point deadline, std::string& bytes) {
    char chunk[16384];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd wait{fd, POLLIN, 0};
        const int ready = left.count() > 0 ? poll(&wait, 1, static_cast<int>(left.count())) : 0;
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            return false;
        }
        const ssize_t n = read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return true;
        }
        bytes.append(chunk, static_cast<size_t>(n));
    }
}

[[noreturn]] void runAsChild(const std::function<std::string()>& work, int fd) {
    // A crash ends only this process, and quietly: no sanitizer report, no core file.
    for (int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) {
        std::signal(signal, SIG_DFL);
    }
    writeAll(fd, work());
    _exit(0);
}

} // namespace

bool runInChild(const std::function<std::string()>& work, int seconds, std::string& result,
                std::string& failure) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        failure = std::string("could not start: ") + std::strerror(errno);
        return false;
    }
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        runAsChild(work, fds[1]);
    }
    close(fds[1]);
    if (child < 0) {
        close(fds[0]);
        failure = std::string("could not start: ") + std::strerror(errno);
        return false;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    result.clear();
    const bool finished = readToEnd(fds[0], deadline, result);
    close(fds[0]);
    if (!finished) {
        kill(child, SIGKILL);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!finished) {
        failure = "did not finish within " + std::to_string(seconds) + " s";
    } else if (WIFSIGNALED(status)) {
        failure = std::string("crashed (") + strsignal(WTERMSIG(status)) + ")";
    } else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        failure = "failed";
    }
    return finished && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace tarnelix::d3dx
