#include "platform/clock.h"

#include <chrono>
#include <thread>

std::time_t CurrentTime() {
    return std::time(nullptr);
}

bool LocalBreakdown(std::time_t instant, std::tm& out) {
    out = std::tm{};
#if defined(_WIN32)
    return localtime_s(&out, &instant) == 0;
#else
    return localtime_r(&instant, &out) != nullptr;
#endif
}

long long CurrentTimeMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

void SleepMs(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
