#include "app/startup.h"

#include "app/app_state.h"
#include "app/product_variant.h"
#include "engine/launcher.h"
#include "engine/schedule_list.h"
#include "engine/scheduler_thread.h"
#include "engine/stop_flag.h"
#include "platform/clock.h"

bool ShouldEndQuietStart() {
    return ServerMode && TheScheduleList().IsEmpty();
}

bool StartPolling() {
    const ProductVariant& variant = ActiveVariant();
    TheLauncher().SetTarget(LaunchTarget{variant.exeName, variant.defaultSwitch});
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
