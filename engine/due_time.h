#pragma once

#include <ctime>

#include "engine/schedule_entry.h"

// Decides whether the entry is to be started at this local instant (the broken-down local
// time of one polling pass: tm_sec, tm_min, tm_hour, tm_mday, tm_mon 0..11, tm_year since
// 1900, tm_wday with Sunday 0). Keeps the entry's `fired` latch so a due window that spans
// several polls starts the entry once. A switched-off entry never falls due.
bool IsDue(ScheduleEntry& entry, const std::tm& instant);

// Whether the entry's recurrence rule matches the instant, ignoring the latch.
bool RuleMatches(const ScheduleEntry& entry, const std::tm& instant);

// days_week bit of a clock weekday (Sunday 0 .. Saturday 6).
int WeekdayBit(int clockWeekday);
// Monday-based weekday index (Monday 0 .. Sunday 6) of a clock weekday.
int MondayBasedWeekday(int clockWeekday);
