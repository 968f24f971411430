#pragma once

#include <ctime>
#include <optional>

#include "engine/schedule_entry.h"

// Why an entry has no next start.
enum class NoStartReason {
    None,
    SwitchedOff,
    DatePassed,   // a Once whose window is behind
    NoWeekday,    // Daily without a ticked day, Weekly without a weekday
    NoSuchDay,    // a date no calendar has (Monthly 0, Yearly 30 February, ...)
    NoSuchTime,   // an hour, minute or second the clock never shows
    UnknownType,  // a type outside Once..Yearly
};

struct NextStart {
    std::optional<std::time_t> at;  // the instant the polling pass starts the entry
    NoStartReason reason = NoStartReason::None;
};

// The local clock at one instant, read once for many entries: the local time, its offset
// from UTC and how long that offset is known to hold.
class LocalClockView {
public:
    explicit LocalClockView(std::time_t now);

    std::time_t Now() const { return now_; }
    // False when the instant has no local time (the polling pass then starts nothing).
    bool Valid() const { return valid_; }
    const std::tm& Local() const { return local_; }
    // The local day of Now() (days since 1970-01-01).
    long long Today() const { return today_; }
    // The earliest instant after Now() at which the local clock enters the `length` seconds
    // from `localFirst` (seconds since 1970-01-01 as a wall clock reads them): their first
    // second, or the second a change of offset jumps into the middle of them. None in a
    // skipped hour; the first pass of a repeated one.
    std::optional<std::time_t> WindowStart(long long localFirst, int length) const;

    // The view at a later instant; cheap while the offset holds.
    void MoveTo(std::time_t later);

private:
    void read(std::time_t now);

    std::time_t now_;
    std::tm local_{};
    bool valid_ = false;
    long long today_ = 0;
    long long offset_ = 0;
    std::time_t steadyUntil_;  // the offset holds on [now_, steadyUntil_)
};

// When the polling thread next starts the entry, following IsDue: the first second of the
// next window the rule matches (now itself when now matches and the latch is clear), both
// passes of a repeated hour, none in a skipped one.
NextStart NextStartOf(const ScheduleEntry& entry, const LocalClockView& clock);
NextStart NextStartOf(const ScheduleEntry& entry, std::time_t now);

// Calendar arithmetic on the proleptic Gregorian calendar, month 1..12.
long long DaysFromCivil(int year, int month, int day);
int DaysInMonth(int year, int month);
