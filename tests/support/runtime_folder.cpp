#include "tests/support/runtime_folder.h"

#include <cstdlib>

ScopedRuntimeFolder::ScopedRuntimeFolder() {
#if !defined(_WIN32)
    const char* old = std::getenv("XDG_RUNTIME_DIR");
    had_ = old != nullptr;
    old_ = had_ ? old : "";
    setenv("XDG_RUNTIME_DIR", dir_.Path().c_str(), 1);
#endif
}

ScopedRuntimeFolder::~ScopedRuntimeFolder() {
#if !defined(_WIN32)
    if (had_) {
        setenv("XDG_RUNTIME_DIR", old_.c_str(), 1);
    } else {
        unsetenv("XDG_RUNTIME_DIR");
    }
#endif
}
