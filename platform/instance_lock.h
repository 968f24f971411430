#pragma once

#include <string>

// A lock named across the processes of one logon, held until it is released or its owner
// goes. Windows: a named mutex (CreateMutexA, initial owner). POSIX: an advisory lock on a
// file of that name in $XDG_RUNTIME_DIR, else in the temporary folder.
class InstanceLock {
public:
    enum class State { Acquired, AlreadyHeld, Failed };

    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(InstanceLock&& other) noexcept;
    InstanceLock& operator=(InstanceLock&& other) noexcept;
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Creates or opens the lock of this name. AlreadyHeld when another owner had it first;
    // the object then still keeps what it opened (as the mutex handle is kept on Windows)
    // until Release.
    static InstanceLock Create(const std::string& name);

    State GetState() const { return state_; }
    // Gives the lock up and closes what was opened.
    void Release();

private:
    State state_ = State::Failed;
    void* handle_ = nullptr;  // Windows: the mutex handle
    int fd_ = -1;             // POSIX: the lock file
};
