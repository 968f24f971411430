#pragma once

#include <string>

// Process-wide state of the application shell. All of it is read and written on the user
// interface thread (the headless program's main thread); the polling thread never sees it.

// 1 when the command line carries the server switch: a quiet start at logon.
extern int ServerMode;
// What this process last did about autorun, or 1 when it was started by it; never read
// back from the system.
extern int AutorunEnabled;
// The list position that Remove, Change and Run act on; -1 for none. Users range-check it.
extern int SelectedScheduleIndex;

// The full path of the running executable as start-up found it (for the autorun command),
// and its folder, ending in the separator.
const std::string& ProgramFullPath();
const std::string& ProgramFolder();
void SetProgramPath(const std::string& fullPath);
