#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The file operations a safe save is made of, one call per step, so that a save can check
// each of them and tests can make any one of them fail.
class FileStore {
public:
    using Handle = std::intptr_t;
    static constexpr Handle kInvalid = -1;

    virtual ~FileStore() = default;

    // Creates the file, or truncates it, for writing. kInvalid on failure.
    virtual Handle Create(const std::string& path) = 0;
    // Writes all the bytes; false on any short or failed write.
    virtual bool Write(Handle file, const char* data, std::size_t size) = 0;
    // Puts the written bytes on the disk.
    virtual bool Flush(Handle file) = 0;
    // Closes the handle in every case; false when the close reported an error.
    virtual bool Close(Handle file) = 0;
    // Replaces `to` by `from` in one step (to may or may not exist).
    virtual bool Replace(const std::string& from, const std::string& to) = 0;
    virtual bool Remove(const std::string& path) = 0;
    // Creates one folder (its parent must exist); true when it exists afterwards.
    virtual bool CreateFolder(const std::string& path) = 0;
    virtual bool Exists(const std::string& path) = 0;
};

// Windows: CreateFileA, WriteFile, FlushFileBuffers, MoveFileExA with
// MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH. POSIX: open, write, fsync, rename.
FileStore& SystemFileStore();

// A file name beside `path` for the save in progress, unique to this process.
std::string TemporaryPathFor(const std::string& path);

// Owns an open handle of a FileStore; closes it when it goes unless it was closed.
class StoreFile {
public:
    StoreFile(FileStore& store, FileStore::Handle handle) : store_(store), handle_(handle) {}
    ~StoreFile() {
        if (IsOpen()) {
            store_.Close(handle_);
        }
    }
    StoreFile(const StoreFile&) = delete;
    StoreFile& operator=(const StoreFile&) = delete;

    bool IsOpen() const { return handle_ != FileStore::kInvalid; }
    bool Write(const char* data, std::size_t size) { return store_.Write(handle_, data, size); }
    bool Flush() { return store_.Flush(handle_); }
    bool Close() {
        FileStore::Handle h = handle_;
        handle_ = FileStore::kInvalid;
        return store_.Close(h);
    }

private:
    FileStore& store_;
    FileStore::Handle handle_;
};
