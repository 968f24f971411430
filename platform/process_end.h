#pragma once

// Ends this process at once with the exit code: no static destructors, no flush of C
// streams, other threads stopped wherever they are. For a shut-down that cannot wait for a
// thread stuck in a system call. Windows: TerminateProcess on the current process (not
// ExitProcess, which would first run the libraries' detach code beside the stuck thread).
// POSIX: _exit.
[[noreturn]] void EndProcessNow(int code);
