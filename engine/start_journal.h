#pragma once

#include <cstdint>
#include <ctime>
#include <mutex>
#include <string>

#include "engine/schedule_entry.h"

class FileStore;

// The journal of the program's starts, "Scheduler.log" in the data folder, one line per
// start, appended after it, fields separated by a tab, each line ending in LF (the tabs are
// shown here as two blanks):
//
//   2026-12-08T02:30:00+01:00  started  due  Nightly  dovsuite.exe -process "C:\w\site.dvs"
//   2026-12-08T09:12:44+01:00  failed: Access is denied.  by hand  Nightly  dovsuite.exe ...
//
// The local time with its offset from UTC, the outcome ("started" or "failed: " and the
// system's reason), "due" or "by hand", the title and the command line. A control character
// inside a field (a tab, a line break) is written as a blank, so a line is always one record.
// A file that has reached kTurnOverSize becomes "Scheduler.log.1", replacing the older one.

// The instant as local ISO 8601 time with its offset; empty when it cannot be broken down.
std::string JournalTime(std::time_t at);
// The line of one start, LF included.
std::string JournalLine(const LastStart& start,
                        const std::string& title,
                        const std::string& commandLine);

class StartJournal {
public:
    static constexpr std::int64_t kTurnOverSize = 1 << 20;
    static constexpr const char* kFileName = "Scheduler.log";
    static constexpr const char* kOlderSuffix = ".1";

    explicit StartJournal(FileStore& store) : store_(store) {}

    // The data folder, ending in the platform's separator; empty keeps no journal. Set once
    // at start-up, before the polling thread exists.
    void SetFolder(const std::string& folder) { folder_ = folder; }

    // Appends the start's line. A journal that cannot be written is skipped: nothing is
    // reported and nothing is thrown, since a start must never fail for its record.
    void Record(const LastStart& start, const std::string& title, const std::string& commandLine);

private:
    std::mutex mutex_;  // the two starting threads take turns at the file and its turn-over
    FileStore& store_;
    std::string folder_;
};

// The journal of the running program, through the system's files.
StartJournal& TheStartJournal();
