#pragma once

#include <chrono>
#include <condition_variable>
#include <ctime>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

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
    // Waits at most `limit` for the thread to end and joins it then; false when it still runs
    // (a process start that hangs).
    bool JoinWithin(std::chrono::milliseconds limit);

    // The last line the previous run left in the journal (0: none): the first pass tells the
    // starts that fell due since then as missed while the program was not running. Set before
    // Start.
    void SetPreviousRun(std::time_t lastHeard);
    // Or asked on the thread before its first pass, when it is slow to tell (a journal to
    // read). Set before Start.
    void SetPreviousRun(std::function<std::time_t()> lastHeard) {
        previousRun_ = std::move(lastHeard);
    }

    // One pass with this instant: the list's count is read again before every entry, and
    // the pass is left when the stop flag is set. Then the starts due in the seconds since
    // the pass before that no pass sampled (two or more apart) are journalled as missed.
    void RunPass(std::time_t now);

private:
    void Run();
    void passFailed(const char* what);

    Launcher& launcher_;
    StopFlag& stop_;
    Clock clock_;
    std::chrono::milliseconds period_;
    std::thread thread_;
    std::mutex endMutex_;
    std::condition_variable endChanged_;
    bool ended_ = false;
    std::optional<std::chrono::steady_clock::time_point> lastFailureTold_;
    std::optional<std::time_t> lastPass_;  // the instant of the pass before
    bool notRunning_ = false;              // lastPass_ is the previous run's last line
    std::function<std::time_t()> previousRun_;
};

// The end of the polling at shut-down: sets the stop flag and joins the thread within the
// limit. A thread still running then ends the whole program at once, so a hung start never
// keeps an invisible program alive; every change was saved when it was made.
void StopAndJoinOrEnd(SchedulerThread& thread, StopFlag& stop, std::chrono::milliseconds limit);

// The program's polling thread over TheLauncher(), StopRequested() and the system clock.
// Started once, last in start-up; joined by the shut-down (StopAndJoinOrEnd, 1.5 s), and at the
// latest when the program's static objects go (before the list it reads, which was made earlier).
bool StartSchedulerThread();
void StopAndJoinSchedulerThread();
