#include "engine/stop_flag.h"

void StopFlag::Set() {
    {
        // Set under the lock so a waiter between its check and its wait cannot miss it.
        std::lock_guard<std::mutex> lock(mutex_);
        set_.store(true, std::memory_order_release);
    }
    changed_.notify_all();
}

bool StopFlag::WaitFor(std::chrono::milliseconds period) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, period, [this] { return IsSet(); });
}

StopFlag& StopRequested() {
    static StopFlag flag;
    return flag;
}
