#pragma once

#include <string>
#include <vector>

// Starts a program from a command line whose first token names the executable, without
// waiting for it and without keeping anything of it. True when the process was created;
// otherwise the reason is the calling thread's last system error (platform/system_error.h).
//
// The executable is never looked for along a search path, where anyone may have put a
// program of that name: a bare name means the running program's folder (ExecutablePath).
// Windows: CreateProcessA with that full path as the application name and the line as it
// stands. POSIX: the line is split by SplitCommandLine and started with posix_spawn; the
// child is reaped when it ends.
bool StartProcess(const std::string& commandLine);

// The file a command line's first token names: a bare name in the running program's
// folder, a name with a folder part as it stands.
std::string ExecutablePath(const std::string& name);

// Splits a command line into arguments at blanks (spaces and tabs). A double-quoted part
// groups its blanks into the argument and its quotes are dropped; nothing is escaped, so a
// quote inside a quoted part ends it. "" makes an empty argument.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);
