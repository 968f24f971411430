#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/instance_lock.h"

namespace {
// The user's runtime folder; else the temporary folder, which all users share, so the file
// name there carries the user id (another user's lock file would refuse this one).
std::string LockPath(const std::string& fileName) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/') {
        return std::string(runtime) + "/" + fileName;
    }
    const char* tmp = std::getenv("TMPDIR");
    std::string folder = tmp != nullptr && tmp[0] == '/' ? tmp : "/tmp";
    return folder + "/" + fileName + "." + std::to_string(getuid());
}
}  // namespace

InstanceLock InstanceLock::Create(const std::string& name) {
    InstanceLock lock;
    // A slash in the name would point into another folder.
    std::string fileName = name;
    for (char& c : fileName) {
        if (c == '/') {
            c = '_';
        }
    }
    int fd = open(LockPath(fileName).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        return lock;
    }
    lock.fd_ = fd;
    // flock belongs to the open file, so even a second open in this process is refused.
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
        lock.state_ = State::Acquired;
    } else {
        lock.state_ = errno == EWOULDBLOCK ? State::AlreadyHeld : State::Failed;
    }
    return lock;
}

void InstanceLock::Release() {
    if (fd_ >= 0) {
        // Closing drops the lock; the file stays so that no one races on its removal.
        close(fd_);
        fd_ = -1;
    }
    state_ = State::Failed;
}
