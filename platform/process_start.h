#pragma once

#include <string>
#include <vector>

// Starts a program from a command line whose first token names the executable, without
// waiting for it and without keeping anything of it. True when the process was created;
// otherwise the reason is the calling thread's last system error (platform/system_error.h).
//
// Windows: CreateProcessA with no application name, so Windows looks for the executable in
// the running program's folder first. POSIX: the line is split by SplitCommandLine, the
// first argument is looked up in the running program's folder, then in PATH, and started
// with posix_spawn; the child is reaped when it ends.
bool StartProcess(const std::string& commandLine);

// Splits a command line into arguments at blanks (spaces and tabs). A double-quoted part
// groups its blanks into the argument and its quotes are dropped; nothing is escaped, so a
// quote inside a quoted part ends it. "" makes an empty argument.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);
