#include "platform/system_error.h"

#include <cerrno>
#include <cstring>
#include <type_traits>

const int kSystemErrorOutOfMemory = ENOMEM;
const int kSystemErrorPathNotFound = ENOENT;

int LastSystemError() {
    return errno;
}

void SetLastSystemError(int code) {
    errno = code;
}

std::string SystemErrorText(int code) {
    char buffer[256] = {};
    // The GNU strerror_r may answer with a static text instead of filling the buffer.
    auto answer = ::strerror_r(code, buffer, sizeof buffer);
    if constexpr (std::is_same_v<decltype(answer), char*>) {
        return answer != nullptr ? answer : buffer;
    } else {
        return answer == 0 ? buffer : "Unknown error " + std::to_string(code);
    }
}
