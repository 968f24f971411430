// The headless scheduler: the Windows program's start-up, polling and shut-down without
// windows. "-server" starts it quietly and ends it at once when there is nothing to
// schedule; otherwise it lists the schedules and runs in the foreground until SIGINT or
// SIGTERM.
#include <signal.h>

#include <cstdio>

#include "app/app_state.h"
#include "app/command_line.h"
#include "app/startup.h"
#include "engine/schedule_list.h"

namespace {
void PrintSchedules() {
    ScheduleList& list = TheScheduleList();
    for (int i = 0; i < list.Count(); ++i) {
        const ScheduleEntry* entry = list.EntryAt(i);
        std::printf("%s\t%s\n", entry->title.c_str(), entry->file.c_str());
    }
    std::fflush(stdout);
}
}  // namespace

int main(int argc, char** argv) {
    // The stop signals are taken by sigwait below; blocked before any thread starts, so
    // every thread inherits the mask and none of them is cut short by a signal.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

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
    if (!StartPolling()) {
        return 1;
    }

    int received = 0;
    while (sigwait(&stopSignals, &received) != 0) {
    }
    Shutdown();
    return 0;
}
