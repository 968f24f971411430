#include "engine/scheduler_thread.h"

#include <memory>
#include <mutex>
#include <system_error>

#include "engine/launcher.h"
#include "engine/start_journal.h"
#include "engine/stop_flag.h"
#include "platform/clock.h"
#include "platform/process_end.h"

namespace {
// Short of the installer's ten seconds, long enough for any start that is not stuck.
constexpr std::chrono::milliseconds kJoinLimit(1500);
}  // namespace

SchedulerThread::SchedulerThread(Launcher& launcher,
                                 StopFlag& stop,
                                 Clock clock,
                                 std::chrono::milliseconds period)
    : launcher_(launcher), stop_(stop), clock_(std::move(clock)), period_(period) {}

SchedulerThread::~SchedulerThread() {
    Join();
}

bool SchedulerThread::Start() {
    if (thread_.joinable()) {
        return false;
    }
    try {
        thread_ = std::thread([this] { Run(); });
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}

void SchedulerThread::Join() {
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) {
        thread_.join();
    }
}

bool SchedulerThread::JoinWithin(std::chrono::milliseconds limit) {
    if (!thread_.joinable() || thread_.get_id() == std::this_thread::get_id()) {
        return true;
    }
    {
        std::unique_lock<std::mutex> lock(endMutex_);
        if (!endChanged_.wait_for(lock, limit, [this] { return ended_; })) {
            return false;
        }
    }
    thread_.join();
    return true;
}

void StopAndJoinOrEnd(SchedulerThread& thread, StopFlag& stop, std::chrono::milliseconds limit) {
    stop.Set();
    if (!thread.JoinWithin(limit)) {
        EndProcessNow(0);
    }
}

void SchedulerThread::RunPass(std::time_t now) {
    std::tm instant;
    if (!LocalBreakdown(now, instant)) {
        return;
    }
    for (int position = 0; !stop_.IsSet(); ++position) {
        if (!launcher_.LaunchIfDue(position, instant)) {
            break;
        }
    }
}

void SchedulerThread::Run() {
    try {
        while (!stop_.IsSet()) {
            RunPass(clock_());
            if (stop_.WaitFor(period_)) {
                break;
            }
        }
    } catch (...) {
        // Nothing may leave the thread; an unexpected failure ends the polling only.
    }
    std::lock_guard<std::mutex> lock(endMutex_);
    ended_ = true;
    endChanged_.notify_all();
}

namespace {
class ProgramPolling {
public:
    ~ProgramPolling() { StopAndJoin(); }

    bool Start() {
        std::lock_guard<std::mutex> lock(mutex_);
        if (thread_) {
            return false;
        }
        thread_ = std::make_unique<SchedulerThread>(TheLauncher(), StopRequested(), CurrentTime);
        return thread_->Start();
    }

    void StopAndJoin() {
        std::lock_guard<std::mutex> lock(mutex_);
        if (thread_) {
            StopAndJoinOrEnd(*thread_, StopRequested(), kJoinLimit);
        }
    }

private:
    std::mutex mutex_;
    std::unique_ptr<SchedulerThread> thread_;
};

ProgramPolling& ThePolling() {
    // Made after the list, the launcher, the journal and the stop flag, so it goes first at
    // exit and the thread ends before anything it reads is released.
    TheLauncher();
    TheStartJournal();
    StopRequested();
    static ProgramPolling polling;
    return polling;
}
}  // namespace

bool StartSchedulerThread() {
    try {
        return ThePolling().Start();
    } catch (...) {
        return false;
    }
}

void StopAndJoinSchedulerThread() {
    ThePolling().StopAndJoin();
}
