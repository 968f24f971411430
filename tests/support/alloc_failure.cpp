#include "tests/support/alloc_failure.h"

#include <cstdlib>
#include <new>

namespace {
thread_local int t_remaining = -1;  // -1: not armed
}

AllocationFailure::AllocationFailure(int allowed) {
    t_remaining = allowed;
}

AllocationFailure::~AllocationFailure() {
    t_remaining = -1;
}

#if defined(SCHEDULER_SANITIZED)
bool AllocationFailure::Supported() {
    return false;
}
#else
bool AllocationFailure::Supported() {
    return true;
}

// The library's operator delete frees with free(), which matches the malloc below.
void* operator new(std::size_t size) {
    if (t_remaining == 0) {
        throw std::bad_alloc();
    }
    if (t_remaining > 0) {
        --t_remaining;
    }
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}
#endif
