#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <ctime>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

#include "engine/schedule_entry.h"

class FileStore;

// The journal of the program's starts, "Scheduler.log" in the data folder, one line per
// record, fields separated by a tab, each line ending in LF (the tabs are shown here as two
// blanks):
//
//   2026-12-08T02:30:00+01:00  started  due  Nightly  dovsuite.exe -process "C:\w\site.dvs"
//   2026-12-08T09:12:44+01:00  failed: Access is denied.  by hand  Nightly  dovsuite.exe ...
//   2026-12-09T02:30:00+01:00  missed: asleep or clock moved  due  Nightly  dovsuite.exe ...
//   2026-12-09T03:00:00+01:00  missed: not running  due 5 times, last 2026-12-09T07:00:00+01:00
//       Hourly  dovsuite.exe ...
//   2026-12-09T08:02:11+01:00  program started
//   2026-12-09T08:05:00+01:00  polling failed: std::bad_alloc
//   2026-12-09T18:40:03+01:00  program ended
//
// A start: the local time with its offset from UTC, the outcome ("started" or "failed: " and
// the system's reason), "due" or "by hand", the title and the command line. A miss: the time
// it was due (the first of several), "missed: " and why, "due" (or the count, with "or more"
// where counting stopped, and the last time), the title and the command line; it is written
// when the miss is noticed, so it may follow lines of later times. The program's own lines
// have two fields. A control character inside a field (a tab, a line break) is written as a
// blank, so a line is always one record. A file that has reached kTurnOverSize becomes
// "Scheduler.log.1", replacing the older one.

// Why starts were missed, as the journal writes it.
constexpr const char* kMissedHeldUp = "held up";
constexpr const char* kMissedAsleep = "asleep or clock moved";
constexpr const char* kMissedNotRunning = "not running";

// A text as a field of a line: control characters written as blanks.
std::string JournalField(const std::string& text);
// The instant as local ISO 8601 time with its offset; empty when it cannot be broken down.
std::string JournalTime(std::time_t at);
// The instant a JournalTime names; false when the text is not one.
bool ParseJournalTime(const std::string& text, std::time_t& at);
// The line of one start, or of one miss when start.missed is set, LF included.
std::string JournalLine(const LastStart& start,
                        const std::string& title,
                        const std::string& commandLine);
// The starts of one schedule that fell due unmade in one stretch of unsampled seconds.
struct MissedRun {
    long count = 0;
    bool more = false;  // counting stopped at `count`; there were more
    std::time_t first = 0;
    std::time_t last = 0;
};
// The one line of a schedule's misses, LF included.
std::string MissedLine(const MissedRun& run,
                       const std::string& reason,
                       const std::string& title,
                       const std::string& commandLine);
// A line of the program's own: its start, its end, a failure of the polling.
std::string NoteLine(std::time_t at, const std::string& text);

// Lines are queued by the starting threads and written, in order, by a writer thread of the
// journal's own, so a file system that hangs holds up neither a start nor the window. A journal
// that cannot be written loses its lines; nothing is reported and nothing is thrown.
class StartJournal {
public:
    static constexpr std::int64_t kTurnOverSize = 1 << 20;
    static constexpr const char* kFileName = "Scheduler.log";
    static constexpr const char* kOlderSuffix = ".1";
    // Lines waiting beyond this are dropped: a writer stuck for good must not eat the memory.
    static constexpr std::size_t kQueueLimit = 4096;

    explicit StartJournal(FileStore& store) : store_(store) {}
    // Writes what is queued, however long that takes.
    ~StartJournal();
    StartJournal(const StartJournal&) = delete;
    StartJournal& operator=(const StartJournal&) = delete;

    // The data folder, ending in the platform's separator; empty keeps no journal. Set once
    // at start-up, before the polling thread exists.
    void SetFolder(const std::string& folder) { folder_ = folder; }
    const std::string& Folder() const { return folder_; }

    // Queues the line of a start (or a miss).
    void Record(const LastStart& start, const std::string& title, const std::string& commandLine);
    // Queues a finished line, LF included.
    void Append(std::string line);

    // Writes what is queued and ends the writer, waiting at most `limit`; false when the
    // writer is still stuck in the file system then. Lines appended later are dropped.
    bool Close(std::chrono::milliseconds limit);

private:
    void writeLoop();
    void write(const std::string& line);

    FileStore& store_;
    std::string folder_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::string> queue_;
    std::thread writer_;
    bool closing_ = false;
    bool ended_ = false;
};

// The journal of the running program, through the system's files.
StartJournal& TheStartJournal();
