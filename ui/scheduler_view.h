#pragma once

#include <windows.h>

#include <string>

#include "ui/command_target.h"
#include "ui/models/schedule_commands.h"
#include "ui/tray_icon.h"
#include "ui/window.h"

class CSchedulerDoc;
class FrameWindow;

// The main window's content: a form holding the report list of schedules (title and
// workspace file, one row per schedule in list order). It keeps SelectedScheduleIndex,
// offers the context menu, runs the schedule commands and owns the tray icon, whose
// callback it receives.
class CSchedulerView : public Dialog, public CommandTarget, private ScheduleCommandsUi {
public:
    CSchedulerView(CSchedulerDoc& document, FrameWindow& frame);
    ~CSchedulerView() override;

    bool Create();
    // Refills the rows from the list and selects the row SelectedScheduleIndex names.
    void RefreshScheduleList();
    // The list's selection mark, -1 for none.
    int SelectionMark() const;
    HWND List() const { return list_; }
    // The tip of a row: its next start and its last since the program started.
    std::string RowTipText(int row) const;
    // The row tip window, made on first need: a start does without it.
    HWND RowTips();
    // The form's size in pixels, as its template gives it.
    SIZE FormSize() const { return formSize_; }

    void AddTrayIcon(const char* tip);
    void RemoveTrayIcon() { tray_.Remove(); }
    const TrayIcon& Tray() const { return tray_; }

    bool OnCommand(int id) override;
    bool QueryCommand(int id, CommandState& state) override;

protected:
    bool OnInitDialog() override;
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void onListNotify(const NMHDR* header);
    void onTrayNotify(LPARAM mouseMessage);
    void createRowTips();
    // Hands the list's mouse to onListMouse, or lets it go.
    void watchList(bool watch);
    // The list's mouse, for the row tip.
    void onListMouse(UINT message, WPARAM wParam, LPARAM lParam);
    void showScheduleContextMenu();
    void showTrayMenu();
    void showMainWindow();
    void shutdown();

    // How the schedule commands reach the user.
    bool RunEditor(ScheduleEditorModel& editor, ScheduleEntry& result) override;
    bool ConfirmRemove() override;
    void RefreshList() override { RefreshScheduleList(); }
    void ShowError(const std::string& message) override;

    CSchedulerDoc& document_;
    FrameWindow& frame_;
    HWND list_ = nullptr;
    SIZE formSize_{};
    bool columnsInserted_ = false;
    HWND tips_ = nullptr;
    ControlHook listHook_;
    int tipRow_ = -1;
    std::string tipText_;
    TrayIcon tray_;
    UINT taskbarCreated_ = 0;
    ScheduleCommands commands_;
};

// The one view of the running program (nullptr when none exists).
CSchedulerView* TheSchedulerView();
