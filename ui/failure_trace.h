#pragma once

#include <windows.h>

#include <functional>
#include <string>

// Leaves a trace of an exception that a window, dialog or control procedure caught and went
// on from: where, the message, what was thrown and the system's last error, sent to the
// debugger's output. Call it inside the catch handler; the thread's last error is left as
// it was.
void TraceCaughtFailure(const char* where, UINT message) noexcept;

// Tests read the trace here instead of the debugger's output.
void SetFailureTraceForTesting(std::function<void(const std::string& line)> sink);
