#pragma once

#include <ctime>
#include <string>

#include "engine/schedule_entry.h"

class ScheduleEditorModel;
class ScheduleList;
class ScheduleStorage;

// What the schedule commands ask of the windows.
class ScheduleCommandsUi {
public:
    virtual ~ScheduleCommandsUi() = default;
    // Runs the editor over the seeded model; true, with the entry it built, on OK.
    virtual bool RunEditor(ScheduleEditorModel& editor, ScheduleEntry& result) = 0;
    // "Remove the selection schedule?"; true for Yes.
    virtual bool ConfirmRemove() = 0;
    virtual void RefreshList() = 0;
    // A failure the user must hear about (a change that could not be saved).
    virtual void ShowError(const std::string& message) = 0;
};

// Add, Remove and Change: ask the user, change the list, save it at once, refresh the view
// and adjust the autorun registration. A failed save keeps the change in memory (the next
// save writes it) and tells the user.
class ScheduleCommands {
public:
    ScheduleCommands(ScheduleList& list, ScheduleStorage& storage, ScheduleCommandsUi& ui)
        : list_(list), storage_(storage), ui_(ui) {}

    void Add(std::time_t now);
    void Remove(int position);
    void Change(int position, std::time_t now);

private:
    bool saveAndRefresh();
    void reportFailedSave();

    ScheduleList& list_;
    ScheduleStorage& storage_;
    ScheduleCommandsUi& ui_;
};

// The text that tells the user the file could not be written and why.
std::string SaveFailureMessage(const std::string& path, const std::string& reason);
