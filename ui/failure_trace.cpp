#include "ui/failure_trace.h"

#include <cstdio>
#include <exception>
#include <utility>

namespace {

std::function<void(const std::string&)>& TestSink() {
    static std::function<void(const std::string&)> sink;
    return sink;
}

}  // namespace

void TraceCaughtFailure(const char* where, UINT message) noexcept {
    const DWORD error = GetLastError();
    try {
        std::string what = "an unknown exception";
        try {
            throw;
        } catch (const std::exception& e) {
            what = e.what();
        } catch (...) {
        }
        char system[256] = "";
        DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                      nullptr, error, 0, system, sizeof system, nullptr);
        while (length > 0 && (system[length - 1] == '\r' || system[length - 1] == '\n')) {
            system[--length] = '\0';
        }
        char line[700];
        std::snprintf(line, sizeof line,
                      "Scheduler: %s dropped %s at message 0x%04X; system error %lu: %s\n", where,
                      what.c_str(), message, static_cast<unsigned long>(error), system);
        if (TestSink()) {
            TestSink()(line);
        } else {
            OutputDebugStringA(line);
        }
    } catch (...) {
        // The trace is all this is: nothing more to do when it cannot be made.
    }
    SetLastError(error);
}

void SetFailureTraceForTesting(std::function<void(const std::string& line)> sink) {
    TestSink() = std::move(sink);
}
