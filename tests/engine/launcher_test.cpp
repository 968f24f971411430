#include "engine/launcher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/schedule_list.h"
#include "tests/support/instant.h"

namespace {
const LaunchTarget kSuite{"dovsuite.exe", "-process"};
const LaunchTarget kLens{"dovlens.exe", "-storage"};

ScheduleEntry Entry(const std::string& file, const std::string& parameters = "") {
    ScheduleEntry e;
    e.enable = 1;
    e.file = file;
    e.parameters = parameters;
    return e;
}

// Records the command lines instead of starting anything.
struct Recorder {
    std::vector<std::string> lines;
    Launcher::Starter Starter() {
        return [this](const std::string& line) {
            lines.push_back(line);
            return true;
        };
    }
};
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
    ScheduleList list;
    list.Append(Entry("a.dvs"));
    list.Append(Entry("b.dvs", "-x"));
    Recorder recorder;
    Launcher launcher(list, recorder.Starter());
    launcher.SetTarget(kSuite);
    for (int position : {-1, 2, 1, 0, 100}) {
        launcher.Launch(position);
    }
    EXPECT_EQ(recorder.lines, (std::vector<std::string>{"dovsuite.exe -x \"b.dvs\"",
                                                        "dovsuite.exe -process \"a.dvs\""}));
    EXPECT_EQ(list.EntryAt(0)->fired, 0);
    EXPECT_EQ(list.EntryAt(1)->fired, 0);
}

TEST(Launcher, LaunchIfDueStartsOncePerWindowAndTellsTheEndOfTheList) {
    ScheduleList list;
    ScheduleEntry daily = Entry("d.dvs");
    daily.type = Daily;
    daily.hour = 9;
    daily.min = 30;
    daily.days_week = kEveryDay;
    list.Append(daily);
    Recorder recorder;
    Launcher launcher(list, recorder.Starter());
    launcher.SetTarget(kSuite);
    std::tm due = MakeInstant(2026, 3, 2, 9, 30, 0);
    EXPECT_TRUE(launcher.LaunchIfDue(0, due));
    EXPECT_TRUE(launcher.LaunchIfDue(0, due));  // second poll of the same second
    EXPECT_FALSE(launcher.LaunchIfDue(1, due));
    EXPECT_EQ(recorder.lines.size(), 1u);
    EXPECT_EQ(list.EntryAt(0)->fired, 1);
}
