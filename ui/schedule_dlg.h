#pragma once

#include <windows.h>

#include "engine/schedule_entry.h"
#include "ui/models/schedule_editor_model.h"
#include "ui/type_pages.h"
#include "ui/window.h"

// The modal editor of one schedule: title, workspace file, parameters, the Enable switch
// and the type, with the type's page below. Its values live in the model the caller seeded;
// on OK it builds the result entry.
class CScheduleDlg : public Dialog {
public:
    explicit CScheduleDlg(ScheduleEditorModel& model);

    // Shows the page of type t (none outside the list), visible only when `shown`.
    void ShowTypePage(int type, bool shown);
    // The entry built by the last OK.
    const ScheduleEntry& Result() const { return result_; }
    // The page window of a type, for tests and for the editor itself.
    CTypePage& PageWindow(int index) { return *pages_[index]; }

protected:
    bool OnInitDialog() override;
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void readFields();
    void writeFields();
    void applyEnablingRules();
    void placePage(CTypePage& page);
    void onEnableClicked();
    void onBrowse();
    void onOk();

    ScheduleEditorModel& model_;
    COncePage once_;
    CHourlyPage hourly_;
    CDailyPage daily_;
    CWeeklyPage weekly_;
    CMonthlyPage monthly_;
    CYearlyPage yearly_;
    CTypePage* pages_[kPageCount];
    CTypePage* currentPage_ = nullptr;
    ScheduleEntry result_;
};
