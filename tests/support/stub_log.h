#pragma once

#include <string>
#include <vector>

// What the companion stub wrote for one start.
struct StubRecord {
    std::string line;               // the command line it was given
    std::vector<std::string> args;  // its arguments, argv[0] first
    long long timeMs = 0;           // its start, ms since the Unix epoch
    bool signalsBlocked = false;    // POSIX: it started with SIGINT or SIGTERM blocked
};

// The stub program built beside the test programs.
std::string StubProgramPath();
// The stub's executable suffix on this platform ("" or ".exe").
const char* ExeSuffix();

std::vector<StubRecord> ReadStubLog(const std::string& logPath);
// Reads the log until it holds at least `count` records or the wait (ms) is over.
std::vector<StubRecord> WaitForStubLog(const std::string& logPath, size_t count, int waitMs);

// Sets COMPANION_STUB_LOG for this process and the processes it starts.
void SetStubLog(const std::string& logPath);
