#include "platform/clock.h"

#include <chrono>
#include <mutex>
#include <thread>

namespace {
// The C library's zone is process-wide state: a re-read must not meet a breakdown half way.
std::mutex& ZoneLock() {
    static std::mutex lock;
    return lock;
}
}  // namespace

std::time_t CurrentTime() {
    return std::time(nullptr);
}

bool LocalBreakdown(std::time_t instant, std::tm& out) {
    out = std::tm{};
    std::lock_guard<std::mutex> hold(ZoneLock());
#if defined(_WIN32)
    return localtime_s(&out, &instant) == 0;
#else
    return localtime_r(&instant, &out) != nullptr;
#endif
}

void RefreshTimeZone() {
    std::lock_guard<std::mutex> hold(ZoneLock());
#if defined(_WIN32)
    _tzset();
#else
    tzset();
#endif
}

long long CurrentTimeMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

void SleepMs(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
