#include <windows.h>

#include <vector>

#include "platform/program_path.h"

std::string ProgramPath() {
    // Room for the longest path Windows can report, so the caller decides what to cut.
    std::vector<char> buffer(32768);
    DWORD n = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0 || n >= buffer.size()) {
        return std::string();
    }
    return std::string(buffer.data(), n);
}
