#include "app/single_instance.h"

#include "app/app_state.h"
#include "app/product_variant.h"
#include "engine/bounded_text.h"
#include "platform/instance_lock.h"

namespace {
char g_lockName[300];

InstanceLock& TheInstanceLock() {
    static InstanceLock lock;
    return lock;
}
}  // namespace

const char* InstanceLockName() {
    boundedCopy(g_lockName, sizeof g_lockName, ActiveVariant().title);
    boundedAppend(g_lockName, sizeof g_lockName, "Proccess 1.11");
    return g_lockName;
}

bool AcquireSingleInstance(const std::function<void(const char* title)>& bringForward) {
    InstanceLock& lock = TheInstanceLock();
    lock = InstanceLock::Create(InstanceLockName());
    if (lock.GetState() != InstanceLock::State::AlreadyHeld) {
        return true;
    }
    lock.Release();
    // Two instances would start every due schedule twice and lose each other's changes. A
    // quiet start has nothing to show: the running instance already schedules.
    if (!ServerMode && bringForward) {
        bringForward(ActiveVariant().title);
    }
    return false;
}

void ReleaseSingleInstance() {
    TheInstanceLock().Release();
}
