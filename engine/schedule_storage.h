#pragma once

#include <string>

class ScheduleList;

// Keeps a schedule list in "Scheduler.cfg": loaded once at start-up from the data folder,
// else from the program folder; saved to the data folder after every accepted change.
// Folders end in the platform's separator.
class ScheduleStorage {
public:
    explicit ScheduleStorage(ScheduleList& list);

    void SetFolders(const std::string& dataFolder, const std::string& programFolder);
    const std::string& DataFolder() const;
    const std::string& ProgramFolder() const;

    // Start-up load: the data folder's file, else the program folder's. True when one of
    // them loaded.
    bool Load();
    // Writes the whole list to the data folder's file; true when it was written.
    bool Save();

private:
    ScheduleList& list_;
    std::string dataFolder_;
    std::string programFolder_;
    bool keepDamagedFile_ = false;  // the data folder's file exists but did not load
};

// The storage of the running program's list (TheScheduleList()).
ScheduleStorage& TheScheduleStorage();
