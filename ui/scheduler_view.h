#pragma once

#include <windows.h>

#include <string>

#include "ui/command_target.h"
#include "ui/models/schedule_commands.h"
#include "ui/tray_icon.h"
#include "ui/unique_gdi.h"
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
    // The frame moved to a monitor of another scale: the form's font and the columns follow.
    void SetDpi(UINT dpi);
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
    LRESULT onListNotify(const NMHDR* header);
    // The row a title typed into the list names (LVN_ODFINDITEM), -1 for none.
    LRESULT findRow(const NMLVFINDITEMA& find) const;
    // What the list asks of a row as it draws it.
    void showRow(LVITEMA& item) const;
    void onTrayNotify(LPARAM mouseMessage);
    void createRowTips();
    // Hands the list's mouse and keys to onListInput.
    void watchList();
    // The list's mouse and keys, for the row tip.
    bool onListInput(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // The tip of a row the keyboard selected, beside that row; hidden again as the pointer's
    // tip hides: after the system's showing time, or when the pointer or the focus moves.
    void showKeyboardTip(int row);
    void hideKeyboardTip();
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
    // The row a key press selected, while the list handles that key; -2 outside a key press.
    int keyedRow_ = -2;
    bool keyboardTip_ = false;
    POINT keyedPointer_{};  // where the pointer was when the keyboard's tip showed
    std::string tipText_;
    UINT dpi_ = 96;
    UniqueFont font_;  // the form's font at a scale it was not made at
    UniqueIcon trayIcon_;
    TrayIcon tray_;
    UINT taskbarCreated_ = 0;
    ScheduleCommands commands_;
};

// The one view of the running program (nullptr when none exists).
CSchedulerView* TheSchedulerView();
