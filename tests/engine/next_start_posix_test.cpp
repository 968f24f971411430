// The next start against the polling passes themselves: a simulated clock stepped second by
// second, two passes a second, must start the entry first exactly where NextStartOf says,
// and again where it says from there, over both daylight-saving changes of each zone.
#include <gtest/gtest.h>

#include <ctime>
#include <optional>
#include <string>

#include "engine/due_time.h"
#include "engine/next_start.h"
#include "tests/support/env.h"
#include "tests/support/schedule.h"

namespace {
constexpr std::time_t kHorizon = 26 * 3600;

// The first second in [from, until) at which a pass starts the entry; the latch carries on.
std::optional<std::time_t> Simulate(ScheduleEntry& entry, std::time_t from, std::time_t until) {
    for (std::time_t t = from; t < until; ++t) {
        std::tm local;
        LocalBreakdown(t, local);
        bool due = IsDue(entry, local);
        due = IsDue(entry, local) || due;
        if (due) {
            return t;
        }
    }
    return std::nullopt;
}

// Three starts in a row (or fewer, when there is no next one), each as predicted.
void ExpectStartsAsPredicted(ScheduleEntry entry, std::time_t from) {
    for (int start = 0; start < 3; ++start) {
        SCOPED_TRACE("start " + std::to_string(start) + " from " + std::to_string(from));
        std::optional<std::time_t> predicted = NextStartOf(entry, from).at;
        if (predicted && *predicted - from < kHorizon) {
            ASSERT_EQ(Simulate(entry, from, *predicted + 1), predicted);
            from = *predicted;
            continue;
        }
        ASSERT_EQ(Simulate(entry, from, from + kHorizon), std::nullopt);
        if (predicted) {
            // Too far to step to: the passes of the day before meet it there first.
            ScheduleEntry fresh = entry;
            fresh.fired = 0;
            EXPECT_EQ(Simulate(fresh, *predicted - 86400, *predicted + 1), predicted);
        }
        return;
    }
}

ScheduleEntry Make(ScheduleType type, const std::tm& day, int hour, int min, int sec) {
    ScheduleEntry e = MakeEntry(type, day.tm_mday, day.tm_mon + 1, day.tm_year + 1900, hour, min,
                                sec, kEveryDay, MondayBasedWeekday(day.tm_wday));
    if (type == Yearly) {
        e.month = static_cast<std::int16_t>(day.tm_mon);
    }
    return e;
}

TEST(NextStart, MeetsThePollingPassesInEveryZone) {
    struct Zone {
        const char* name;
        int spring[2];  // month, day of the change forward (or any day)
        int autumn[2];  // and back
    } zones[] = {
        {"UTC", {3, 29}, {10, 25}},
        {"America/New_York", {3, 8}, {11, 1}},
        {"Europe/Berlin", {3, 29}, {10, 25}},
        {"Australia/Lord_Howe", {10, 4}, {4, 5}},  // half an hour either way
    };
    struct Rule {
        ScheduleType type;
        int dayShift;  // the rule's date from the change day
        int hour, min, sec;
        int daysWeek = kEveryDay;
        bool otherChange = false;  // dated on the zone's other change day
    } rules[] = {
        {Once, 0, 2, 15, 30},    {Once, 0, 1, 45, 0},     {Once, 0, 2, 45, 10},
        {Once, -1, 2, 0, 0},     {Hourly, 0, 0, 15, 0},   {Hourly, 0, 0, 45, 0},
        {Daily, 0, 2, 30, 0},    {Daily, 0, 1, 45, 0},    {Daily, 0, 2, 15, 0, kMonday},
        {Weekly, 1, 2, 30, 0},   {Monthly, 0, 2, 45, 0},  {Monthly, 1, 1, 40, 5},
        {Yearly, 0, 2, 30, 0},   {Yearly, 1, 2, 5, 0},
        {Yearly, 0, 2, 30, 0, kEveryDay, true},  {Yearly, 0, 1, 45, 0, kEveryDay, true},
        {Once, 0, 1, 45, 0, kEveryDay, true},
    };
    for (const Zone& zone : zones) {
        TimeZone tz(zone.name);
        for (const int* change : {zone.spring, zone.autumn}) {
            const std::time_t midnight = LocalTime(2026, change[0], change[1]);
            const int* other = change == zone.spring ? zone.autumn : zone.spring;
            for (const Rule& rule : rules) {
                std::tm day;
                LocalBreakdown((rule.otherChange ? LocalTime(2026, other[0], other[1]) : midnight) +
                                   rule.dayShift * 86400 + 43200,
                               day);
                ScheduleEntry entry = Make(rule.type, day, rule.hour, rule.min, rule.sec);
                entry.days_week = static_cast<std::int16_t>(rule.daysWeek);
                SCOPED_TRACE(std::string(zone.name) + " " + std::to_string(change[0]) + "/" +
                             std::to_string(change[1]) + " type " + std::to_string(rule.type) +
                             " " + std::to_string(rule.hour) + ":" + std::to_string(rule.min));
                ExpectStartsAsPredicted(entry, midnight);
                ExpectStartsAsPredicted(entry, midnight + 2 * 3600 + 20 * 60 + 7);
            }
        }
    }
}

// Offset changes of odd seconds: the clock jumps into the middle of a minute (or of a Once's
// two seconds), and there the passes start the entry.
TEST(NextStart, MeetsThePollingPassesAtOffsetChangesOfOddSeconds) {
    struct Case {
        const char* zone;
        int year, month, day;  // the entry's date; the passes begin at 23:00 the day before
        ScheduleType type;
        int hour, min, sec;
    } cases[] = {
        {"Asia/Kolkata", 1906, 1, 1, Hourly, 0, 8, 0},  // 23:59:59 on to 00:08:50
        {"Asia/Kolkata", 1906, 1, 1, Once, 0, 8, 50},
        {"Africa/Monrovia", 1919, 3, 1, Hourly, 0, 58, 0},  // 23:59:59 back to 23:58:38
        {"Africa/Monrovia", 1972, 1, 7, Hourly, 0, 44, 0},  // 23:59:59 on to 00:44:30
        {"Africa/Monrovia", 1972, 1, 7, Once, 0, 44, 30},
    };
    for (const Case& c : cases) {
        TimeZone tz(c.zone);
        ScheduleEntry entry = MakeEntry(c.type, c.day, c.month, c.year, c.hour, c.min, c.sec);
        SCOPED_TRACE(std::string(c.zone) + " " + std::to_string(c.year) + " type " +
                     std::to_string(c.type) + " " + std::to_string(c.min) + ":" +
                     std::to_string(c.sec));
        ExpectStartsAsPredicted(entry, LocalTime(c.year, c.month, c.day, 12) - 13 * 3600);
    }
}

TEST(NextStart, FarDatesAndNoStartReasons) {
    TimeZone tz("UTC");
    const std::time_t now = LocalTime(2026, 12, 8, 10, 0, 0);
    ScheduleEntry off = MakeEntry(Daily, 0, 0, 0, 2, 0, 0, kEveryDay);
    off.enable = 0;
    struct Case {
        const char* name;
        ScheduleEntry entry;
        std::optional<std::time_t> at;
        NoStartReason reason;
    } cases[] = {
        {"29 February, leap year", MakeEntry(Yearly, 29, 1, 0, 8, 0, 0),
         LocalTime(2028, 2, 29, 8, 0, 0), NoStartReason::None},
        {"monthly 31 skips 30-day months", MakeEntry(Monthly, 31, 0, 0, 8, 0, 0),
         LocalTime(2026, 12, 31, 8, 0, 0), NoStartReason::None},
        {"once, its first second", MakeEntry(Once, 9, 12, 2026, 8, 0, 5),
         LocalTime(2026, 12, 9, 8, 0, 4), NoStartReason::None},
        {"once at second 60", MakeEntry(Once, 9, 12, 2026, 8, 0, 60),
         LocalTime(2026, 12, 9, 8, 0, 59), NoStartReason::None},
        {"hourly in its minute now", MakeEntry(Hourly, 0, 0, 0, 0, 0, 0), now, NoStartReason::None},
        {"switched off", off, std::nullopt, NoStartReason::SwitchedOff},
        {"once an hour ago", MakeEntry(Once, 8, 12, 2026, 9, 0, 0), std::nullopt,
         NoStartReason::DatePassed},
        {"daily without a day", MakeEntry(Daily, 0, 0, 0, 8, 0, 0, 0), std::nullopt,
         NoStartReason::NoWeekday},
        {"weekly without a weekday", MakeEntry(Weekly, 0, 0, 0, 8, 0, 0, 0, -1), std::nullopt,
         NoStartReason::NoWeekday},
        {"30 February", MakeEntry(Yearly, 30, 1, 0, 8, 0, 0), std::nullopt,
         NoStartReason::NoSuchDay},
        {"monthly day 0", MakeEntry(Monthly, 0, 0, 0, 8, 0, 0), std::nullopt,
         NoStartReason::NoSuchDay},
        {"once on 31 April", MakeEntry(Once, 31, 4, 2027, 8, 0, 0), std::nullopt,
         NoStartReason::NoSuchDay},
        {"daily at 24:00", MakeEntry(Daily, 0, 0, 0, 24, 0, 0, kEveryDay), std::nullopt,
         NoStartReason::NoSuchTime},
        {"daily at 8:60", MakeEntry(Daily, 0, 0, 0, 8, 60, 0, kEveryDay), std::nullopt,
         NoStartReason::NoSuchTime},
        {"daily at second 60", MakeEntry(Daily, 0, 0, 0, 8, 0, 60, kEveryDay), std::nullopt,
         NoStartReason::NoSuchTime},
        {"type 6", MakeEntry(6, 0, 0, 0, 8, 0, 0), std::nullopt, NoStartReason::UnknownType},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NextStart next = NextStartOf(c.entry, now);
        EXPECT_EQ(next.at, c.at);
        EXPECT_EQ(next.reason, c.reason);
    }
    // A Sunday 02:30 the clocks skip this week starts next Sunday.
    {
        TimeZone berlin("Europe/Berlin");
        EXPECT_EQ(NextStartOf(MakeEntry(Weekly, 0, 0, 0, 2, 30, 0, 0, 6), LocalTime(2026, 3, 23)).at,
                  LocalTime(2026, 4, 5, 2, 30, 0));
    }
    // November's day gone by, December's comes next.
    EXPECT_EQ(NextStartOf(MakeEntry(Monthly, 5, 0, 0, 8, 0, 0), LocalTime(2026, 11, 8)).at,
              LocalTime(2026, 12, 5, 8, 0, 0));
    // From 1 March 2096 the next 29 February is in 2104: 2100 is no leap year.
    EXPECT_EQ(NextStartOf(MakeEntry(Yearly, 29, 1, 0, 8, 0, 0), LocalTime(2096, 3, 1)).at,
              LocalTime(2104, 2, 29, 8, 0, 0));
}

}  // namespace
