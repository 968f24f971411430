#include "engine/scheduler_thread.h"

#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <system_error>
#include <utility>

#include "engine/journal_memory.h"
#include "engine/launcher.h"
#include "engine/missed_starts.h"
#include "engine/schedule_list.h"
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

void SchedulerThread::SetPreviousRun(std::time_t lastHeard) {
    if (lastHeard != 0) {
        lastPass_ = lastHeard;
        notRunning_ = true;
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
    // A zone changed since the last pass (a trip, a corrected zone) counts from this pass on.
    RefreshTimeZone();
    std::tm instant;
    if (!LocalBreakdown(now, instant)) {
        return;
    }
    for (int position = 0; !stop_.IsSet(); ++position) {
        if (!launcher_.LaunchIfDue(position, instant)) {
            break;
        }
    }
    // After this pass's starts, which come first: what fell due in the seconds never sampled
    // since the pass before is told, never started late.
    const std::optional<std::time_t> before = lastPass_;
    const bool notRunning = std::exchange(notRunning_, false);
    lastPass_ = now;
    if (before && now - *before >= 2 && !stop_.IsSet()) {
        JournalMissedStarts(launcher_, *before, now, !notRunning,
                            notRunning ? kMissedNotRunning : GapReason(*before, now));
    }
}

void SchedulerThread::Run() {
    try {
        if (previousRun_) {
            SetPreviousRun(previousRun_());
        }
    } catch (...) {
        // Without the previous run, its misses go untold; the polling goes on.
    }
    try {
        while (!stop_.IsSet()) {
            // A failing pass is told and the next one runs as usual: the polling never ends
            // before the stop request.
            try {
                RunPass(clock_());
            } catch (const std::exception& failure) {
                passFailed(failure.what());
            } catch (...) {
                passFailed("unknown failure");
            }
            if (stop_.WaitFor(period_)) {
                break;
            }
        }
    } catch (...) {
        // The stop flag's wait itself failed: nothing may leave the thread.
    }
    std::lock_guard<std::mutex> lock(endMutex_);
    ended_ = true;
    endChanged_.notify_all();
}

void SchedulerThread::passFailed(const char* what) {
    try {
        const auto now = std::chrono::steady_clock::now();
        // Once a minute at most: a pass failing every 500 ms must not fill the journal.
        if (lastFailureTold_ && now - *lastFailureTold_ < std::chrono::minutes(1)) {
            return;
        }
        lastFailureTold_ = now;
        if (StartJournal* journal = launcher_.Journal()) {
            journal->Append(NoteLine(CurrentTime(), std::string("polling failed: ") + what));
        }
    } catch (...) {
    }
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
        // The journal is read on the polling thread, so a full one holds up no window; before
        // this run's first line, so its last line is the previous run's.
        thread_->SetPreviousRun([startedAt = CurrentTime()] {
            const JournalMemory memory = ReadJournal(TheStartJournal().Folder());
            // The tips show the last starts of earlier runs too.
            RememberLastStarts(TheScheduleList(), TheLauncher().Target(), memory);
            TheStartJournal().Append(NoteLine(startedAt, "program started"));
            return memory.lastLineAt;
        });
        return thread_->Start();
    }

    void StopAndJoin() {
        std::lock_guard<std::mutex> lock(mutex_);
        if (thread_ && !ended_) {
            ended_ = true;
            StopAndJoinOrEnd(*thread_, StopRequested(), kJoinLimit);
            TheStartJournal().Append(NoteLine(CurrentTime(), "program ended"));
            // A data folder that does not answer must not keep the program alive either.
            if (!TheStartJournal().Close(kJoinLimit)) {
                EndProcessNow(0);
            }
        }
    }

private:
    std::mutex mutex_;
    std::unique_ptr<SchedulerThread> thread_;
    bool ended_ = false;
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
