#include "engine/due_time.h"

#include <gtest/gtest.h>

#include "tests/support/instant.h"

namespace {

ScheduleEntry Make(std::int16_t type, int day, int month, int year, int hour, int min, int sec,
                   int daysWeek = 0, int ndayWeek = 0) {
    ScheduleEntry e;
    e.enable = 1;
    e.type = type;
    e.day = static_cast<std::int16_t>(day);
    e.month = static_cast<std::int16_t>(month);
    e.year = static_cast<std::int16_t>(year);
    e.hour = static_cast<std::int16_t>(hour);
    e.min = static_cast<std::int16_t>(min);
    e.sec = static_cast<std::int16_t>(sec);
    e.days_week = static_cast<std::int16_t>(daysWeek);
    e.nday_week = static_cast<std::int16_t>(ndayWeek);
    return e;
}

struct Case {
    const char* name;
    ScheduleEntry entry;
    std::tm instant;
    bool due;
};

// 2026-12-07 is a Monday; 2026-12-12 a Saturday; 2026-12-13 a Sunday.
const Case kCases[] = {
    {"once exact second", Make(Once, 8, 12, 2026, 10, 0, 10), MakeInstant(2026, 12, 8, 10, 0, 10), true},
    {"once second before", Make(Once, 8, 12, 2026, 10, 0, 10), MakeInstant(2026, 12, 8, 10, 0, 9), true},
    {"once two before", Make(Once, 8, 12, 2026, 10, 0, 10), MakeInstant(2026, 12, 8, 10, 0, 8), false},
    {"once second after", Make(Once, 8, 12, 2026, 10, 0, 10), MakeInstant(2026, 12, 8, 10, 0, 11), false},
    {"once sec 0 not at 59 before", Make(Once, 8, 12, 2026, 10, 1, 0), MakeInstant(2026, 12, 8, 10, 0, 59), false},
    {"once sec 0 at 0", Make(Once, 8, 12, 2026, 10, 1, 0), MakeInstant(2026, 12, 8, 10, 1, 0), true},
    {"once next year", Make(Once, 8, 12, 2026, 10, 0, 10), MakeInstant(2027, 12, 8, 10, 0, 10), false},
    {"once December is 12", Make(Once, 31, 12, 2026, 23, 59, 59), MakeInstant(2026, 12, 31, 23, 59, 59), true},
    {"once month counts from 1", Make(Once, 8, 11, 2026, 10, 0, 10), MakeInstant(2026, 12, 8, 10, 0, 10), false},
    {"once other hour", Make(Once, 8, 12, 2026, 11, 0, 10), MakeInstant(2026, 12, 8, 10, 0, 10), false},

    {"hourly any hour", Make(Hourly, 0, 0, 0, 0, 15, 0), MakeInstant(2026, 12, 8, 3, 15, 42), true},
    {"hourly other minute", Make(Hourly, 0, 0, 0, 0, 15, 0), MakeInstant(2026, 12, 8, 3, 16, 0), false},

    {"daily weekday", Make(Daily, 0, 0, 0, 9, 30, 0, kWorkDays), MakeInstant(2026, 12, 7, 9, 30, 0), true},
    {"daily friday", Make(Daily, 0, 0, 0, 9, 30, 0, kWorkDays), MakeInstant(2026, 12, 11, 9, 30, 0), true},
    {"daily saturday off", Make(Daily, 0, 0, 0, 9, 30, 0, kWorkDays), MakeInstant(2026, 12, 12, 9, 30, 0), false},
    {"daily sunday off", Make(Daily, 0, 0, 0, 9, 30, 0, kWorkDays), MakeInstant(2026, 12, 13, 9, 30, 0), false},
    {"daily sunday bit", Make(Daily, 0, 0, 0, 9, 30, 0, kSunday), MakeInstant(2026, 12, 13, 9, 30, 0), true},
    {"daily monday bit only", Make(Daily, 0, 0, 0, 9, 30, 0, kMonday), MakeInstant(2026, 12, 13, 9, 30, 0), false},
    {"daily no days", Make(Daily, 0, 0, 0, 9, 30, 0, 0), MakeInstant(2026, 12, 7, 9, 30, 0), false},
    {"daily next second", Make(Daily, 0, 0, 0, 9, 30, 0, kEveryDay), MakeInstant(2026, 12, 7, 9, 30, 1), false},

    {"weekly sunday 6", Make(Weekly, 0, 0, 0, 8, 0, 0, 0, 6), MakeInstant(2026, 12, 13, 8, 0, 0), true},
    {"weekly monday 0", Make(Weekly, 0, 0, 0, 8, 0, 0, 0, 0), MakeInstant(2026, 12, 7, 8, 0, 0), true},
    {"weekly saturday 5", Make(Weekly, 0, 0, 0, 8, 0, 0, 0, 5), MakeInstant(2026, 12, 12, 8, 0, 0), true},
    {"weekly monday not sunday", Make(Weekly, 0, 0, 0, 8, 0, 0, 0, 0), MakeInstant(2026, 12, 13, 8, 0, 0), false},
    {"weekly no weekday", Make(Weekly, 0, 0, 0, 8, 0, 0, 0, -1), MakeInstant(2026, 12, 13, 8, 0, 0), false},

    {"monthly day 31", Make(Monthly, 31, 0, 0, 1, 0, 0), MakeInstant(2026, 12, 31, 1, 0, 0), true},
    {"monthly 31 not on 30th", Make(Monthly, 31, 0, 0, 1, 0, 0), MakeInstant(2026, 11, 30, 1, 0, 0), false},
    {"monthly 31 not in February", Make(Monthly, 31, 0, 0, 1, 0, 0), MakeInstant(2026, 2, 28, 1, 0, 0), false},
    {"monthly day 1", Make(Monthly, 1, 0, 0, 1, 0, 0), MakeInstant(2026, 3, 1, 1, 0, 0), true},

    {"yearly January is 0", Make(Yearly, 15, 0, 0, 12, 0, 0), MakeInstant(2027, 1, 15, 12, 0, 0), true},
    {"yearly month not plus one", Make(Yearly, 15, 1, 0, 12, 0, 0), MakeInstant(2027, 1, 15, 12, 0, 0), false},
    {"yearly 29 Feb leap", Make(Yearly, 29, 1, 0, 0, 0, 0), MakeInstant(2028, 2, 29, 0, 0, 0), true},
    {"yearly 29 Feb not 1 Mar", Make(Yearly, 29, 1, 0, 0, 0, 0), MakeInstant(2027, 3, 1, 0, 0, 0), false},
    {"yearly 29 Feb not 28", Make(Yearly, 29, 1, 0, 0, 0, 0), MakeInstant(2027, 2, 28, 0, 0, 0), false},
    {"yearly no month", Make(Yearly, 15, -1, 0, 12, 0, 0), MakeInstant(2027, 1, 15, 12, 0, 0), false},

    {"type 6 never", Make(6, 0, 0, 0, 0, 15, 0), MakeInstant(2026, 12, 8, 3, 15, 0), false},
    {"type -1 never", Make(-1, 0, 0, 0, 0, 15, 0), MakeInstant(2026, 12, 8, 3, 15, 0), false},
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
    ScheduleEntry e = Make(Daily, 0, 0, 0, 9, 30, 0, kWorkDays);
    std::tm due = MakeInstant(2026, 12, 7, 9, 30, 0);
    EXPECT_TRUE(IsDue(e, due));
    EXPECT_FALSE(IsDue(e, due));
    EXPECT_EQ(e.fired, 1);
    EXPECT_FALSE(IsDue(e, MakeInstant(2026, 12, 7, 9, 30, 1)));
    EXPECT_EQ(e.fired, 0);
    EXPECT_TRUE(IsDue(e, MakeInstant(2026, 12, 8, 9, 30, 0)));
}

TEST(IsDue, OnceFiresOnlyOnceAcrossItsTwoSecondWindow) {
    ScheduleEntry e = Make(Once, 8, 12, 2026, 10, 0, 10);
    int starts = 0;
    for (int sec = 8; sec <= 11; ++sec) {
        for (int poll = 0; poll < 2; ++poll) {
            starts += IsDue(e, MakeInstant(2026, 12, 8, 10, 0, sec)) ? 1 : 0;
        }
    }
    EXPECT_EQ(starts, 1);
}

TEST(IsDue, HourlyFiresOncePerHourAtAnySecond) {
    ScheduleEntry e = Make(Hourly, 0, 0, 0, 0, 15, 0);
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
    ScheduleEntry e = Make(Hourly, 0, 0, 0, 0, 15, 0);
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

TEST(Weekday, TestInstantsHaveTheRightWeekday) {
    EXPECT_EQ(MakeInstant(2026, 12, 7, 0, 0, 0).tm_wday, 1);   // Monday
    EXPECT_EQ(MakeInstant(2026, 12, 13, 0, 0, 0).tm_wday, 0);  // Sunday
    EXPECT_EQ(MakeInstant(2028, 2, 29, 0, 0, 0).tm_wday, 2);   // Tuesday
}
