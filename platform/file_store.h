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

    // The file a save of `path` writes: the end of a chain of symbolic links, so that the
    // link stays and its target gets the new bytes; `path` itself when it is no link or the
    // links end at something other than a regular file.
    virtual std::string FinalPath(const std::string& path) = 0;
    // Creates the file anew for writing, replacing what is at the name without writing
    // through it; readable by its owner only where the system has such rights. kInvalid on
    // failure.
    virtual Handle Create(const std::string& path) = 0;
    // Opens the file for appending, creating it when missing; every write lands at its end,
    // whoever else appends to it meanwhile. kInvalid on failure.
    virtual Handle OpenToAppend(const std::string& path) = 0;
    // The open file's size in bytes; -1 when the system cannot tell it.
    virtual std::int64_t Size(Handle file) = 0;
    // Gives the open file the access rights of `replaced` when that file exists, so that a
    // save never widens them.
    virtual bool KeepAccess(Handle file, const std::string& replaced) = 0;
    // Writes all the bytes; false on any short or failed write.
    virtual bool Write(Handle file, const char* data, std::size_t size) = 0;
    // Puts the written bytes on the disk.
    virtual bool Flush(Handle file) = 0;
    // Closes the handle in every case; false when the close reported an error.
    virtual bool Close(Handle file) = 0;
    // Replaces `to` by `from` in one step (to may or may not exist).
    virtual bool Replace(const std::string& from, const std::string& to) = 0;
    // Makes `copy` hold what `path` holds (a hard link where the file system allows it, else
    // a copy) and replaces an earlier `copy` in one step; `path` is never touched.
    virtual bool KeepCopy(const std::string& path, const std::string& copy) = 0;
    // Removes the temporary files that earlier saves of `path` left when their process was
    // killed (TemporaryPathFor with a process that no longer runs).
    virtual void RemoveLeftovers(const std::string& path) = 0;
    virtual bool Remove(const std::string& path) = 0;
    // Creates one folder (its parent must exist); true when it exists afterwards.
    virtual bool CreateFolder(const std::string& path) = 0;
    virtual bool Exists(const std::string& path) = 0;
};

// Windows: CreateFileA (FILE_APPEND_DATA to append), WriteFile, FlushFileBuffers, ReplaceFileA
// (which keeps the replaced file's attributes and security) or MoveFileExA with
// MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH, CreateHardLinkA. POSIX: open, write, fsync,
// fchmod, rename, link.
FileStore& SystemFileStore();

// How the system's own text files end a line: CR LF on Windows (older Notepads show an
// LF-only file as one line), LF elsewhere.
extern const char kTextLineEnd[];

// The system's store, step for step; a derived store changes the steps it needs to (a test
// makes one fail, a benchmark leaves out the flush).
class PassThroughStore : public FileStore {
public:
    Handle Create(const std::string& p) override { return SystemFileStore().Create(p); }
    Handle OpenToAppend(const std::string& p) override { return SystemFileStore().OpenToAppend(p); }
    std::int64_t Size(Handle f) override { return SystemFileStore().Size(f); }
    bool Write(Handle f, const char* d, std::size_t n) override {
        return SystemFileStore().Write(f, d, n);
    }
    bool Flush(Handle f) override { return SystemFileStore().Flush(f); }
    bool Close(Handle f) override { return SystemFileStore().Close(f); }
    bool Replace(const std::string& a, const std::string& b) override {
        return SystemFileStore().Replace(a, b);
    }
    bool Remove(const std::string& p) override { return SystemFileStore().Remove(p); }
    std::string FinalPath(const std::string& p) override { return SystemFileStore().FinalPath(p); }
    bool KeepAccess(Handle f, const std::string& p) override {
        return SystemFileStore().KeepAccess(f, p);
    }
    bool KeepCopy(const std::string& p, const std::string& c) override {
        return SystemFileStore().KeepCopy(p, c);
    }
    void RemoveLeftovers(const std::string& p) override { SystemFileStore().RemoveLeftovers(p); }
    bool CreateFolder(const std::string& p) override { return SystemFileStore().CreateFolder(p); }
    bool Exists(const std::string& p) override { return SystemFileStore().Exists(p); }
};

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
    bool KeepAccess(const std::string& replaced) { return store_.KeepAccess(handle_, replaced); }
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
