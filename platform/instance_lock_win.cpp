#include <windows.h>

#include "platform/instance_lock.h"

InstanceLock InstanceLock::Create(const std::string& name) {
    InstanceLock lock;
    HANDLE mutex = CreateMutexA(nullptr, TRUE, name.c_str());
    if (mutex == nullptr) {
        // An instance started with other rights holds it, and its security keeps us out.
        if (GetLastError() == ERROR_ACCESS_DENIED) {
            lock.state_ = State::AlreadyHeld;
        }
        return lock;
    }
    lock.handle_ = mutex;
    lock.state_ = GetLastError() == ERROR_ALREADY_EXISTS ? State::AlreadyHeld : State::Acquired;
    return lock;
}

void InstanceLock::Release() {
    if (handle_ != nullptr) {
        ReleaseMutex(static_cast<HANDLE>(handle_));
        CloseHandle(static_cast<HANDLE>(handle_));
        handle_ = nullptr;
    }
    state_ = State::Failed;
}
