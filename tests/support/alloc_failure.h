#pragma once

// Makes the global operator new of this test program fail (throw std::bad_alloc) on the
// allocations after the first `allowed` ones made by this thread while the object lives.
class AllocationFailure {
public:
    explicit AllocationFailure(int allowed);
    ~AllocationFailure();
    AllocationFailure(const AllocationFailure&) = delete;
    AllocationFailure& operator=(const AllocationFailure&) = delete;

    // False in sanitizer builds, whose runtimes own operator new.
    static bool Supported();
};
