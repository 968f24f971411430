#include "platform/system_error.h"

#include <windows.h>

const int kSystemErrorOutOfMemory = ERROR_NOT_ENOUGH_MEMORY;
const int kSystemErrorPathNotFound = ERROR_PATH_NOT_FOUND;

int LastSystemError() {
    return static_cast<int>(GetLastError());
}

void SetLastSystemError(int code) {
    SetLastError(static_cast<DWORD>(code));
}

std::string SystemErrorText(int code) {
    char buffer[512] = {};
    DWORD length =
        FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                       static_cast<DWORD>(code), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), buffer,
                       sizeof buffer, nullptr);
    std::string text(buffer, length);
    // The system ends its messages with a line break, which a message box does not want.
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) {
        text.pop_back();
    }
    return text.empty() ? "Error " + std::to_string(code) : text;
}
