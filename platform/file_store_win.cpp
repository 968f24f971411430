#include "platform/file_store.h"

#include <windows.h>

#include <string>

namespace {

HANDLE toHandle(FileStore::Handle h) {
    return reinterpret_cast<HANDLE>(h);
}

bool processIsGone(DWORD pid) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (process == nullptr) {
        return GetLastError() == ERROR_INVALID_PARAMETER;  // no such process
    }
    DWORD code = 0;
    bool gone = GetExitCodeProcess(process, &code) && code != STILL_ACTIVE;
    CloseHandle(process);
    return gone;
}

std::string folderOf(const std::string& path) {
    size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

class WinFileStore final : public FileStore {
public:
    // A link on Windows needs rights a user rarely has; the name is written as it stands.
    std::string FinalPath(const std::string& path) override { return path; }

    Handle Create(const std::string& path) override {
        HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        return h == INVALID_HANDLE_VALUE ? kInvalid : reinterpret_cast<Handle>(h);
    }

    Handle OpenToAppend(const std::string& path) override {
        // Shared for deleting too, so another appender can still turn the file over.
        HANDLE h = CreateFileA(path.c_str(), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        return h == INVALID_HANDLE_VALUE ? kInvalid : reinterpret_cast<Handle>(h);
    }

    std::int64_t Size(Handle file) override {
        LARGE_INTEGER size;
        return GetFileSizeEx(toHandle(file), &size) ? size.QuadPart : -1;
    }

    // ReplaceFileA keeps the replaced file's attributes and security.
    bool KeepAccess(Handle, const std::string&) override { return true; }

    bool Write(Handle file, const char* data, std::size_t size) override {
        while (size > 0) {
            DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
            DWORD written = 0;
            if (!WriteFile(toHandle(file), data, chunk, &written, nullptr) || written == 0) {
                return false;
            }
            data += written;
            size -= written;
        }
        return true;
    }

    bool Flush(Handle file) override { return FlushFileBuffers(toHandle(file)) != 0; }

    bool Close(Handle file) override { return CloseHandle(toHandle(file)) != 0; }

    bool Replace(const std::string& from, const std::string& to) override {
        if (GetFileAttributesA(to.c_str()) != INVALID_FILE_ATTRIBUTES &&
            ReplaceFileA(to.c_str(), from.c_str(), nullptr,
                         REPLACEFILE_WRITE_THROUGH | REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                         nullptr)) {
            return true;
        }
        // A new file, or a volume that cannot replace: the replaced file is still whole.
        return MoveFileExA(from.c_str(), to.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    }

    bool KeepCopy(const std::string& path, const std::string& copy) override {
        std::string temporary = TemporaryPathFor(copy);
        DeleteFileA(temporary.c_str());
        if (!CreateHardLinkA(temporary.c_str(), path.c_str(), nullptr) &&
            !CopyFileA(path.c_str(), temporary.c_str(), FALSE)) {
            return false;
        }
        if (MoveFileExA(temporary.c_str(), copy.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return true;
        }
        DWORD error = GetLastError();
        DeleteFileA(temporary.c_str());
        SetLastError(error);
        return false;
    }

    void RemoveLeftovers(const std::string& path) override {
        std::string folder = folderOf(path);
        std::string prefix = path.substr(folder.size()) + ".";
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((path + ".*.tmp").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) {
            return;
        }
        do {
            std::string name = found.cFileName;
            if (name.size() <= prefix.size() + 4 || name.compare(0, prefix.size(), prefix) != 0 ||
                name.compare(name.size() - 4, 4, ".tmp") != 0) {
                continue;
            }
            std::string pid = name.substr(prefix.size(), name.size() - prefix.size() - 4);
            if (pid.size() <= 9 && pid.find_first_not_of("0123456789") == std::string::npos &&
                processIsGone(static_cast<DWORD>(std::stoul(pid)))) {
                DeleteFileA((folder + name).c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }

    bool Remove(const std::string& path) override { return DeleteFileA(path.c_str()) != 0; }

    bool CreateFolder(const std::string& path) override {
        if (CreateDirectoryA(path.c_str(), nullptr)) {
            return true;
        }
        DWORD attributes = GetFileAttributesA(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    }

    bool Exists(const std::string& path) override {
        return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    }
};

}  // namespace

const char kTextLineEnd[] = "\r\n";

FileStore& SystemFileStore() {
    static WinFileStore store;
    return store;
}

std::string TemporaryPathFor(const std::string& path) {
    return path + "." + std::to_string(GetCurrentProcessId()) + ".tmp";
}
