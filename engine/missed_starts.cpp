#include "engine/missed_starts.h"

#include <algorithm>
#include <optional>

#include "engine/due_time.h"
#include "engine/launcher.h"
#include "engine/next_start.h"
#include "engine/schedule_list.h"
#include "platform/clock.h"

namespace {
constexpr std::time_t kHour = 3600;
constexpr std::time_t kDay = 24 * kHour;

// The window starts of the entry after the clock's instant and by `until`, counted up to
// `limit`. A window open at the clock's instant was met there. The last window is left out
// when `untilStartsLast`: the pass at `until` starts it.
MissedRun ScanStarts(const ScheduleEntry& entry,
                     LocalClockView clock,
                     std::time_t until,
                     bool untilStartsLast,
                     long limit) {
    MissedRun run;
    auto add = [&run](std::time_t at) {
        run.first = run.count++ == 0 ? at : run.first;
        run.last = at;
    };
    ScheduleEntry probe;
    probe.Assign(entry);
    probe.fired = 1;
    std::optional<std::time_t> pending;
    for (;;) {
        const NextStart next = NextStartOf(probe, clock);
        if (!next.at || *next.at > until || *next.at <= clock.Now()) {
            break;
        }
        // A later window opened by `until`, so this one closed unsampled.
        if (pending) {
            add(*pending);
            if (run.count >= limit) {
                run.more = true;
                return run;
            }
        }
        pending = next.at;
        clock.MoveTo(*next.at);
    }
    if (pending && !untilStartsLast) {
        add(*pending);
    }
    return run;
}
}  // namespace

MissedRun MissedBetween(const ScheduleEntry& entry,
                        const LocalClockView& after,
                        std::time_t before,
                        bool latchedAfter) {
    // A window that opened in the gap and is still open is the later pass's own start, unless
    // the latch an earlier window set at `after`, never cleared in the gap, keeps it shut.
    std::tm local;
    const bool passStarts =
        !latchedAfter && LocalBreakdown(before, local) && RuleMatches(entry, local);
    MissedRun run = ScanStarts(entry, after, before, passStarts, kMissedCountLimit);
    if (run.more) {
        // The newest miss, for the line and the row tip: looked for in the last three hours,
        // then further back, each step longer than the gaps between starts the one before
        // found none in.
        for (std::time_t back : {3 * kHour, 3 * kDay, 32 * kDay, 400 * kDay, 20 * 366 * kDay}) {
            const std::time_t from = std::max(run.last, before - back);
            const MissedRun tail =
                ScanStarts(entry, LocalClockView(from), before, passStarts, kMissedCountLimit);
            if (tail.count > 0 || from == run.last) {
                run.last = tail.count > 0 ? tail.last : run.last;
                break;
            }
        }
    }
    return run;
}

const char* GapReason(std::time_t after, std::time_t before) {
    return before - after <= 60 ? kMissedHeldUp : kMissedAsleep;
}

void JournalMissedStarts(Launcher& launcher,
                         std::time_t after,
                         std::time_t before,
                         bool sampledHere,
                         const std::string& reason) {
    // One view of the clock at `after` for every entry: finding how long its offset holds
    // costs hundreds of breakdowns.
    const LocalClockView afterView(after);
    const bool latchKnown = sampledHere && afterView.Valid();
    ScheduleList& list = launcher.List();
    ScheduleEntry entry;
    for (int position = 0;
         list.WithEntry(position, [&](const ScheduleEntry& at) { entry.Assign(at); }); ++position) {
        // The pass at `after` left the latch set where the rule matched.
        const bool latched =
            latchKnown && entry.enable != 0 && RuleMatches(entry, afterView.Local());
        const MissedRun run = MissedBetween(entry, afterView, before, latched);
        if (run.count == 0) {
            continue;
        }
        const std::string commandLine = BuildCommandLine(entry, launcher.Target());
        if (StartJournal* journal = launcher.Journal()) {
            journal->Append(MissedLine(run, reason, entry.title, commandLine));
        }
        // The entry may have changed meanwhile: the miss is its own only while it makes the
        // same command line.
        list.WithEntry(position, [&](ScheduleEntry& now) {
            if (BuildCommandLine(now, launcher.Target()) == commandLine &&
                run.last >= now.last_start.at) {
                now.last_start = LastStart{run.last, false, "", reason};
            }
        });
    }
}
