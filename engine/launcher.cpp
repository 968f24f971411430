#include "engine/launcher.h"

#include <new>

#include "engine/due_time.h"
#include "engine/schedule_list.h"
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

void Launcher::Start(const std::string& commandLine) {
    std::string reason;
    try {
        if (starter_(commandLine)) {
            return;
        }
        int code = LastSystemError();
        reason = code != 0 ? SystemErrorText(code) : "Unknown error";
    } catch (...) {
        reason = SystemErrorText(kSystemErrorOutOfMemory);
    }
    // A start that fails is otherwise dropped, like one the system refuses.
    try {
        if (onFailure_) {
            onFailure_(commandLine, reason);
        }
    } catch (...) {
    }
}

void Launcher::Launch(int position) {
    std::string commandLine;
    try {
        list_.WithEntry(position, [&](const ScheduleEntry& entry) {
            commandLine = BuildCommandLine(entry, target_);
        });
    } catch (const std::bad_alloc&) {
        return;
    }
    if (!commandLine.empty()) {
        Start(commandLine);
    }
}

bool Launcher::LaunchIfDue(int position, const std::tm& instant) {
    std::string commandLine;
    bool inside = false;
    try {
        inside = list_.WithEntry(position, [&](ScheduleEntry& entry) {
            if (IsDue(entry, instant)) {
                commandLine = BuildCommandLine(entry, target_);
            }
        });
    } catch (const std::bad_alloc&) {
        // The latch is set, so this window is lost, as for a process that cannot start.
        return true;
    }
    if (!commandLine.empty()) {
        Start(commandLine);
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
