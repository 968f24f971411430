#include "platform/file_store.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace {

// Makes a rename durable: the folder's entry must reach the disk as well as the data.
void syncFolderOf(const std::string& path) {
    size_t cut = path.find_last_of('/');
    std::string folder = cut == std::string::npos ? "." : path.substr(0, cut + 1);
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

std::string folderOf(const std::string& path) {
    size_t cut = path.find_last_of('/');
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            if (n == 0) {
                errno = EIO;
            }
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// For a file system without hard links: a full copy with the same access rights.
bool copyFile(const std::string& from, const std::string& to) {
    int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (in < 0) {
        return false;
    }
    struct stat st;
    int out = -1;
    bool copied = ::fstat(in, &st) == 0 && S_ISREG(st.st_mode) &&
                  (out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC,
                                st.st_mode & 07777)) >= 0 &&
                  ::fchmod(out, st.st_mode & 07777) == 0;  // whatever the umask took away
    char buffer[65536];
    while (copied) {
        ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            copied = n == 0 && ::fsync(out) == 0;
            break;
        }
        copied = writeAll(out, buffer, static_cast<std::size_t>(n));
    }
    int error = errno;
    if (out >= 0 && ::close(out) != 0 && copied) {
        copied = false;
        error = errno;
    }
    ::close(in);
    errno = error;
    return copied;
}

bool processIsGone(long pid) {
    return pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

class PosixFileStore final : public FileStore {
public:
    std::string FinalPath(const std::string& path) override {
        std::string current = path;
        for (int hops = 0; hops < 40; ++hops) {  // the system's own limit on a chain of links
            struct stat st;
            if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
                // A link to a device or a FIFO (/dev/zero) is replaced, never written through.
                return ::stat(current.c_str(), &st) == 0 && !S_ISREG(st.st_mode) ? path : current;
            }
            char target[4096];
            ssize_t n = ::readlink(current.c_str(), target, sizeof target - 1);
            if (n <= 0) {
                return current;
            }
            std::string next(target, static_cast<std::size_t>(n));
            current = next[0] == '/' ? next : folderOf(current) + next;
        }
        return path;  // a loop of links: the save fails at its replace, as it would anyway
    }

    Handle Create(const std::string& path) override {
        // Made anew, never through a file or a link planted at the name; the user's alone
        // until KeepAccess gives it the rights of the file it replaces.
        ::unlink(path.c_str());
        int fd;
        do {
            fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        } while (fd < 0 && errno == EINTR);
        return fd < 0 ? kInvalid : fd;
    }

    Handle OpenToAppend(const std::string& path) override {
        // Not blocked by a FIFO put in the file's place.
        const int flags = O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | O_NONBLOCK;
        int fd;
        do {
            fd = ::open(path.c_str(), flags, 0600);
        } while (fd < 0 && errno == EINTR);
        return fd < 0 ? kInvalid : fd;
    }

    std::int64_t Size(Handle file) override {
        struct stat st;
        return ::fstat(static_cast<int>(file), &st) == 0 ? st.st_size : -1;
    }

    bool KeepAccess(Handle file, const std::string& replaced) override {
        struct stat st;
        if (::stat(replaced.c_str(), &st) != 0) {
            return errno == ENOENT;
        }
        int fd = static_cast<int>(file);
        // Only a privileged process can give the file back to its owner; others own it anyway.
        if (st.st_uid != ::geteuid() || st.st_gid != ::getegid()) {
            (void)::fchown(fd, st.st_uid, st.st_gid);
        }
        return ::fchmod(fd, st.st_mode & 07777) == 0;
    }

    bool Write(Handle file, const char* data, std::size_t size) override {
        return writeAll(static_cast<int>(file), data, size);
    }

    bool Flush(Handle file) override { return ::fsync(static_cast<int>(file)) == 0; }

    bool Close(Handle file) override { return ::close(static_cast<int>(file)) == 0; }

    bool Replace(const std::string& from, const std::string& to) override {
        if (::rename(from.c_str(), to.c_str()) != 0) {
            return false;
        }
        syncFolderOf(to);
        return true;
    }

    bool KeepCopy(const std::string& path, const std::string& copy) override {
        std::string temporary = TemporaryPathFor(copy);
        ::unlink(temporary.c_str());
        if (::link(path.c_str(), temporary.c_str()) != 0 && !copyFile(path, temporary)) {
            int error = errno;
            ::unlink(temporary.c_str());
            errno = error;
            return false;
        }
        return Replace(temporary, copy) || (Remove(temporary), false);
    }

    void RemoveLeftovers(const std::string& path) override {
        std::string folder = folderOf(path);
        std::string prefix = path.substr(folder.size()) + ".";
        std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.empty() ? "." : folder.c_str()),
                                                ::closedir);
        if (!dir) {
            return;
        }
        const std::string suffix = ".tmp";
        while (const dirent* item = ::readdir(dir.get())) {
            std::string name = item->d_name;
            if (name.size() <= prefix.size() + suffix.size() ||
                name.compare(0, prefix.size(), prefix) != 0 ||
                name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) {
                continue;
            }
            std::string pid =
                name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
            if (pid.size() <= 9 && pid.find_first_not_of("0123456789") == std::string::npos &&
                processIsGone(std::strtol(pid.c_str(), nullptr, 10))) {
                ::unlink((folder + name).c_str());
            }
        }
    }

    bool Remove(const std::string& path) override { return ::unlink(path.c_str()) == 0; }

    bool CreateFolder(const std::string& path) override {
        if (::mkdir(path.c_str(), 0777) == 0) {
            return true;
        }
        struct stat st;
        return errno == EEXIST && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    }

    bool Exists(const std::string& path) override {
        struct stat st;
        return ::stat(path.c_str(), &st) == 0;
    }
};

}  // namespace

const char kTextLineEnd[] = "\n";

FileStore& SystemFileStore() {
    static PosixFileStore store;
    return store;
}

std::string TemporaryPathFor(const std::string& path) {
    return path + "." + std::to_string(static_cast<long>(::getpid())) + ".tmp";
}
