#include "engine/scheduler_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "engine/launcher.h"
#include "engine/schedule_list.h"
#include "engine/stop_flag.h"

namespace {
ScheduleEntry DailyAt(const std::string& file, int hour, int min, int sec) {
    ScheduleEntry e;
    e.enable = 1;
    e.type = Daily;
    e.hour = static_cast<std::int16_t>(hour);
    e.min = static_cast<std::int16_t>(min);
    e.sec = static_cast<std::int16_t>(sec);
    e.days_week = kEveryDay;
    e.file = file;
    return e;
}

std::time_t LocalInstant(int year, int month1, int day, int hour, int min, int sec) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month1 - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = min;
    t.tm_sec = sec;
    t.tm_isdst = -1;
    return std::mktime(&t);
}

// Collects the files of the command lines it is asked to start.
class Recorder {
  public:
    Launcher::Starter Starter() {
        return [this](const std::string& line) {
            std::lock_guard<std::mutex> lock(mutex_);
            size_t open = line.rfind('"', line.size() - 2);
            files_.push_back(line.substr(open + 1, line.size() - open - 2));
            return true;
        };
    }
    std::vector<std::string> Files() {
        std::lock_guard<std::mutex> lock(mutex_);
        return files_;
    }

  private:
    std::mutex mutex_;
    std::vector<std::string> files_;
};

struct Rig {
    ScheduleList list;
    Recorder recorder;
    Launcher launcher{list, recorder.Starter()};
    StopFlag stop;
    Rig() { launcher.SetTarget(LaunchTarget{"dovsuite.exe", "-process"}); }
};
}  // namespace

TEST(SchedulerPass, EntriesDueInTheSameSecondStartInListOrder) {
    Rig rig;
    rig.list.Append(DailyAt("late", 9, 30, 1));
    rig.list.Append(DailyAt("b", 9, 30, 0));
    rig.list.Append(DailyAt("a", 9, 30, 0));
    SchedulerThread thread(rig.launcher, rig.stop, nullptr);
    std::time_t at = LocalInstant(2026, 3, 2, 9, 30, 0);
    thread.RunPass(at);
    thread.RunPass(at);  // the second poll of the second starts nothing
    thread.RunPass(at + 1);
    EXPECT_EQ(rig.recorder.Files(), (std::vector<std::string>{"b", "a", "late"}));
}

TEST(SchedulerPass, ListChangesBetweenPassesTakePartAtOnce) {
    Rig rig;
    rig.list.Append(DailyAt("kept", 9, 30, 0));
    rig.list.Append(DailyAt("removed", 9, 30, 0));
    SchedulerThread thread(rig.launcher, rig.stop, nullptr);
    std::time_t at = LocalInstant(2026, 3, 2, 9, 30, 0);
    rig.list.Remove(1);
    rig.list.Append(DailyAt("added", 9, 30, 0));
    thread.RunPass(at);
    EXPECT_EQ(rig.recorder.Files(), (std::vector<std::string>{"kept", "added"}));
}

TEST(SchedulerPass, StopRequestLeavesThePassBeforeTheNextEntry) {
    ScheduleList list;
    list.Append(DailyAt("first", 9, 30, 0));
    list.Append(DailyAt("second", 9, 30, 0));
    StopFlag stop;
    std::vector<std::string> started;
    Launcher launcher(list, [&](const std::string& line) {
        started.push_back(line);
        stop.Set();  // a shut-down arrives while the first start is under way
        return true;
    });
    SchedulerThread thread(launcher, stop, nullptr);
    thread.RunPass(LocalInstant(2026, 3, 2, 9, 30, 0));
    EXPECT_EQ(started.size(), 1u);
}

// A period of an hour: the join returns only because the stop request ends the wait.
TEST(SchedulerThread, StopRequestEndsTheSleepAndTheThread) {
    Rig rig;
    rig.list.Append(DailyAt("a", 9, 30, 0));
    std::atomic<int> passes{0};
    std::time_t at = LocalInstant(2026, 3, 2, 9, 30, 0);
    SchedulerThread thread(
        rig.launcher, rig.stop,
        [&] {
            ++passes;
            return at;
        },
        std::chrono::hours(1));
    ASSERT_TRUE(thread.Start());
    EXPECT_FALSE(thread.Start());
    while (rig.recorder.Files().empty()) {
        std::this_thread::yield();
    }
    rig.stop.Set();
    thread.Join();
    EXPECT_EQ(passes.load(), 1);
    EXPECT_EQ(rig.recorder.Files(), std::vector<std::string>{"a"});
}
