#include "engine/scheduler_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "tests/support/launch_rig.h"
#include "tests/support/schedule.h"

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
    thread.Join();
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
