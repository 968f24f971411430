#pragma once

#include <chrono>
#include <ctime>
#include <functional>
#include <thread>

class Launcher;
class StopFlag;

// The polling thread: every period it takes the time once, checks every entry of the list in
// list order against it and starts each one that is due, until the stop flag is set.
class SchedulerThread {
public:
    using Clock = std::function<std::time_t()>;

    SchedulerThread(Launcher& launcher,
                    StopFlag& stop,
                    Clock clock,
                    std::chrono::milliseconds period = std::chrono::milliseconds(500));
    // Sets nothing: the owner sets the stop flag; the destructor only joins.
    ~SchedulerThread();
    SchedulerThread(const SchedulerThread&) = delete;
    SchedulerThread& operator=(const SchedulerThread&) = delete;

    // Starts the thread once; false when it runs already or cannot be created.
    bool Start();
    // Waits for the thread to end (after the stop flag was set).
    void Join();

    // One pass with this instant: the list's count is read again before every entry, and
    // the pass is left when the stop flag is set.
    void RunPass(std::time_t now);

private:
    void Run();

    Launcher& launcher_;
    StopFlag& stop_;
    Clock clock_;
    std::chrono::milliseconds period_;
    std::thread thread_;
};

// The program's polling thread over TheLauncher(), StopRequested() and the system clock.
// Started once, last in start-up; joined by the shut-down, and at the latest when the
// program's static objects go (before the list it reads, which was made earlier).
bool StartSchedulerThread();
void StopAndJoinSchedulerThread();
