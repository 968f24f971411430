#pragma once

#include <windows.h>

#include <string>

// A process started from a command line for a test, ended by force when the test leaves it
// running.
class RunningProcess {
public:
    explicit RunningProcess(std::string line) {
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        started_ = CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                  nullptr, &startup, &info_) != 0;
        if (started_) {
            CloseHandle(info_.hThread);
        }
    }
    ~RunningProcess() {
        if (started_) {
            if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
                TerminateProcess(info_.hProcess, 99);
                WaitForSingleObject(info_.hProcess, 5000);
            }
            CloseHandle(info_.hProcess);
        }
    }
    RunningProcess(const RunningProcess&) = delete;
    RunningProcess& operator=(const RunningProcess&) = delete;

    bool Started() const { return started_; }
    bool WaitExit(int ms) {
        return started_ && WaitForSingleObject(info_.hProcess, ms) == WAIT_OBJECT_0;
    }
    // The exit code, or STILL_ACTIVE.
    DWORD ExitCode() const {
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(info_.hProcess, &code);
        return code;
    }

private:
    PROCESS_INFORMATION info_{};
    bool started_ = false;
};

// Runs a command line to its end within a minute; its exit code, or -1.
inline long RunToEnd(const std::string& line) {
    RunningProcess process(line);
    return process.WaitExit(60000) ? static_cast<long>(process.ExitCode()) : -1;
}
