#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "settings/settings_schema.h"

class FileStore;

// A settings file driven by a section table: the writer walks the table over the caller's
// records, the reader parses a file back into them through the same table. The object
// borrows the table, which must outlive it.
class SettingsFile {
public:
    SettingsFile(const char* generatorName,
                 double formatVersion,
                 const SettingsSection* sections,
                 std::int32_t sectionCount);
    // Saves go through `store` (tests make its steps fail).
    SettingsFile(const char* generatorName,
                 double formatVersion,
                 const SettingsSection* sections,
                 std::int32_t sectionCount,
                 FileStore& store);

    // Writes the file at Path() safely: a temporary file beside it, every step checked, then
    // one replace. False, with the old file as it was, on any failure. `base` holds the
    // single-record sections (none: they are left out); `alert` raises the level of the
    // report of a file that cannot be created.
    bool Save(void* base, bool alert);
    bool SaveAs(void* base, const std::string& path, bool alert);
    // Reads the file at `path` into the records (multi-record sections are cleared first).
    // reportMode 0, 1 or 2 picks the level of the open and read failure reports.
    bool Load(void* base, const std::string& path, int reportMode);
    // Parses a text already in memory, with the same line-end rules as a file.
    bool LoadText(void* base, const char* data, std::size_t size);

    const std::string& Path() const { return path_; }
    // The system's words for why the last save failed, taken at the step that failed; empty
    // after a successful save.
    const std::string& LastError() const { return lastError_; }

    // The next successful save first keeps a copy of the file it replaces at `backupPath`.
    void KeepPreviousFileOnce(const std::string& backupPath) { backupPath_ = backupPath; }

    // The whole file as Save writes it, CR LF line ends included.
    std::string Render(void* base) const;

private:
    // Render into `bytes`, which keeps its capacity.
    void renderInto(void* base, std::string& bytes) const;
    bool parse(void* base, const std::string& text) const;
    bool writeSafely(const std::string& bytes, bool alert);
    void clearRecords() const;
    void noteFailedStep();

    std::string path_;
    const char* generatorName_;
    double formatVersion_;
    const SettingsSection* sections_;
    std::int32_t sectionCount_;
    FileStore& store_;
    std::string backupPath_;
    std::string lastError_;
    // The file image of the last save, kept for the next: a program saving after every change
    // for months would otherwise scatter its heap with images grown a doubling at a time.
    std::string image_;
};
