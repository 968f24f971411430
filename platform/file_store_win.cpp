#include "platform/file_store.h"

#include <windows.h>

#include <string>

namespace {

HANDLE toHandle(FileStore::Handle h) {
    return reinterpret_cast<HANDLE>(h);
}

class WinFileStore final : public FileStore {
public:
    Handle Create(const std::string& path) override {
        HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        return h == INVALID_HANDLE_VALUE ? kInvalid : reinterpret_cast<Handle>(h);
    }

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
        return MoveFileExA(from.c_str(), to.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
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

FileStore& SystemFileStore() {
    static WinFileStore store;
    return store;
}

std::string TemporaryPathFor(const std::string& path) {
    return path + "." + std::to_string(GetCurrentProcessId()) + ".tmp";
}
