#include "engine/next_start.h"

#include <algorithm>
#include <limits>

#include "engine/due_time.h"
#include "platform/clock.h"

namespace {
constexpr long long kDay = 86400;
// How far the steady offset is looked for; later candidates are checked one by one.
constexpr int kSteadyDays = 400;

long long LocalSeconds(const std::tm& t) {
    return DaysFromCivil(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday) * kDay + t.tm_hour * 3600 +
           t.tm_min * 60 + t.tm_sec;
}

std::optional<long long> OffsetAt(std::time_t instant) {
    std::tm t;
    if (!LocalBreakdown(instant, t)) {
        return std::nullopt;
    }
    return LocalSeconds(t) - static_cast<long long>(instant);
}

// Weekday of a local day, Sunday 0, as tm_wday counts (1970-01-01 was a Thursday).
int ClockWeekday(long long day) {
    return static_cast<int>(((day % 7) + 11) % 7);
}

bool InRange(int value, int low, int high) {
    return value >= low && value <= high;
}
}  // namespace

long long DaysFromCivil(int year, int month, int day) {
    const long long y = static_cast<long long>(year) - (month <= 2 ? 1 : 0);
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

int DaysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (!InRange(month, 1, 12)) {
        return 0;
    }
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return days[month - 1] + (month == 2 && leap ? 1 : 0);
}

LocalClockView::LocalClockView(std::time_t now) : now_(now), steadyUntil_(now) {
    read(now);
}

void LocalClockView::read(std::time_t now) {
    now_ = now;
    steadyUntil_ = now;
    valid_ = LocalBreakdown(now, local_);
    if (!valid_) {
        return;
    }
    today_ = DaysFromCivil(local_.tm_year + 1900, local_.tm_mon + 1, local_.tm_mday);
    offset_ = LocalSeconds(local_) - static_cast<long long>(now);
    // Day steps find the next change of offset; halving finds its second.
    std::time_t same = now;
    std::time_t changed = now;
    for (int day = 1; day <= kSteadyDays; ++day) {
        std::time_t probe = now + day * kDay;
        if (OffsetAt(probe) != offset_) {
            changed = probe;
            break;
        }
        same = probe;
    }
    if (changed == now) {
        steadyUntil_ = same;
        return;
    }
    while (changed - same > 1) {
        std::time_t middle = same + (changed - same) / 2;
        (OffsetAt(middle) == offset_ ? same : changed) = middle;
    }
    steadyUntil_ = changed;
}

void LocalClockView::MoveTo(std::time_t later) {
    if (!valid_ || later < now_ || later >= steadyUntil_) {
        read(later);
        return;
    }
    now_ = later;
    LocalBreakdown(later, local_);
    today_ = DaysFromCivil(local_.tm_year + 1900, local_.tm_mon + 1, local_.tm_mday);
}

std::optional<std::time_t> LocalClockView::WindowStart(long long localFirst, int length) const {
    const long long guess = localFirst - offset_;
    if (guess > now_ && guess < steadyUntil_) {
        return static_cast<std::time_t>(guess);
    }
    // Offsets differ by less than two days: with the offset steady that long, a window behind
    // us now is behind us under any offset.
    const long long lastSecond = guess + length - 1;
    if (lastSecond <= now_ && (lastSecond <= now_ - 2 * kDay || steadyUntil_ - now_ > 2 * kDay)) {
        return std::nullopt;
    }
    // Near or past a change of offset: the offsets in force two days either side.
    const std::optional<long long> early = OffsetAt(static_cast<std::time_t>(guess - 2 * kDay));
    const std::optional<long long> late = OffsetAt(static_cast<std::time_t>(guess + 2 * kDay));
    if (!early || !late || *early == *late) {
        const std::optional<long long> offset = early ? early : late;
        if (!offset) {
            return std::nullopt;
        }
        const std::time_t at = static_cast<std::time_t>(localFirst - *offset);
        if (at > now_ && OffsetAt(at) == offset) {
            return at;
        }
        return std::nullopt;
    }
    std::time_t same = static_cast<std::time_t>(guess - 2 * kDay);
    std::time_t change = static_cast<std::time_t>(guess + 2 * kDay);
    while (change - same > 1) {
        std::time_t middle = same + (change - same) / 2;
        (OffsetAt(middle) == early ? same : change) = middle;
    }
    auto localAt = [&](long long t) { return t + (t < change ? *early : *late); };
    auto inWindow = [&](long long local) {
        return local >= localFirst && local < localFirst + length;
    };
    const long long underEarly = localFirst - *early;
    const long long underLate = localFirst - *late;
    auto startsAt = [&](long long at) { return at > now_ && !inWindow(localAt(at - 1)); };
    // In time order: the window under the old offset, the change jumping into its middle (an
    // offset change of odd seconds), the window under the new offset.
    if (underEarly < change && startsAt(underEarly)) {
        return static_cast<std::time_t>(underEarly);
    }
    if (inWindow(localAt(change)) && startsAt(change)) {
        return change;
    }
    if (underLate >= change && startsAt(underLate)) {
        return static_cast<std::time_t>(underLate);
    }
    return std::nullopt;
}

namespace {
// The earliest instant after now among the wall-clock times of one day (or date).
struct Earliest {
    std::optional<std::time_t> at;
    // A window of `length` seconds from the wall-clock time `localFirst`.
    void Offer(const LocalClockView& clock, long long localFirst, int length = 1) {
        std::optional<std::time_t> start = clock.WindowStart(localFirst, length);
        if (start && (!at || *start < *at)) {
            at = start;
        }
    }
};

NoStartReason CheckFields(const ScheduleEntry& e) {
    if (e.enable == 0) {
        return NoStartReason::SwitchedOff;
    }
    if (!InRange(e.type, Once, Yearly)) {
        return NoStartReason::UnknownType;
    }
    if (e.type == Hourly) {
        return InRange(e.min, 0, 59) ? NoStartReason::None : NoStartReason::NoSuchTime;
    }
    // Once matches the second before `sec` too, so 60 still shows as 59.
    if (!InRange(e.hour, 0, 23) || !InRange(e.min, 0, 59) ||
        !InRange(e.sec, 0, e.type == Once ? 60 : 59)) {
        return NoStartReason::NoSuchTime;
    }
    switch (e.type) {
        case Once:
            return DaysInMonth(e.year, e.month) >= e.day && e.day >= 1 ? NoStartReason::None
                                                                        : NoStartReason::NoSuchDay;
        case Daily:
            return (e.days_week & kEveryDay) != 0 ? NoStartReason::None : NoStartReason::NoWeekday;
        case Weekly:
            return InRange(e.nday_week, 0, 6) ? NoStartReason::None : NoStartReason::NoWeekday;
        case Monthly:
            return InRange(e.day, 1, 31) ? NoStartReason::None : NoStartReason::NoSuchDay;
        default:  // Yearly: any year has 29 February
            return InRange(e.day, 1, DaysInMonth(2000, e.month + 1)) ? NoStartReason::None
                                                                      : NoStartReason::NoSuchDay;
    }
}
}  // namespace

NextStart NextStartOf(const ScheduleEntry& e, const LocalClockView& clock) {
    NoStartReason reason = CheckFields(e);
    if (reason != NoStartReason::None) {
        return {std::nullopt, reason};
    }
    if (!clock.Valid()) {
        // The polling pass skips an instant it cannot read as local time.
        return {std::nullopt, NoStartReason::NoSuchTime};
    }
    // The next pass starts an entry whose window is open and not yet taken.
    if (e.fired == 0 && RuleMatches(e, clock.Local())) {
        return {clock.Now()};
    }
    const long long timeOfDay = e.hour * 3600LL + e.min * 60LL + e.sec;
    const std::tm& now = clock.Local();
    Earliest next;
    switch (e.type) {
        case Once: {
            const long long window =
                DaysFromCivil(e.year, e.month, e.day) * kDay + timeOfDay - (e.sec > 0 ? 1 : 0);
            // Two seconds, `sec` - 1 and `sec`; one at second 0 and at 60, which no clock shows.
            next.Offer(clock, window, e.sec == 0 ? 1 : std::min(2, 61 - e.sec));
            if (!next.at) {
                // Behind us, or inside an hour the clocks skip on that day.
                const long long nowLocal = clock.Today() * kDay + now.tm_hour * 3600LL +
                                           now.tm_min * 60LL + now.tm_sec;
                return {std::nullopt,
                        window <= nowLocal ? NoStartReason::DatePassed : NoStartReason::NoSuchTime};
            }
            break;
        }
        case Hourly:
        case Daily:
        case Weekly:
            // Two weeks and a day: a weekday whose time the clocks skip this week comes next
            // week.
            for (long long day = clock.Today(); !next.at && day <= clock.Today() + 15; ++day) {
                const int weekday = MondayBasedWeekday(ClockWeekday(day));
                if (e.type == Hourly) {
                    for (int hour = 0; hour < 24; ++hour) {
                        next.Offer(clock, day * kDay + hour * 3600LL + e.min * 60LL, 60);
                    }
                } else if (e.type == Daily ? ((e.days_week >> weekday) & 1) != 0
                                           : e.nday_week == weekday) {
                    next.Offer(clock, day * kDay + timeOfDay);
                }
            }
            break;
        case Monthly:
        case Yearly: {
            // Eight years reach the next 29 February even across a century year.
            int year = now.tm_year + 1900;
            int month = e.type == Monthly ? now.tm_mon + 1 : e.month + 1;
            for (int step = 0; !next.at && step <= (e.type == Monthly ? 8 * 12 : 8); ++step) {
                if (e.day <= DaysInMonth(year, month)) {
                    next.Offer(clock, DaysFromCivil(year, month, e.day) * kDay + timeOfDay);
                }
                if (e.type == Yearly || ++month > 12) {
                    month = e.type == Yearly ? month : 1;
                    ++year;
                }
            }
            break;
        }
        default:
            break;
    }
    if (!next.at) {
        return {std::nullopt, NoStartReason::NoSuchTime};
    }
    return {next.at};
}

NextStart NextStartOf(const ScheduleEntry& entry, std::time_t now) {
    return NextStartOf(entry, LocalClockView(now));
}
