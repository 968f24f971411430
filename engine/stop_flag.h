#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

// A flag set once by a shut-down path and never cleared. Waiting on it ends as soon as it
// is set, so the polling thread's sleep does not hold up the end of the program.
class StopFlag {
public:
    void Set();
    bool IsSet() const { return set_.load(std::memory_order_acquire); }
    // Waits up to the period; true when the flag is set.
    bool WaitFor(std::chrono::milliseconds period);

private:
    std::atomic<bool> set_{false};
    std::mutex mutex_;
    std::condition_variable changed_;
};

// The program's stop request, set by the stop paths and read by the polling thread.
StopFlag& StopRequested();
