#pragma once

#include <ctime>
#include <functional>
#include <string>

#include "engine/schedule_entry.h"

class ScheduleList;
class StartJournal;

// What the active companion product needs of a launch: its executable's bare file name and
// the switch used when an entry has no parameters.
struct LaunchTarget {
    std::string exeName;
    std::string defaultSwitch;
};

// "exe parameters \"file\"": the entry's parameters as they stand, or the default switch
// when it has none; the file in quotes (empty quotes when absent); nothing escaped.
std::string BuildCommandLine(const ScheduleEntry& entry, const LaunchTarget& target);

// Starts the companion product for entries of a list. The command line is built with the
// list's lock held and the process created after it is released, so a slow start never
// blocks a change of the list. After each start, on the thread that made it, the entry's
// last_start is set (unless the entry has changed meanwhile) and the journal is written.
class Launcher {
public:
    using Starter = std::function<bool(const std::string& commandLine)>;
    // Told of each start that fails, with the system's reason, on the thread that started.
    using FailureHandler =
        std::function<void(const std::string& commandLine, const std::string& reason)>;

    Launcher(ScheduleList& list, Starter starter);

    // Set once at start-up, before the polling thread exists.
    void SetTarget(const LaunchTarget& target) { target_ = target; }
    const LaunchTarget& Target() const { return target_; }
    // Set once at start-up, before the polling thread exists; none by default, since the
    // Windows program starts silently.
    void SetFailureHandler(FailureHandler handler) { onFailure_ = std::move(handler); }
    // Set once at start-up, before the polling thread exists; none by default.
    void SetJournal(StartJournal* journal) { journal_ = journal; }
    StartJournal* Journal() const { return journal_; }
    ScheduleList& List() const { return list_; }

    // Starts the entry at the position; nothing outside the list. The outcome is ignored
    // by its callers; the latch is not touched.
    void Launch(int position);

    // Checks the entry at the position against the instant (setting its latch) and starts
    // it when due. False when the position is past the end of the list.
    bool LaunchIfDue(int position, const std::tm& instant);

private:
    // What a start needs of its entry, copied with the lock held.
    struct Planned {
        std::string commandLine;
        std::string title;
    };
    void Start(int position, const Planned& planned, bool byHand);
    void remember(int position, const std::string& commandLine, const LastStart& start);

    ScheduleList& list_;
    Starter starter_;
    LaunchTarget target_;
    FailureHandler onFailure_;
    StartJournal* journal_ = nullptr;
};

// The program's launcher: TheScheduleList() and the system's process start.
Launcher& TheLauncher();

// Starts the entry at the position of the program's list ("Run Schedule" and the polling
// thread); nothing for a position outside the list.
void LaunchSchedule(int position);
