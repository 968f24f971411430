#include "platform/file_store.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

class PosixFileStore final : public FileStore {
public:
    Handle Create(const std::string& path) override {
        int fd;
        do {
            fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        } while (fd < 0 && errno == EINTR);
        return fd < 0 ? kInvalid : fd;
    }

    bool Write(Handle file, const char* data, std::size_t size) override {
        while (size > 0) {
            ssize_t n = ::write(static_cast<int>(file), data, size);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                return false;
            }
            data += n;
            size -= static_cast<std::size_t>(n);
        }
        return true;
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

FileStore& SystemFileStore() {
    static PosixFileStore store;
    return store;
}

std::string TemporaryPathFor(const std::string& path) {
    return path + "." + std::to_string(static_cast<long>(::getpid())) + ".tmp";
}
