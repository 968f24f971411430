#pragma once

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/app_state.h"
#include "engine/schedule_list.h"
#include "program/scheduler_app_win.h"
#include "tests/support/schedule.h"
#include "ui/main_frame.h"
#include "ui/message_loop.h"
#include "ui/popup_menu.h"
#include "ui/tray_icon.h"

// A popup menu as the user would see it: item texts, "-" for a separator.
inline std::vector<std::string> MenuTexts(HMENU menu) {
    std::vector<std::string> texts;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[256] = {};
        if ((GetMenuState(menu, i, MF_BYPOSITION) & MF_SEPARATOR) != 0) {
            texts.push_back("-");
        } else {
            GetMenuStringA(menu, i, text, sizeof(text), MF_BYPOSITION);
            texts.push_back(text);
        }
    }
    return texts;
}

// The real main window and view of the program, hidden, over the program's schedule list.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        TheScheduleList().Clear();
        SelectedScheduleIndex = 0;
        AutorunEnabled = 0;
        ASSERT_TRUE(app_.CreateMainWindow());
        frame_ = app_.MainFrame();
        view_ = &frame_->View();
        SetTrayNotifierForTesting([this](DWORD operation, NOTIFYICONDATAA* record) {
            trayCalls_.push_back({operation, *record});
            return TRUE;
        });
        SetPopupTrackerForTesting([this](HMENU menu, HWND owner, POINT) {
            popups_.push_back(MenuTexts(menu));
            popupOwner_ = owner;
        });
    }

    void TearDown() override {
        SetPopupTrackerForTesting(nullptr);
        app_.DestroyMainWindow();
        SetTrayNotifierForTesting(nullptr);
        frame_ = nullptr;
        view_ = nullptr;
        TheScheduleList().Clear();
        Pump();
    }

    // Handles what is waiting; false when the thread was told to quit.
    bool Pump() { return PumpMessages(frame_ != nullptr && frame_->Handle() ? frame_ : nullptr); }

    void LoadSchedules(const std::vector<std::pair<std::string, std::string>>& rows) {
        TheScheduleList().Clear();
        for (const auto& [title, file] : rows) {
            ASSERT_TRUE(TheScheduleList().Append(Named(title, file)));
        }
        view_->RefreshScheduleList();
    }

    HWND List() const { return view_->List(); }

    std::string CellText(int row, int column) const {
        char text[300] = {};
        LVITEMA item{};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = sizeof(text);
        SendMessageA(List(), LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
        return text;
    }

    std::vector<std::pair<std::string, std::string>> Rows() const {
        std::vector<std::pair<std::string, std::string>> rows;
        int count = static_cast<int>(SendMessageA(List(), LVM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            rows.emplace_back(CellText(i, 0), CellText(i, 1));
        }
        return rows;
    }

    // The row the list shows selected, -1 for none.
    int SelectedRow() const {
        return static_cast<int>(
            SendMessageA(List(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    }

    // A notification from the list control as a click or a change would send it.
    void NotifyFromList(UINT code, int item = -1) {
        NMLISTVIEW note{};
        note.hdr.hwndFrom = List();
        note.hdr.idFrom = 1000;
        note.hdr.code = code;
        note.iItem = item;
        SendMessageA(view_->Handle(), WM_NOTIFY, 1000, reinterpret_cast<LPARAM>(&note));
    }

    void SelectRowByClick(int row) {
        LVITEMA state{};
        state.state = LVIS_SELECTED | LVIS_FOCUSED;
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(List(), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
        SendMessageA(List(), LVM_SETSELECTIONMARK, 0, row);
        NotifyFromList(NM_CLICK);
    }

    void Command(int id, HWND to = nullptr) {
        SendMessageA(to != nullptr ? to : frame_->Handle(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
    }

    bool QuitPosted() {
        MSG msg{};
        return PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
    }

    CSchedulerApp app_;
    CMainFrame* frame_ = nullptr;
    CSchedulerView* view_ = nullptr;
    struct TrayCall {
        DWORD operation;
        NOTIFYICONDATAA record;
    };
    std::vector<TrayCall> trayCalls_;
    std::vector<std::vector<std::string>> popups_;
    HWND popupOwner_ = nullptr;
};
