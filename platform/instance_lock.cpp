#include "platform/instance_lock.h"

#include <utility>

InstanceLock::~InstanceLock() {
    Release();
}

InstanceLock::InstanceLock(InstanceLock&& other) noexcept
    : state_(std::exchange(other.state_, State::Failed)),
      handle_(std::exchange(other.handle_, nullptr)),
      fd_(std::exchange(other.fd_, -1)) {}

InstanceLock& InstanceLock::operator=(InstanceLock&& other) noexcept {
    if (this != &other) {
        Release();
        state_ = std::exchange(other.state_, State::Failed);
        handle_ = std::exchange(other.handle_, nullptr);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}
