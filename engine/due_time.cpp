#include "engine/due_time.h"

int WeekdayBit(int clockWeekday) {
    return 1 << MondayBasedWeekday(clockWeekday);
}

int MondayBasedWeekday(int clockWeekday) {
    return clockWeekday == 0 ? 6 : clockWeekday - 1;
}

bool RuleMatches(const ScheduleEntry& e, const std::tm& t) {
    // Every rule is evaluated without branches and the entry's type picks one result: the
    // polling pass runs over lists of mixed types, where a branch per type mispredicts.
    const int weekday = MondayBasedWeekday(t.tm_wday);
    const bool timeOfDay = (e.hour == t.tm_hour) & (e.min == t.tm_min) & (e.sec == t.tm_sec);
    const bool dayOfMonth = e.day == t.tm_mday;
    // Once: the second before `sec` and `sec` itself.
    const bool once = dayOfMonth & (e.month == t.tm_mon + 1) & (e.year == t.tm_year + 1900) &
                      (e.hour == t.tm_hour) & (e.min == t.tm_min) & (t.tm_sec <= e.sec) &
                      (e.sec < t.tm_sec + 2);
    const bool hourly = e.min == t.tm_min;
    const bool daily = timeOfDay & (((e.days_week >> weekday) & 1) != 0);
    const bool weekly = timeOfDay & (e.nday_week == weekday);
    const bool monthly = timeOfDay & dayOfMonth;
    const bool yearly = monthly & (e.month == t.tm_mon);
    const unsigned results =
        static_cast<unsigned>(once) << Once | static_cast<unsigned>(hourly) << Hourly |
        static_cast<unsigned>(daily) << Daily | static_cast<unsigned>(weekly) << Weekly |
        static_cast<unsigned>(monthly) << Monthly | static_cast<unsigned>(yearly) << Yearly;
    // A type outside 0..5 selects no result and never matches.
    const unsigned type = static_cast<std::uint16_t>(e.type);
    return type <= Yearly && ((results >> (type & 7)) & 1) != 0;
}

bool IsDue(ScheduleEntry& entry, const std::tm& instant) {
    const bool match = (entry.enable != 0) & RuleMatches(entry, instant);
    // The latch: due only on the first poll of a matching window; cleared once it ends.
    const bool due = match & (entry.fired == 0);
    entry.fired = match ? 1 : 0;
    return due;
}
