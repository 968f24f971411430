#include <windows.h>

#include <vector>

#include "platform/process_start.h"

bool StartProcess(const std::string& commandLine) {
    std::vector<std::string> args = SplitCommandLine(commandLine);
    if (args.empty() || args[0].empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return false;
    }
    std::string program = ExecutablePath(args[0]);
    // CreateProcessA may write into the command line, so it gets its own copy.
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info;
    ZeroMemory(&info, sizeof info);
    if (!CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE,
                        NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup, &info)) {
        return false;
    }
    // Nothing of the new process is watched; its handles go at once.
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return true;
}
