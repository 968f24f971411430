#pragma once

#include <ctime>
#include <functional>
#include <string>

#include "engine/next_start.h"
#include "engine/schedule_entry.h"

// Texts of the reasons an entry has no next start, in a few words.
const char* NoStartReasonText(NoStartReason reason);

// The list's tip for a row: the schedule's next start and its last start, failed start or
// miss (this run's, or the journal's of earlier runs), one line each; `formatTime` writes an instant in the user's date and time format.
std::string ScheduleTipText(const ScheduleEntry& entry,
                            const NextStart& next,
                            const std::function<std::string(std::time_t)>& formatTime);
