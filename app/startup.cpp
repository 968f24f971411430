#include "app/startup.h"

#include <atomic>

#include "app/app_state.h"
#include "app/product_variant.h"
#include "engine/launcher.h"
#include "engine/schedule_list.h"
#include "engine/schedule_storage.h"
#include "engine/scheduler_thread.h"
#include "engine/start_journal.h"
#include "engine/stop_flag.h"
#include "platform/clock.h"

bool ShouldEndQuietStart() {
    return ServerMode && TheScheduleList().IsEmpty();
}

bool StartPolling() {
    // Once per process: what the polling and journal threads read is set before they exist
    // and never again.
    static std::atomic<bool> started{false};
    if (started.exchange(true)) {
        return false;
    }
    const ProductVariant& variant = ActiveVariant();
    TheLauncher().SetTarget(LaunchTarget{variant.exeName, variant.defaultSwitch});
    TheStartJournal().SetFolder(TheScheduleStorage().DataFolder());
    TheLauncher().SetJournal(&TheStartJournal());
    return StartSchedulerThread();
}

void RequestStop() {
    StopRequested().Set();
    SleepMs(100);
}

void Shutdown() {
    RequestStop();
    StopAndJoinSchedulerThread();
}
