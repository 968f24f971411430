#include "engine/launcher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/start_journal.h"
#include "platform/file_store.h"
#include "tests/support/launch_rig.h"
#include "tests/support/schedule.h"
#include "tests/support/temp_dir.h"

namespace {
const LaunchTarget kSuite{"dovsuite.exe", "-process"};
const LaunchTarget kLens{"dovlens.exe", "-storage"};

ScheduleEntry Entry(const std::string& file, const std::string& parameters = "") {
    ScheduleEntry e = Named("", file);
    e.parameters = parameters;
    return e;
}

}  // namespace

TEST(BuildCommandLine, ParametersOrTheVariantsSwitchThenTheQuotedFile) {
    struct Case {
        const LaunchTarget* target;
        const char* parameters;
        const char* file;
        const char* expected;
    } cases[] = {
        {&kSuite, "", "C:\\Work\\site.dvs", "dovsuite.exe -process \"C:\\Work\\site.dvs\""},
        {&kSuite, "-x 5", "C:\\Work\\site.dvs", "dovsuite.exe -x 5 \"C:\\Work\\site.dvs\""},
        {&kLens, "", "D:\\a b\\s.dvl", "dovlens.exe -storage \"D:\\a b\\s.dvl\""},
        {&kSuite, "", "", "dovsuite.exe -process \"\""},
        // Nothing is escaped, not even a quote in the file name.
        {&kSuite, "-p \"q\"", "a\"b", "dovsuite.exe -p \"q\" \"a\"b\""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BuildCommandLine(Entry(c.file, c.parameters), *c.target), c.expected);
    }
}

TEST(Launcher, LaunchStartsInsideTheListOnlyAndLeavesTheLatch) {
    LaunchRig rig;
    rig.list.Append(Entry("a.dvs"));
    rig.list.Append(Entry("b.dvs", "-x"));
    for (int position : {-1, 2, 1, 0, 100}) {
        rig.launcher.Launch(position);
    }
    EXPECT_EQ(rig.Lines(), (std::vector<std::string>{"dovsuite.exe -x \"b.dvs\"",
                                                     "dovsuite.exe -process \"a.dvs\""}));
    EXPECT_EQ(rig.list.EntryAt(0)->fired, 0);
    EXPECT_EQ(rig.list.EntryAt(1)->fired, 0);
}

TEST(Launcher, LaunchIfDueStartsOncePerWindowAndTellsTheEndOfTheList) {
    LaunchRig rig;
    rig.list.Append(DailyAt("d.dvs", 9, 30));
    std::tm due = MakeInstant(2026, 3, 2, 9, 30, 0);
    EXPECT_TRUE(rig.launcher.LaunchIfDue(0, due));
    EXPECT_TRUE(rig.launcher.LaunchIfDue(0, due));  // second poll of the same second
    EXPECT_FALSE(rig.launcher.LaunchIfDue(1, due));
    EXPECT_EQ(rig.Lines().size(), 1u);
    EXPECT_EQ(rig.list.EntryAt(0)->fired, 1);
}

// A start belongs to the entry while it makes the same command line; a lost journal costs nothing.
TEST(Launcher, RecordsEachStartInTheEntryAndTheJournal) {
    // by hand; changed meanwhile (1: the file, 2: removed); journal folder missing
    const int cases[][3] = {{1, 0, 0}, {0, 0, 0}, {0, 1, 0}, {1, 2, 0}, {0, 0, 1}};
    for (const auto& c : cases) {
        TempDir dir;
        StartJournal journal(SystemFileStore());
        journal.SetFolder(dir.File(c[2] ? "missing/deeper/" : ""));
        LaunchRig rig;
        rig.launcher.SetJournal(&journal);
        rig.list.Append(DailyAt("a.dvs", 9, 30));
        rig.list.Append(DailyAt("b.dvs", 9, 30));
        rig.onStart = [&](const std::string&) {
            (void)(c[1] == 1 ? rig.list.Replace(0, DailyAt("c.dvs", 9, 30))
                             : c[1] && rig.list.Remove(0));
        };
        c[0] ? rig.launcher.Launch(0)
             : (void)rig.launcher.LaunchIfDue(0, MakeInstant(2026, 3, 2, 9, 30, 0));
        const LastStart& last = rig.list.EntryAt(0)->last_start;
        EXPECT_EQ(last.at != 0, !c[1]);
        EXPECT_EQ(last.byHand, c[0] && !c[1]);
        journal.Close(std::chrono::seconds(10));
        std::string log = dir.Read("Scheduler.log");
        EXPECT_EQ(
            log.substr(std::min<size_t>(log.size(), 25)),
            c[2] ? ""
                 : JournalLine(LastStart{last.at, c[0] != 0, ""}, "", rig.Lines()[0]).substr(25));
    }
}
