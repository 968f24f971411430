#include "platform/process_end.h"

#include <windows.h>

#include <cstdlib>

void EndProcessNow(int code) {
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(code));
    // Only reached when the system refused to end us.
    std::_Exit(code);
}
