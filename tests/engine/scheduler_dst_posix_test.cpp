// The polling loop over real time zones across both daylight-saving changes: an entry in
// the repeated hour starts twice, one in the skipped hour not at all, and the others once.
#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <string>
#include <vector>

#include "engine/scheduler_thread.h"
#include "tests/support/env.h"
#include "tests/support/launch_rig.h"
#include "tests/support/schedule.h"

namespace {
ScheduleEntry At(ScheduleType type, int hour, int min) {
    return MakeEntry(type, 0, 0, 0, hour, min, 0, kEveryDay, 0,
                     std::to_string(type) + "@" + std::to_string(hour) + ":" + std::to_string(min));
}
}  // namespace

TEST(SchedulerOverDaylightSaving, RepeatedHourStartsTwiceSkippedHourNever) {
    struct Case {
        const char* zone;
        int year, month, day;
        int changeHour;  // local hour that is skipped or repeated
        int expectedInChangeHour;
    } cases[] = {
        {"Europe/Berlin", 2026, 3, 29, 2, 0},
        {"Europe/Berlin", 2026, 10, 25, 2, 2},
        {"America/New_York", 2026, 3, 8, 2, 0},
        {"America/New_York", 2026, 11, 1, 1, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.zone) + " " + std::to_string(c.month));
        TimeZone zone(c.zone);
        LaunchRig rig;
        ScheduleList& list = rig.list;
        list.Append(At(Daily, c.changeHour, 30));
        list.Append(At(Daily, 4, 0));  // outside the change: once
        // Hourly at :15 starts once in every hour the clock shows, that is once per real
        // hour in either direction.
        list.Append(At(Hourly, 0, 15));
        SchedulerThread thread(rig.launcher, rig.stop, nullptr);

        std::time_t begin = LocalTime(c.year, c.month, c.day);
        std::time_t end = begin + 6 * 3600;
        for (std::time_t now = begin; now < end; ++now) {
            thread.RunPass(now);  // two polls in every second, as at 500 ms
            thread.RunPass(now);
        }
        std::vector<std::string> started = rig.Files();
        auto count = [&](const std::string& file) {
            return std::count(started.begin(), started.end(), file);
        };
        int realHours = static_cast<int>((end - begin) / 3600);
        EXPECT_EQ(count(list.EntryAt(0)->file), c.expectedInChangeHour);
        EXPECT_EQ(count(list.EntryAt(1)->file), 1);
        EXPECT_EQ(count(list.EntryAt(2)->file), realHours);
    }
}
