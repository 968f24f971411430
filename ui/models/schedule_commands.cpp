#include "ui/models/schedule_commands.h"

#include "app/autorun.h"
#include "engine/schedule_list.h"
#include "engine/schedule_storage.h"
#include "ui/models/schedule_editor_model.h"

void ScheduleCommands::Add(std::time_t now) {
    ScheduleEditorModel editor;
    editor.SeedNew(now);
    ScheduleEntry result;
    if (!ui_.RunEditor(editor, result)) {
        return;
    }
    if (!list_.Append(result)) {
        ui_.ShowError("The schedule could not be added: there is not enough memory.");
        return;
    }
    bool saved = saveAndRefresh();
    if (!list_.IsEmpty()) {
        EnableAutorun();
    }
    if (!saved) {
        reportFailedSave();
    }
}

void ScheduleCommands::Remove(int position) {
    if (!ui_.ConfirmRemove()) {
        return;
    }
    list_.Remove(position);
    bool saved = saveAndRefresh();
    if (list_.IsEmpty()) {
        DisableAutorun();
    }
    if (!saved) {
        reportFailedSave();
    }
}

void ScheduleCommands::Change(int position, std::time_t now) {
    const ScheduleEntry* current = list_.EntryAt(position);
    if (current == nullptr) {
        return;
    }
    ScheduleEditorModel editor;
    editor.FillDefaults(now);
    editor.FillFromEntry(*current);
    ScheduleEntry result;
    if (!ui_.RunEditor(editor, result)) {
        return;
    }
    list_.Replace(position, result);
    bool saved = saveAndRefresh();
    if (!saved) {
        reportFailedSave();
    }
}

bool ScheduleCommands::saveAndRefresh() {
    bool saved = storage_.Save();
    ui_.RefreshList();
    return saved;
}

void ScheduleCommands::reportFailedSave() {
    ui_.ShowError(SaveFailureMessage(storage_.SavePath(), storage_.LastError()));
}

std::string SaveFailureMessage(const std::string& path, const std::string& reason) {
    return "The schedules could not be saved to the file\n" + path + "\n\n" +
           (reason.empty() ? std::string("The system gave no reason.") : reason) +
           "\n\nThe change stays in the list while the program runs and is written with the "
           "next change that can be saved.";
}
