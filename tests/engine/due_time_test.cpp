#include "engine/due_time.h"

#include <gtest/gtest.h>

#include "tests/support/schedule.h"

namespace {

// Short names keep one case to a line.
template <class... A>
ScheduleEntry E(A... a) {
    return MakeEntry(a...);
}
constexpr auto T = MakeInstant;

struct Case {
    const char* name;
    ScheduleEntry entry;
    std::tm instant;
    bool due;
};

// 2026-12-07 is a Monday; 2026-12-12 a Saturday; 2026-12-13 a Sunday.
const Case kCases[] = {
    {"once exact second", E(Once, 8, 12, 2026, 10, 0, 10), T(2026, 12, 8, 10, 0, 10), true},
    {"once second before", E(Once, 8, 12, 2026, 10, 0, 10), T(2026, 12, 8, 10, 0, 9), true},
    {"once two before", E(Once, 8, 12, 2026, 10, 0, 10), T(2026, 12, 8, 10, 0, 8), false},
    {"once second after", E(Once, 8, 12, 2026, 10, 0, 10), T(2026, 12, 8, 10, 0, 11), false},
    {"once sec 0 not at 59 before", E(Once, 8, 12, 2026, 10, 1, 0), T(2026, 12, 8, 10, 0, 59),
     false},
    {"once sec 0 at 0", E(Once, 8, 12, 2026, 10, 1, 0), T(2026, 12, 8, 10, 1, 0), true},
    {"once next year", E(Once, 8, 12, 2026, 10, 0, 10), T(2027, 12, 8, 10, 0, 10), false},
    {"once December is 12", E(Once, 31, 12, 2026, 23, 59, 59), T(2026, 12, 31, 23, 59, 59), true},
    {"once month counts from 1", E(Once, 8, 11, 2026, 10, 0, 10), T(2026, 12, 8, 10, 0, 10), false},
    {"once other hour", E(Once, 8, 12, 2026, 11, 0, 10), T(2026, 12, 8, 10, 0, 10), false},

    {"hourly any hour", E(Hourly, 0, 0, 0, 0, 15, 0), T(2026, 12, 8, 3, 15, 42), true},
    {"hourly other minute", E(Hourly, 0, 0, 0, 0, 15, 0), T(2026, 12, 8, 3, 16, 0), false},

    {"daily weekday", E(Daily, 0, 0, 0, 9, 30, 0, kWorkDays), T(2026, 12, 7, 9, 30, 0), true},
    {"daily friday", E(Daily, 0, 0, 0, 9, 30, 0, kWorkDays), T(2026, 12, 11, 9, 30, 0), true},
    {"daily saturday off", E(Daily, 0, 0, 0, 9, 30, 0, kWorkDays), T(2026, 12, 12, 9, 30, 0),
     false},
    {"daily sunday off", E(Daily, 0, 0, 0, 9, 30, 0, kWorkDays), T(2026, 12, 13, 9, 30, 0), false},
    {"daily sunday bit", E(Daily, 0, 0, 0, 9, 30, 0, kSunday), T(2026, 12, 13, 9, 30, 0), true},
    {"daily monday bit only", E(Daily, 0, 0, 0, 9, 30, 0, kMonday), T(2026, 12, 13, 9, 30, 0),
     false},
    {"daily no days", E(Daily, 0, 0, 0, 9, 30, 0, 0), T(2026, 12, 7, 9, 30, 0), false},
    {"daily next second", E(Daily, 0, 0, 0, 9, 30, 0, kEveryDay), T(2026, 12, 7, 9, 30, 1), false},

    {"weekly sunday 6", E(Weekly, 0, 0, 0, 8, 0, 0, 0, 6), T(2026, 12, 13, 8, 0, 0), true},
    {"weekly monday 0", E(Weekly, 0, 0, 0, 8, 0, 0, 0, 0), T(2026, 12, 7, 8, 0, 0), true},
    {"weekly saturday 5", E(Weekly, 0, 0, 0, 8, 0, 0, 0, 5), T(2026, 12, 12, 8, 0, 0), true},
    {"weekly monday not sunday", E(Weekly, 0, 0, 0, 8, 0, 0, 0, 0), T(2026, 12, 13, 8, 0, 0),
     false},
    {"weekly no weekday", E(Weekly, 0, 0, 0, 8, 0, 0, 0, -1), T(2026, 12, 13, 8, 0, 0), false},

    {"monthly day 31", E(Monthly, 31, 0, 0, 1, 0, 0), T(2026, 12, 31, 1, 0, 0), true},
    {"monthly 31 not on 30th", E(Monthly, 31, 0, 0, 1, 0, 0), T(2026, 11, 30, 1, 0, 0), false},
    {"monthly 31 not in February", E(Monthly, 31, 0, 0, 1, 0, 0), T(2026, 2, 28, 1, 0, 0), false},
    {"monthly day 1", E(Monthly, 1, 0, 0, 1, 0, 0), T(2026, 3, 1, 1, 0, 0), true},

    {"yearly January is 0", E(Yearly, 15, 0, 0, 12, 0, 0), T(2027, 1, 15, 12, 0, 0), true},
    {"yearly month not plus one", E(Yearly, 15, 1, 0, 12, 0, 0), T(2027, 1, 15, 12, 0, 0), false},
    {"yearly 29 Feb leap", E(Yearly, 29, 1, 0, 0, 0, 0), T(2028, 2, 29, 0, 0, 0), true},
    {"yearly 29 Feb not 1 Mar", E(Yearly, 29, 1, 0, 0, 0, 0), T(2027, 3, 1, 0, 0, 0), false},
    {"yearly 29 Feb not 28", E(Yearly, 29, 1, 0, 0, 0, 0), T(2027, 2, 28, 0, 0, 0), false},
    {"yearly no month", E(Yearly, 15, -1, 0, 12, 0, 0), T(2027, 1, 15, 12, 0, 0), false},

    {"type 6 never", E(6, 0, 0, 0, 0, 15, 0), T(2026, 12, 8, 3, 15, 0), false},
    {"type -1 never", E(-1, 0, 0, 0, 0, 15, 0), T(2026, 12, 8, 3, 15, 0), false},
};

}  // namespace

TEST(IsDue, RuleTable) {
    for (const Case& c : kCases) {
        ScheduleEntry e = c.entry;
        EXPECT_EQ(IsDue(e, c.instant), c.due) << c.name;
        EXPECT_EQ(e.fired, c.due ? 1 : 0) << c.name;
    }
}

TEST(IsDue, LatchReportsEachWindowOnce) {
    // Two polls in one second, then the next second re-arms the latch.
    ScheduleEntry e = MakeEntry(Daily, 0, 0, 0, 9, 30, 0, kWorkDays);
    std::tm due = MakeInstant(2026, 12, 7, 9, 30, 0);
    EXPECT_TRUE(IsDue(e, due));
    EXPECT_FALSE(IsDue(e, due));
    EXPECT_EQ(e.fired, 1);
    EXPECT_FALSE(IsDue(e, MakeInstant(2026, 12, 7, 9, 30, 1)));
    EXPECT_EQ(e.fired, 0);
    EXPECT_TRUE(IsDue(e, MakeInstant(2026, 12, 8, 9, 30, 0)));
}

TEST(IsDue, OnceFiresOnlyOnceAcrossItsTwoSecondWindow) {
    ScheduleEntry e = MakeEntry(Once, 8, 12, 2026, 10, 0, 10);
    int starts = 0;
    for (int sec = 8; sec <= 11; ++sec) {
        for (int poll = 0; poll < 2; ++poll) {
            starts += IsDue(e, MakeInstant(2026, 12, 8, 10, 0, sec)) ? 1 : 0;
        }
    }
    EXPECT_EQ(starts, 1);
}

TEST(IsDue, HourlyFiresOncePerHourAtAnySecond) {
    ScheduleEntry e = MakeEntry(Hourly, 0, 0, 0, 0, 15, 0);
    int starts = 0;
    for (int hour = 0; hour < 3; ++hour) {
        for (int sec = 0; sec < 60; ++sec) {
            starts += IsDue(e, MakeInstant(2026, 12, 8, hour, 15, sec)) ? 1 : 0;
        }
        starts += IsDue(e, MakeInstant(2026, 12, 8, hour, 16, 0)) ? 1 : 0;
    }
    EXPECT_EQ(starts, 3);
}

TEST(IsDue, SwitchedOffEntryNeverFallsDue) {
    ScheduleEntry e = MakeEntry(Hourly, 0, 0, 0, 0, 15, 0);
    e.enable = 0;
    e.fired = 1;
    EXPECT_FALSE(IsDue(e, MakeInstant(2026, 12, 8, 3, 15, 0)));
    EXPECT_EQ(e.fired, 0);
}

TEST(Weekday, MappingAtBothEnds) {
    struct {
        int clock, bit, monday;
    } table[] = {{0, 64, 6}, {1, 1, 0}, {2, 2, 1}, {3, 4, 2}, {4, 8, 3}, {5, 16, 4}, {6, 32, 5}};
    for (auto& row : table) {
        EXPECT_EQ(WeekdayBit(row.clock), row.bit) << row.clock;
        EXPECT_EQ(MondayBasedWeekday(row.clock), row.monday) << row.clock;
    }
}
