#include "ui/models/schedule_commands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/autorun.h"
#include "app/product_variant.h"
#include "engine/schedule_list.h"
#include "engine/schedule_storage.h"
#include "tests/support/memory_autorun_store.h"
#include "tests/support/schedule.h"
#include "tests/support/temp_dir.h"
#include "ui/models/schedule_editor_model.h"

namespace {

// The windows' side: the user's answer to the editor and to the question, and what was shown.
struct AnsweringUi : ScheduleCommandsUi {
    bool yes = true;
    ScheduleEntry edited;
    std::string seededTitle;
    int seededYear = 0;
    int refreshes = 0;
    std::vector<std::string> errors;

    bool RunEditor(ScheduleEditorModel& editor, ScheduleEntry& result) override {
        seededTitle = editor.title;
        seededYear = editor.once.date.value.year;
        result = edited;
        return yes;
    }
    bool ConfirmRemove() override { return yes; }
    void RefreshList() override { ++refreshes; }
    void ShowError(const std::string& message) override { errors.push_back(message); }
};

// The logon entry kept in memory for the test's life.
struct AutorunInMemory {
    MemoryAutorunStore store;
    AutorunInMemory() { SetAutorunStore(&store); }
    ~AutorunInMemory() { SetAutorunStore(nullptr); }
};

}  // namespace

// Each command changes the list only on the user's yes, saves at once, keeps the logon entry
// in step with an empty or a non-empty list, and tells of a failed save, keeping the change.
TEST(ScheduleCommands, ChangeTheListOnlyOnYesSaveAndTellOfAFailedSave) {
    TempDir dir;
    AutorunInMemory autorun;
    SetActiveVariant(kProductVariants[0]);
    AutorunEnabled = 0;
    ScheduleList list;
    ScheduleStorage storage(list);
    storage.SetFolders(dir.Path(), dir.Path());
    AnsweringUi ui;
    ScheduleCommands commands(list, storage, ui);
    auto saved = [&] { return dir.Exists("Scheduler.cfg") ? dir.Read("Scheduler.cfg") : ""; };

    ui.yes = false;
    commands.Add(0);
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(ui.refreshes, 0);

    ui.yes = true;
    ui.edited = Named("first");
    commands.Add(LocalTime(2026, 7, 8, 9, 10, 11));
    EXPECT_EQ(ui.seededYear, 2026);  // a new schedule starts from now
    ui.edited = Named("second");
    commands.Change(0, 0);
    EXPECT_EQ(ui.seededTitle, "first");
    commands.Change(1, 0);  // no such row
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.EntryAt(0)->title, "second");
    EXPECT_NE(saved().find("\"second\""), std::string::npos);
    EXPECT_EQ(autorun.store.entries.size(), 1u);
    EXPECT_EQ(ui.refreshes, 2);

    dir.Write("file", "");
    storage.SetFolders(dir.File("file/"), dir.Path());
    ui.edited = Named("third");
    commands.Add(0);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(ui.errors, std::vector<std::string>{
                             SaveFailureMessage(storage.SavePath(), storage.LastError())});
    EXPECT_NE(storage.LastError(), "");

    storage.SetFolders(dir.Path(), dir.Path());
    ui.yes = false;
    commands.Remove(0);
    EXPECT_EQ(list.Count(), 2);
    ui.yes = true;
    commands.Remove(0);
    commands.Remove(0);
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(saved().find("[Schedule"), std::string::npos);
    EXPECT_TRUE(autorun.store.entries.empty());
    EXPECT_EQ(ui.errors.size(), 1u);
}
