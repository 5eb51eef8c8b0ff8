#include "tools/scene-import/ChildRun.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace sceneimport {

bool runsToEnd(const std::function<void()>& work, std::string& why) {
    std::fflush(nullptr); // nothing buffered may come out twice
    const pid_t child = fork();
    if (child < 0) {
        // No child to spare: read without the safety net rather than not at all.
        return true;
    }
    if (child == 0) {
        // A crash here is expected now and then; it should leave no core file behind.
        const rlimit noCore{0, 0};
        setrlimit(RLIMIT_CORE, &noCore);
        // And it should end the child by its signal, quietly: a crash handler installed in
        // the parent (a sanitizer's, say) would report at length and exit with a plain code.
        for (int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL}) {
            std::signal(signal, SIG_DFL);
        }
        try {
            work();
        } catch (...) {
        }
        _exit(0);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            return true;
        }
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
        return true;
    }
    why = WIFSIGNALED(status)
              ? std::string("the reader crashed on it (") + strsignal(WTERMSIG(status)) + ")"
              : "the reader failed on it (exit " + std::to_string(WEXITSTATUS(status)) + ")";
    return false;
}

} // namespace sceneimport
