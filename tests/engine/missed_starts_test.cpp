#include "engine/missed_starts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/scheduler_thread.h"
#include "platform/file_store.h"
#include "tests/support/launch_rig.h"
#include "tests/support/schedule.h"
#include "tests/support/temp_dir.h"

namespace {
std::time_t March(int day, int hour, int min = 0, int sec = 0) {
    return LocalTime(2026, 3, day, hour, min, sec);
}
}  // namespace

// Passes held up, the computer asleep, the program not running, a clock set years forward:
// what fell due in the unsampled seconds is one line per schedule with why, never a start;
// a window still open starts unless the latch of an earlier one holds; the tip shows the miss.
TEST(SchedulerPass, JournalsWhatFellDueInUnsampledSecondsWithWhy) {
    TempDir dir;
    StartJournal journal(SystemFileStore());
    journal.SetFolder(dir.Path());
    LaunchRig rig;
    rig.launcher.SetJournal(&journal);
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
    ASSERT_TRUE(journal.Close(std::chrono::seconds(10)));
    const std::string d = "\t\tdovsuite.exe -process \"d\"\n",
                      h = "\t\tdovsuite.exe -process \"h\"\n";
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
    std::string text = dir.Read("Scheduler.log");
    for (std::string::size_type at = 0; (at = text.find(started, at)) != std::string::npos;) {
        at = text.rfind('\n', at) + 1;
        text.erase(at, text.find('\t', at) - at);
        at = text.find('\n', at);
    }
    EXPECT_EQ(text, expected);
}
