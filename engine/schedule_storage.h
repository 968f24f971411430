#pragma once

#include <string>

#include "settings/settings_file.h"
#include "settings/settings_schema.h"

class FileStore;
class ScheduleList;

// Keeps a schedule list in "Scheduler.cfg": loaded once at start-up from the data folder,
// else from the program folder; saved to the data folder after every accepted change.
// Folders end in the platform's separator.
class ScheduleStorage {
public:
    explicit ScheduleStorage(ScheduleList& list);
    // Saves go through `store` (tests make its steps fail).
    ScheduleStorage(ScheduleList& list, FileStore& store);
    ScheduleStorage(const ScheduleStorage&) = delete;
    ScheduleStorage& operator=(const ScheduleStorage&) = delete;

    void SetFolders(const std::string& dataFolder, const std::string& programFolder);
    const std::string& DataFolder() const;
    const std::string& ProgramFolder() const;

    // Start-up load: the data folder's file, else the program folder's. True when one of
    // them loaded.
    bool Load();
    // Writes the whole list to the data folder's file; true when it was written. Creates
    // the data folder when it is missing. The first save after the data folder's file failed
    // to load keeps that file beside the new one as "Scheduler.cfg.bad".
    bool Save();
    // The file Save writes; empty while there is no data folder.
    std::string SavePath() const;
    // The system's words for why the last Save failed, taken at the step that failed, for the
    // user to read; empty after a successful save.
    const std::string& LastError() const;

    static constexpr const char* kFileName = "Scheduler.cfg";
    static constexpr const char* kDamagedSuffix = ".bad";

private:
    ScheduleList& list_;
    FileStore& store_;
    SettingsSection section_;
    SettingsFile file_;
    std::string dataFolder_;
    std::string programFolder_;
    std::string lastError_;
    bool keepDamagedFile_ = false;  // the data folder's file exists but did not load
};

// The storage of the running program's list (TheScheduleList()).
ScheduleStorage& TheScheduleStorage();
