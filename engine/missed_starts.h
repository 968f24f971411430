#pragma once

#include <ctime>
#include <string>

#include "engine/next_start.h"
#include "engine/schedule_entry.h"
#include "engine/start_journal.h"

class Launcher;

// A schedule missed over years of a clock set forward is counted this far, not without end.
constexpr long kMissedCountLimit = 10000;

// The windows of the entry that opened after the instant of `after` (a sampled second,
// whose open window counts as met) and by `before` (the pass that notices the gap). The
// window still open at `before` is that pass's own start unless the latch, set at `after` by
// another window, keeps it from starting (`latchedAfter`: the same run sampled `after` and the
// rule matched there). Found with NextStartOf, so the due rules live in one place.
MissedRun MissedBetween(const ScheduleEntry& entry,
                        const LocalClockView& after,
                        std::time_t before,
                        bool latchedAfter);

// Why seconds between two samples went unsampled: a short gap is a pass held up, a longer one
// the computer asleep or its clock set forward.
const char* GapReason(std::time_t after, std::time_t before);

// Journals the starts every entry of the launcher's list missed between two samples, one
// line per entry, and makes the newest miss the entry's last start when it is newer.
// `sampledHere`: this run's polling sampled `after` (not the previous run's last line).
void JournalMissedStarts(Launcher& launcher,
                         std::time_t after,
                         std::time_t before,
                         bool sampledHere,
                         const std::string& reason);
