#pragma once

#include <ctime>
#include <map>
#include <string>

#include "engine/schedule_entry.h"

class ScheduleList;
struct LaunchTarget;

// What the start journal of earlier runs tells at start-up: each schedule's newest start,
// failed start or miss, by its title and command line as the journal writes them, and the
// time of the journal's last line (when the previous run was last heard of).
struct JournalMemory {
    std::map<std::string, LastStart> starts;  // key: title, a tab, command line
    std::time_t lastLineAt = 0;               // 0: no line
};

// Adds the lines of a journal's text; a later line of a schedule replaces an earlier one.
// Lines that are not the journal's own (cut short, edited) are passed over.
void ReadJournalText(const std::string& text, JournalMemory& memory);

// Reads "Scheduler.log.1" then "Scheduler.log" of the folder (ending in its separator); the
// last line's time comes from the newer file that has one. A file that cannot be read counts
// as empty.
JournalMemory ReadJournal(const std::string& folder);

// Gives every entry of the list whose title and command line the journal names the newest
// start it has of them (when newer than what the entry holds).
void RememberLastStarts(ScheduleList& list, const LaunchTarget& target, const JournalMemory& memory);

// The key of an entry in JournalMemory::starts.
std::string JournalKey(const std::string& title, const std::string& commandLine);
