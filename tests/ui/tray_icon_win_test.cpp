#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/product_variant.h"
#include "resources/resource_ids.h"
#include "tests/ui/main_window_fixture.h"
#include "ui/tray_icon.h"

namespace {

using Menu = std::vector<std::string>;

TEST_F(MainWindowTest, TrayRecordNamesTheViewAndCutsTheTipAt63Characters) {
    struct Case {
        std::string title;
        std::string tip;
    };
    const std::string longTitle(80, 'x');
    const Case cases[] = {
        {"Dovrin Lens Scheduler", "Dovrin Lens Scheduler"},
        {std::string(63, 'a'), std::string(63, 'a')},
        {std::string(64, 'b'), std::string(63, 'b')},
        {longTitle, longTitle.substr(0, 63)},
    };
    for (const Case& c : cases) {
        view_->AddTrayIcon(c.title.c_str());
        const NOTIFYICONDATAA& record = view_->Tray().Record();
        EXPECT_EQ(record.szTip, c.tip);
        EXPECT_EQ(record.hWnd, view_->Handle());
        EXPECT_EQ(record.uID, 0u);
        EXPECT_EQ(record.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
        EXPECT_EQ(record.uCallbackMessage, static_cast<UINT>(WM_TRAY_NOTIFY));
        EXPECT_NE(record.hIcon, nullptr);
        // The short record the shell accepts, nothing written past its 64-byte tip.
        EXPECT_EQ(trayCalls_.back().record.cbSize, static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE));
        EXPECT_EQ(trayCalls_.back().record.szTip[63], '\0');
        view_->RemoveTrayIcon();
    }
}

TEST_F(MainWindowTest, TrayIconIsAddedAgainWhenTheShellRestarts) {
    // As a restarted shell tells it: to every top-level window.
    auto shellRestarts = [this] {
        PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
        Pump();
    };
    view_->AddTrayIcon("Dovrin Suite Scheduler");
    shellRestarts();
    ASSERT_EQ(trayCalls_.size(), 2u);
    EXPECT_EQ(trayCalls_[1].operation, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(trayCalls_[1].record.hWnd, view_->Handle());
    EXPECT_STREQ(trayCalls_[1].record.szTip, "Dovrin Suite Scheduler");

    // Once removed (Shutdown), a restarted shell must not bring the icon back.
    Command(ID_APP_SHUTDOWN, view_->Handle());
    ASSERT_EQ(trayCalls_.size(), 3u);
    EXPECT_EQ(trayCalls_[2].operation, static_cast<DWORD>(NIM_DELETE));
    shellRestarts();
    EXPECT_EQ(trayCalls_.size(), 3u);
    QuitPosted();
}

TEST(TrayOpenItemText, IsOpenAndTheTitleCutAt119Characters) {
    EXPECT_EQ(TrayOpenItemText("Dovrin Suite Scheduler"), "&Open Dovrin Suite Scheduler");
    std::string longTitle(200, 't');
    EXPECT_EQ(TrayOpenItemText(longTitle.c_str()), "&Open " + std::string(113, 't'));
}

TEST_F(MainWindowTest, TrayMouseMessagesShowTheWindowOrTheMenuOnlyOnTheirButton) {
    struct Case {
        UINT mouse;
        bool shows;
        bool menu;
    };
    const Case cases[] = {
        {WM_LBUTTONDBLCLK, true, false},  {WM_RBUTTONDOWN, false, true},
        {WM_LBUTTONDOWN, false, false},   {WM_LBUTTONUP, false, false},
        {WM_RBUTTONUP, false, false},     {WM_MOUSEMOVE, false, false},
        {WM_RBUTTONDBLCLK, false, false},
    };
    const Menu expected = {TrayOpenItemText(ActiveVariant().title), "-", "&Shut Down"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mouse);
        ShowWindow(frame_->Handle(), SW_HIDE);
        popups_.clear();
        SendMessageA(view_->Handle(), WM_TRAY_NOTIFY, 0, c.mouse);
        EXPECT_EQ(IsWindowVisible(frame_->Handle()) != FALSE, c.shows);
        if (c.menu) {
            ASSERT_EQ(popups_.size(), 1u);
            EXPECT_EQ(popups_[0], expected);
            EXPECT_EQ(popupOwner_, view_->Handle());
        } else {
            EXPECT_TRUE(popups_.empty());
        }
    }
}

TEST_F(MainWindowTest, TrayMenuOpenShowsTheHiddenWindow) {
    LoadSchedules({{"One", "a.dvs"}});
    ShowWindow(frame_->Handle(), SW_HIDE);
    // The popup's choice arrives at its owner, the view.
    Command(ID_TRAY_OPEN, view_->Handle());
    EXPECT_TRUE(IsWindowVisible(frame_->Handle()));
}

TEST_F(MainWindowTest, ContextMenuOffersEditRemoveAndRunOnlyWithASelection) {
    const Menu addOnly = {"&Add Schedule"};
    const Menu full = {"&Add Schedule", "&Edit Schedule", "Re&move Schedule", "-", "&Run Schedule"};
    using Rows = std::vector<std::pair<std::string, std::string>>;
    const Rows two = {{"One", "a.dvs"}, {"Two", "b.dvs"}};
    struct Case {
        const char* name;
        int select;  // -1: no row selected
        Rows rows;
        Menu menu;
    };
    const Case cases[] = {
        {"no selection", -1, two, addOnly},
        {"a row", 1, two, full},
        {"empty list", -1, {}, addOnly},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SelectedScheduleIndex = c.select;
        LoadSchedules(c.rows);
        popups_.clear();
        NotifyFromList(NM_RCLICK);
        EXPECT_EQ(SelectedScheduleIndex, c.select);
        ASSERT_EQ(popups_.size(), 1u);
        EXPECT_EQ(popups_[0], c.menu);
        EXPECT_EQ(popupOwner_, view_->Handle());
    }
}

}  // namespace
