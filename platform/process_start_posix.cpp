#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

#include "platform/process_start.h"
#include "platform/program_path.h"

extern char** environ;

namespace {
// The child is not watched, but it must not stay a zombie: a small thread collects its
// exit status. Threads rather than a SIGCHLD handler keep the rest of the process's
// children (and their waitpid calls) untouched.
void ReapLater(pid_t child) {
    try {
        std::thread([child] {
            int status = 0;
            while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
            }
        }).detach();
    } catch (...) {
        // Without a thread the child stays a zombie until the program ends; it still runs.
    }
}
}  // namespace

bool StartProcess(const std::string& commandLine) {
    std::vector<std::string> args = SplitCommandLine(commandLine);
    if (args.empty() || args[0].empty()) {
        errno = ENOENT;
        return false;
    }
    std::string program = ExecutablePath(args[0]);
    std::vector<char*> argv;
    for (std::string& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    // The child starts with no signal blocked, whatever the calling thread blocks.
    posix_spawnattr_t attributes;
    int failed = posix_spawnattr_init(&attributes);
    if (failed != 0) {
        errno = failed;
        return false;
    }
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    // Nor does it inherit a signal the caller ignores (the headless program ignores SIGPIPE).
    sigset_t defaults;
    sigemptyset(&defaults);
    for (int s : {SIGPIPE, SIGINT, SIGTERM, SIGHUP}) {
        sigaddset(&defaults, s);
    }
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    pid_t child = 0;
    failed = posix_spawn(&child, program.c_str(), nullptr, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    if (failed != 0) {
        errno = failed;
        return false;
    }
    ReapLater(child);
    return true;
}
