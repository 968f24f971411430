#include "engine/launcher.h"

#include <new>

#include "engine/due_time.h"
#include "engine/schedule_list.h"
#include "engine/start_journal.h"
#include "platform/clock.h"
#include "platform/process_start.h"
#include "platform/system_error.h"

std::string BuildCommandLine(const ScheduleEntry& entry, const LaunchTarget& target) {
    const std::string& parameters =
        entry.parameters.empty() ? target.defaultSwitch : entry.parameters;
    std::string line;
    line.reserve(target.exeName.size() + parameters.size() + entry.file.size() + 4);
    line += target.exeName;
    line += ' ';
    line += parameters;
    line += " \"";
    line += entry.file;
    line += '"';
    return line;
}

Launcher::Launcher(ScheduleList& list, Starter starter)
    : list_(list), starter_(std::move(starter)) {}

void Launcher::Start(int position, const Planned& planned, bool byHand) {
    std::string reason;
    try {
        if (!starter_(planned.commandLine)) {
            int code = LastSystemError();
            reason = code != 0 ? SystemErrorText(code) : "Unknown error";
        }
    } catch (...) {
        reason = SystemErrorText(kSystemErrorOutOfMemory);
    }
    // What follows the start only records it: a failure of its own is dropped.
    try {
        LastStart start{CurrentTime(), byHand, reason};
        remember(position, planned.commandLine, start);
        if (journal_) {
            journal_->Record(start, planned.title, planned.commandLine);
        }
        if (!reason.empty() && onFailure_) {
            onFailure_(planned.commandLine, reason);
        }
    } catch (...) {
    }
}

// The list may have changed while the process was created: the start belongs to the entry at
// the position only when that one still makes the same command line.
void Launcher::remember(int position, const std::string& commandLine, const LastStart& start) {
    list_.WithEntry(position, [&](ScheduleEntry& entry) {
        if (BuildCommandLine(entry, target_) == commandLine) {
            entry.last_start = start;
        }
    });
}

void Launcher::Launch(int position) {
    Planned planned;
    try {
        list_.WithEntry(position, [&](const ScheduleEntry& entry) {
            planned = Planned{BuildCommandLine(entry, target_), entry.title};
        });
    } catch (const std::bad_alloc&) {
        return;
    }
    if (!planned.commandLine.empty()) {
        Start(position, planned, true);
    }
}

bool Launcher::LaunchIfDue(int position, const std::tm& instant) {
    Planned planned;
    bool inside = false;
    try {
        inside = list_.WithEntry(position, [&](ScheduleEntry& entry) {
            if (IsDue(entry, instant)) {
                planned = Planned{BuildCommandLine(entry, target_), entry.title};
            }
        });
    } catch (const std::bad_alloc&) {
        // The latch is set, so this window is lost, as for a process that cannot start.
        return true;
    }
    if (!planned.commandLine.empty()) {
        Start(position, planned, false);
    }
    return inside;
}

Launcher& TheLauncher() {
    static Launcher launcher(TheScheduleList(), StartProcess);
    return launcher;
}

void LaunchSchedule(int position) {
    TheLauncher().Launch(position);
}
