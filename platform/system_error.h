#pragma once

#include <string>

// The system's own error codes and their words, so that a failure can be named to the user
// in the terms the system uses: errno and strerror on POSIX, GetLastError() and FormatMessageA
// on Windows.

// The calling thread's last error code; read it right after the call that failed, before
// anything else can overwrite it.
int LastSystemError();
void SetLastSystemError(int code);

// The system's words for `code`, without trailing line breaks.
std::string SystemErrorText(int code);

// Codes the portable code needs to name itself.
extern const int kSystemErrorOutOfMemory;
extern const int kSystemErrorPathNotFound;
