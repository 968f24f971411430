#include "tests/support/wait.h"

#include "platform/clock.h"

bool WaitUntil(const std::function<bool()>& condition, int waitMs) {
    for (int waited = 0; waited < waitMs; waited += 20) {
        if (condition()) {
            return true;
        }
        SleepMs(20);
    }
    return condition();
}
