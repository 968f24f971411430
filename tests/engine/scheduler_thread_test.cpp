#include "engine/scheduler_thread.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <new>
#include <string>
#include <vector>

#include "engine/missed_starts.h"
#include "engine/next_start.h"
#include "engine/start_journal.h"
#include "platform/clock.h"
#include "platform/file_store.h"
#include "tests/support/env.h"
#include "tests/support/launch_rig.h"
#include "tests/support/schedule.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wait.h"

TEST(SchedulerPass, EntriesDueInTheSameSecondStartInListOrder) {
    LaunchRig rig;
    rig.list.Append(DailyAt("late", 9, 30, 1));
    rig.list.Append(DailyAt("b", 9, 30, 0));
    rig.list.Append(DailyAt("a", 9, 30, 0));
    SchedulerThread thread(rig.launcher, rig.stop, nullptr);
    std::time_t at = LocalTime(2026, 3, 2, 9, 30, 0);
    thread.RunPass(at);
    thread.RunPass(at);  // the second poll of the second starts nothing
    thread.RunPass(at + 1);
    EXPECT_EQ(rig.Files(), (std::vector<std::string>{"b", "a", "late"}));
}

TEST(SchedulerPass, ListChangesBetweenPassesTakePartAtOnce) {
    LaunchRig rig;
    rig.list.Append(DailyAt("kept", 9, 30, 0));
    rig.list.Append(DailyAt("removed", 9, 30, 0));
    SchedulerThread thread(rig.launcher, rig.stop, nullptr);
    std::time_t at = LocalTime(2026, 3, 2, 9, 30, 0);
    rig.list.Remove(1);
    rig.list.Append(DailyAt("added", 9, 30, 0));
    thread.RunPass(at);
    EXPECT_EQ(rig.Files(), (std::vector<std::string>{"kept", "added"}));
}

TEST(SchedulerPass, StopRequestLeavesThePassBeforeTheNextEntry) {
    LaunchRig rig;
    rig.list.Append(DailyAt("first", 9, 30, 0));
    rig.list.Append(DailyAt("second", 9, 30, 0));
    // A shut-down arrives while the first start is under way.
    rig.onStart = [&](const std::string&) { rig.stop.Set(); };
    SchedulerThread thread(rig.launcher, rig.stop, nullptr);
    thread.RunPass(LocalTime(2026, 3, 2, 9, 30, 0));
    EXPECT_EQ(rig.Files(), std::vector<std::string>{"first"});
}

// A period of an hour: the join returns only because the stop request ends the wait.
TEST(SchedulerThread, StopRequestEndsTheSleepAndTheThread) {
    LaunchRig rig;
    rig.list.Append(DailyAt("a", 9, 30, 0));
    std::atomic<int> passes{0};
    std::time_t at = LocalTime(2026, 3, 2, 9, 30, 0);
    {
        SchedulerThread thread(
            rig.launcher, rig.stop,
            [&] {
                ++passes;
                return at;
            },
            std::chrono::hours(1));
        ASSERT_TRUE(thread.Start());
        EXPECT_FALSE(thread.Start());
        while (rig.Files().empty()) {
            std::this_thread::yield();
        }
        rig.stop.Set();
    }  // joined by its end, before the clock and the list it reads go
    EXPECT_EQ(passes.load(), 1);
    EXPECT_EQ(rig.Files(), std::vector<std::string>{"a"});
}

// A start stuck in the system must not keep the program alive at shut-down; a thread that
// ends in time is joined and the program goes on to its ordinary end.
TEST(SchedulerThreadDeathTest, ShutDownEndsTheProgramWhenAStartHangs) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto stopWhileStarting = [](int startSeconds) {
        LaunchRig rig;
        rig.list.Append(DailyAt("a", 9, 30, 0));
        std::atomic<bool> starting{false};
        rig.onStart = [&](const std::string&) {
            starting = true;
            std::this_thread::sleep_for(std::chrono::seconds(startSeconds));
        };
        std::time_t at = LocalTime(2026, 3, 2, 9, 30, 0);
        SchedulerThread thread(rig.launcher, rig.stop, [&] { return at; });
        thread.Start();
        while (!starting) {
            std::this_thread::yield();
        }
        StopAndJoinOrEnd(thread, rig.stop, std::chrono::milliseconds(300));
    };
    EXPECT_EXIT(stopWhileStarting(5), testing::ExitedWithCode(0), "");
    stopWhileStarting(0);  // returns
}

namespace {
// A data folder on a share that does not answer: each open of the journal waits until let go,
// two seconds at most.
class HangingStore : public PassThroughStore {
public:
    Handle OpenToAppend(const std::string& path) override {
        {
            std::unique_lock<std::mutex> lock(mutex_);
            letGo_.wait_for(lock, std::chrono::seconds(2), [this] { return free_; });
        }
        ++opened;
        return PassThroughStore::OpenToAppend(path);
    }
    void LetGo() {
        std::lock_guard<std::mutex> lock(mutex_);
        free_ = true;
        letGo_.notify_all();
    }
    std::atomic<int> opened{0};

private:
    std::mutex mutex_;
    std::condition_variable letGo_;
    bool free_ = false;
};

// A rig whose starts, failures and misses go to a journal in a folder of its own.
struct JournalledRig : LaunchRig {
    TempDir dir;
    StartJournal journal{SystemFileStore()};
    JournalledRig() {
        journal.SetFolder(dir.Path());
        launcher.SetJournal(&journal);
    }
};

std::time_t March(int day, int hour, int min = 0, int sec = 0) {
    return LocalTime(2026, 3, day, hour, min, sec);
}

std::vector<std::string> JournalLines(const TempDir& dir) {
    std::vector<std::string> lines;
    std::string text = dir.Read("Scheduler.log");
    for (size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1) {
        lines.push_back(text.substr(at, end - at));
    }
    return lines;
}
}  // namespace

// Schedules due in consecutive seconds all start, and Run Schedule returns, while the journal
// is still stuck in its first write; the lines come afterwards, in order.
TEST(SchedulerPass, AStuckJournalHoldsUpNoStart) {
    TempDir dir;
    HangingStore store;
    StartJournal journal(store);
    journal.SetFolder(dir.Path());
    LaunchRig rig;
    rig.launcher.SetJournal(&journal);
    for (int second : {0, 1, 2}) {
        rig.list.Append(DailyAt(std::to_string(second), 9, 30, second));
    }
    SchedulerThread thread(rig.launcher, rig.stop, nullptr);
    const std::time_t at = LocalTime(2026, 3, 2, 9, 30, 0);
    for (int second : {0, 1, 2}) {
        thread.RunPass(at + second);
    }
    rig.launcher.Launch(1);
    EXPECT_EQ(store.opened.load(), 0);
    EXPECT_EQ(rig.Files(), (std::vector<std::string>{"0", "1", "2", "1"}));
    store.LetGo();
    ASSERT_TRUE(journal.Close(std::chrono::seconds(10)));
    std::vector<std::string> lines = JournalLines(dir);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_NE(lines[1].find("\tdue\t\tdovsuite.exe -process \"1\""), std::string::npos);
    EXPECT_NE(lines[3].find("\tby hand\t"), std::string::npos);
}

// A pass that throws is journalled (once a minute at most) and the polling goes on.
TEST(SchedulerThread, AFailingPassIsToldAndTheNextOnesRun) {
    JournalledRig rig;
    rig.list.Append(DailyAt("a", 9, 30, 0));
    rig.list.Append(DailyAt("b", 9, 30, 1));
    const std::time_t at = LocalTime(2026, 3, 2, 9, 30, 0);
    std::atomic<int> passes{0};
    SchedulerThread thread(
        rig.launcher, rig.stop,
        [&]() -> std::time_t {
            int pass = passes++;
            if (pass < 2) {
                throw std::bad_alloc();
            }
            return at + std::min(pass - 2, 1);
        },
        std::chrono::milliseconds(1));
    ASSERT_TRUE(thread.Start());
    EXPECT_TRUE(WaitUntil([&] { return rig.Files().size() == 2; }, 5000));
    rig.stop.Set();
    thread.Join();
    ASSERT_TRUE(rig.journal.Close(std::chrono::seconds(10)));
    std::vector<std::string> lines = JournalLines(rig.dir);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_NE(lines[0].find("\tpolling failed: std::bad_alloc"), std::string::npos);
}

// The C library reads the zone once; the pass must read it again, so a new zone's 09:30 starts
// the schedule and the old zone's 09:30 no longer does.
TEST(SchedulerPass, FollowsAChangeOfTimeZoneAtTheNextPass) {
    struct Case {
        const char* before;
        const char* after;
        int eastBefore;  // hours ahead of UTC
        int eastAfter;
    } cases[] = {{"AAA0", "BBB-3", 0, 3}, {"CCC-3", "DDD5", 3, -5}};
    for (const Case& c : cases) {
        struct Reread {
            ~Reread() { RefreshTimeZone(); }
        } reread;
        ScopedEnv zone("TZ", c.before);
        RefreshTimeZone();
        LaunchRig rig;
        rig.list.Append(DailyAt("a", 9, 30, 0));
        SchedulerThread thread(rig.launcher, rig.stop, nullptr);
        const std::time_t utc0930 = DaysFromCivil(2026, 3, 2) * 86400 + 9 * 3600 + 30 * 60;
        std::tm seen;
        LocalBreakdown(utc0930, seen);
        zone.Set(c.after);
        thread.RunPass(utc0930 - c.eastAfter * 3600);
        EXPECT_EQ(rig.Files(), std::vector<std::string>{"a"}) << c.after;
        thread.RunPass(utc0930 - c.eastBefore * 3600);
        EXPECT_EQ(rig.Files().size(), 1u) << c.before;
    }
}

// A gap of a minute at most is a pass held up, a longer one sleep; a miss replaces an older
// last start, never a start by hand that came after it.
TEST(SchedulerPass, MissesAreHeldUpOrAsleepAndNeverHideANewerStart) {
    EXPECT_STREQ(GapReason(0, 60), kMissedHeldUp);
    EXPECT_STREQ(GapReason(0, 61), kMissedAsleep);
    for (int byHandAt : {8, 10}) {
        LaunchRig rig;
        rig.list.Append(DailyAt("d", 9, 30, 0));
        rig.list.EntryAt(0)->last_start = LastStart{March(3, byHandAt), true};
        JournalMissedStarts(rig.launcher, March(3, 9), March(3, 11), false, kMissedAsleep);
        EXPECT_EQ(rig.list.EntryAt(0)->last_start.byHand, byHandAt > 9) << byHandAt;
    }
}

// Passes held up, the computer asleep, the program not running, a clock set years forward:
// what fell due in the unsampled seconds is one line per schedule with why, never a start;
// a window still open starts unless the latch of an earlier one holds; the tip shows the miss.
TEST(SchedulerPass, JournalsWhatFellDueInUnsampledSecondsWithWhy) {
    JournalledRig rig;
    rig.list.Append(DailyAt("d", 9, 30, 0));
    rig.list.Append(MakeEntry(Hourly, 0, 0, 0, 0, 0, 0, 0, 0, "h"));
    {
        SchedulerThread thread(rig.launcher, rig.stop, nullptr);
        for (std::time_t at : {March(2, 9, 29, 59), March(2, 9, 30, 3), March(3, 9, 30, 10),
                               March(3, 10, 0, 50), March(3, 11, 0, 10)}) {
            thread.RunPass(at);
        }
    }
    EXPECT_EQ(rig.list.EntryAt(0)->last_start.missed, kMissedAsleep);
    EXPECT_EQ(rig.list.EntryAt(0)->last_start.at, March(3, 9, 30));
    rig.list.EntryAt(1)->fired = 0;  // as a new run loads it
    {
        SchedulerThread thread(rig.launcher, rig.stop, nullptr);
        thread.SetPreviousRun(March(3, 11, 0, 10));
        thread.RunPass(March(3, 14, 0, 30));
        thread.RunPass(LocalTime(2029, 3, 1, 0, 30));
    }
    EXPECT_EQ(rig.Files(), (std::vector<std::string>{"h", "h"}));
    ASSERT_TRUE(rig.journal.Close(std::chrono::seconds(10)));
    const std::string d = "\t\tdovsuite.exe -process \"d\"" + std::string(kTextLineEnd),
                      h = "\t\tdovsuite.exe -process \"h\"" + std::string(kTextLineEnd);
    const std::string asleep = "\tmissed: asleep or clock moved\tdue",
                      started = "\tstarted\tdue" + h;
    std::string expected = JournalTime(March(2, 9, 30)) + "\tmissed: held up\tdue" + d +
                           JournalTime(March(3, 9, 30)) + asleep + d + JournalTime(March(2, 10)) +
                           asleep + " 24 times, last " + JournalTime(March(3, 9)) + h + started +
                           JournalTime(March(3, 11)) + asleep + h + started +
                           JournalTime(March(3, 12)) + "\tmissed: not running\tdue 2 times, last " +
                           JournalTime(March(3, 13)) + h + JournalTime(March(4, 9, 30)) + asleep +
                           " 1093 times, last " + JournalTime(LocalTime(2029, 2, 28, 9, 30)) + d +
                           JournalTime(March(3, 15)) + asleep + " 10000 times or more, last " +
                           JournalTime(LocalTime(2029, 3, 1)) + h;
    // A start's time is the real clock's.
    std::string text = rig.dir.Read("Scheduler.log");
    for (std::string::size_type at = 0; (at = text.find(started, at)) != std::string::npos;) {
        at = text.rfind('\n', at) + 1;
        text.erase(at, text.find('\t', at) - at);
        at = text.find('\n', at);
    }
    EXPECT_EQ(text, expected);
}
