// The headless scheduler: the Windows program's start-up, polling and shut-down without
// windows. "-server" starts it quietly and ends it at once when there is nothing to
// schedule; otherwise it lists the schedules, one line each ("title<TAB>file", with a tab,
// a line break and a backslash inside them written \t, \n, \r and \\), and runs in the
// foreground until SIGINT, SIGTERM or SIGHUP, which it answers at any moment, the load
// included. Each start of the companion product that fails is logged to stderr.
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <mutex>
#include <string>
#include <thread>

#include "app/app_state.h"
#include "app/command_line.h"
#include "app/startup.h"
#include "engine/launcher.h"
#include "engine/schedule_list.h"
#include "platform/escaped_text.h"

namespace {

// A reader that went away (a closed pipe) ends the listing, not the program.
void PrintSchedules() {
    ScheduleList& list = TheScheduleList();
    for (int i = 0; i < list.Count(); ++i) {
        const ScheduleEntry* entry = list.EntryAt(i);
        std::string line =
            BackslashEscaped(entry->title) + "\t" + BackslashEscaped(entry->file) + "\n";
        if (std::fputs(line.c_str(), stdout) < 0) {
            break;
        }
    }
    std::fflush(stdout);
}

void LogFailedStart(const std::string& commandLine, const std::string& reason) {
    std::string line =
        "scheduler: cannot start " + BackslashEscaped(commandLine) + ": " + reason + "\n";
    std::fputs(line.c_str(), stderr);
}

// Start-up and the stop signal's shut-down take turns: the shut-down never meets a polling
// thread half started.
std::mutex stepLock;
bool pollingStarted = false;

// Waits for a stop signal and ends the program with the ordinary shut-down, whatever the
// main thread is doing (a slow load included).
void AnswerStopSignals(sigset_t stopSignals) {
    int received = 0;
    while (sigwait(&stopSignals, &received) != 0) {
    }
    {
        std::lock_guard<std::mutex> hold(stepLock);
        if (pollingStarted) {
            Shutdown();
        }
    }
    // Not exit(): the main thread may still be using what static destructors would release.
    // The listing was flushed when it ended; a write stuck on a full pipe must not hold this.
    _exit(0);
}

}  // namespace

int main(int argc, char** argv) {
    // The stop signals are taken by one thread; blocked before any thread starts, so every
    // thread inherits the mask and none of them is cut short by a signal.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    // A closed output pipe is a failed write, not the end of the program.
    signal(SIGPIPE, SIG_IGN);
    try {
        std::thread(AnswerStopSignals, stopSignals).detach();
    } catch (...) {
        return 1;
    }

    ParseCommandLine(argc, argv);
    PrepareSchedules();
    if (ShouldEndQuietStart()) {
        return 0;
    }
    if (!AcquireSingleInstance()) {
        return 0;
    }
    SelectedScheduleIndex = 0;
    if (!ServerMode) {
        PrintSchedules();
    }
    TheLauncher().SetFailureHandler(LogFailedStart);
    {
        std::lock_guard<std::mutex> hold(stepLock);
        if (!StartPolling()) {
            return 1;
        }
        pollingStarted = true;
    }
    for (;;) {
        pause();  // the signal thread ends the program
    }
}
