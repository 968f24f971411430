#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>

#include "app/autorun.h"
#include "engine/launcher.h"
#include "engine/stop_flag.h"
#include "platform/clock.h"
#include "resources/resource_ids.h"
#include "tests/support/memory_autorun_store.h"
#include "tests/support/stub_log.h"
#include "tests/support/temp_dir.h"
#include "tests/ui/main_window_fixture.h"
#include "ui/color_toolbar.h"

namespace {

using Rows = std::vector<std::pair<std::string, std::string>>;

const Rows kThree = {{"Nightly import", "C:\\Work\\site.dvs"},
                     {"Weekly report", "C:\\Reports\\weekly.dvs"},
                     {"No file yet", ""}};

TEST_F(MainWindowTest, ShowsOneRowPerScheduleInListOrder) {
    LoadSchedules(kThree);
    EXPECT_EQ(Rows(), kThree);
    // Letters typed into the list: it asks for the next title they begin (LVN_ODFINDITEM).
    struct Find {
        const char* typed;
        int from;
        UINT flags;
        LRESULT row;
    } finds[] = {
        {"w", 0, LVFI_PARTIAL | LVFI_WRAP, 1},
        {"NIGHT", 1, LVFI_PARTIAL | LVFI_WRAP, 0},
        {"NIGHT", 1, LVFI_PARTIAL, -1},
        {"Weekly", 0, 0, -1},  // the whole title, not its start
    };
    for (const Find& f : finds) {
        NMLVFINDITEMA find{};
        find.hdr = {List(), 1000, static_cast<UINT>(LVN_ODFINDITEMA)};
        find.iStart = f.from;
        find.lvfi.flags = LVFI_STRING | f.flags;
        find.lvfi.psz = f.typed;
        EXPECT_EQ(SendMessageA(view_->Handle(), WM_NOTIFY, 1000, reinterpret_cast<LPARAM>(&find)),
                  f.row)
            << f.typed;
    }

    auto column = [&](int i) {
        char header[64] = {};
        LVCOLUMNA c{LVCF_TEXT | LVCF_WIDTH};
        c.pszText = header;
        c.cchTextMax = sizeof(header);
        bool got = SendMessageA(List(), LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&c));
        return got ? std::string(header) + "/" + std::to_string(c.cx) : "none";
    };
    EXPECT_EQ(column(0), "Title/170");
    EXPECT_EQ(column(1), "Workspace file/270");
    // Two refreshes must not add columns or keep old rows.
    view_->RefreshScheduleList();
    EXPECT_EQ(column(2), "none");
    EXPECT_EQ(Rows(), kThree);

    DWORD extended = static_cast<DWORD>(SendMessageA(List(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    EXPECT_EQ(extended & (LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES),
              static_cast<DWORD>(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES));
    LONG style = GetWindowLongA(List(), GWL_STYLE);
    EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
    EXPECT_TRUE(style & LVS_SINGLESEL);
    EXPECT_TRUE(style & LVS_NOSORTHEADER);

    LoadSchedules({});
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(SelectedRow(), -1);
    EXPECT_EQ(view_->SelectionMark(), -1);
}

// What the refresh selects after the list changed under a selection.
struct SelectionCase {
    const char* name;
    int selectedBefore;
    int removeAt;  // -1: nothing removed, one schedule appended instead
    int expectedRow;
};

TEST_F(MainWindowTest, RefreshRestoresTheSelectionTheIndexNames) {
    const SelectionCase cases[] = {
        {"removed row k selects its follower", 1, 1, 1}, {"removed first row", 0, 0, 0},
        {"removed last row selects nothing", 2, 2, -1},  {"no selection stays none", -1, 0, -1},
        {"append keeps the selected row", 1, -1, 1},
    };
    for (const SelectionCase& c : cases) {
        SCOPED_TRACE(c.name);
        SelectedScheduleIndex = c.selectedBefore;
        LoadSchedules(kThree);
        if (c.removeAt >= 0) {
            ASSERT_TRUE(TheScheduleList().Remove(c.removeAt));
        } else {
            ASSERT_TRUE(TheScheduleList().Append(Named("Added")));
        }
        view_->RefreshScheduleList();
        EXPECT_EQ(SelectedRow(), c.expectedRow);
        EXPECT_EQ(view_->SelectionMark(), c.expectedRow);
        // The index is passed on unchanged; its users range-check it.
        EXPECT_EQ(SelectedScheduleIndex, c.selectedBefore);
    }
}

TEST_F(MainWindowTest, ClicksAndItemChangesSetTheSelectedIndex) {
    LoadSchedules(kThree);
    SelectRowByClick(2);
    EXPECT_EQ(SelectedScheduleIndex, 2);
    NotifyFromList(LVN_ITEMCHANGED, 1);
    EXPECT_EQ(SelectedScheduleIndex, 1);
    NotifyFromList(LVN_ITEMCHANGED, 0);
    EXPECT_EQ(SelectedScheduleIndex, 0);
}

// Enabled and checked state of a command as the main menu shows it when it opens.
CommandState MenuState(HWND frame, int id) {
    HMENU bar = GetMenu(frame);
    for (int i = 0; i < GetMenuItemCount(bar); ++i) {
        HMENU popup = GetSubMenu(bar, i);
        SendMessageA(frame, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), i);
        UINT state = GetMenuState(popup, id, MF_BYCOMMAND);
        if (state != static_cast<UINT>(-1)) {
            return CommandState{(state & (MF_GRAYED | MF_DISABLED)) == 0,
                                (state & MF_CHECKED) != 0};
        }
    }
    ADD_FAILURE() << "no menu item " << id;
    return {};
}

TEST_F(MainWindowTest, CommandsThatNeedARowFollowTheSelectionMark) {
    struct Case {
        int id;
        bool withoutSelection;
        bool withSelection;
    };
    const Case cases[] = {
        {ID_SCHEDULE_ADD, true, true},     {ID_SCHEDULE_REMOVE, false, true},
        {ID_SCHEDULE_CHANGE, false, true}, {ID_SCHEDULE_RUN, false, true},
        {ID_APP_SHUTDOWN, true, true},     {ID_EXIT_APP, true, true},
        {ID_SHOW_HELP, true, true},        {ID_SHOW_ABOUT, true, true},
        {ID_AUTORUN, true, true},
    };
    SelectedScheduleIndex = -1;
    LoadSchedules(kThree);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(MenuState(frame_->Handle(), c.id).enabled, c.withoutSelection);
    }
    // The toolbar's buttons follow the same rule once the queue runs empty.
    auto buttons = [&] {
        Pump();
        std::string on;
        for (int id : {ID_SCHEDULE_ADD, ID_SCHEDULE_REMOVE, ID_SCHEDULE_CHANGE}) {
            on += SendMessageA(frame_->ToolBar().Handle(), TB_ISBUTTONENABLED, id, 0) ? "1" : "0";
        }
        return on;
    };
    EXPECT_EQ(buttons(), "100");

    SelectRowByClick(1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(MenuState(frame_->Handle(), c.id).enabled, c.withSelection);
    }
    EXPECT_EQ(buttons(), "111");

    // The window menu is the system's: opening it leaves Close (and the close box) enabled.
    HMENU system = GetSystemMenu(frame_->Handle(), FALSE);
    SendMessageA(frame_->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(system),
                 MAKELPARAM(0, TRUE));
    EXPECT_FALSE(GetMenuState(system, SC_CLOSE, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED));
}

TEST_F(MainWindowTest, StandardAcceleratorCommandsAreInert) {
    LoadSchedules(kThree);
    for (int id : {ID_STD_COPY, ID_STD_CUT, ID_STD_PASTE, ID_STD_UNDO, ID_STD_NEW, ID_STD_OPEN,
                   ID_STD_SAVE, ID_STD_NEXT_PANE, ID_STD_PREV_PANE}) {
        EXPECT_FALSE(frame_->RouteCommand(id)) << id;
        EXPECT_FALSE(frame_->QueryCommandState(id).enabled) << id;
    }
    EXPECT_EQ(Rows(), kThree);
}

TEST_F(MainWindowTest, AutorunItemIsCheckedExactlyWhileAutorunIsEnabled) {
    MemoryAutorunStore store;
    SetAutorunStore(&store);
    AutorunEnabled = 1;  // as a start with the server switch leaves it
    EXPECT_TRUE(MenuState(frame_->Handle(), ID_AUTORUN).checked);
    for (int expected : {0, 1}) {
        Command(ID_AUTORUN);
        EXPECT_EQ(AutorunEnabled, expected);
        EXPECT_EQ(MenuState(frame_->Handle(), ID_AUTORUN).checked, expected == 1);
        EXPECT_EQ(store.entries.size(), static_cast<size_t>(expected));
    }
    SetAutorunStore(nullptr);
}

TEST_F(MainWindowTest, ClosingWithSchedulesOnlyHides) {
    LoadSchedules(kThree);
    view_->AddTrayIcon("Dovrin Suite Scheduler");
    for (bool byMenu : {false, true}) {  // the close box, then File > Exit
        ShowWindow(frame_->Handle(), SW_SHOW);
        byMenu ? Command(ID_EXIT_APP) : (void)SendMessageA(frame_->Handle(), WM_CLOSE, 0, 0);
        ASSERT_TRUE(IsWindow(frame_->Handle()));
        EXPECT_FALSE(IsWindowVisible(frame_->Handle()));
        EXPECT_TRUE(view_->Tray().IsAdded());
        EXPECT_FALSE(QuitPosted());
        EXPECT_EQ(Rows(), kThree);
    }
}

TEST_F(MainWindowTest, ClosingWithNoSchedulesEndsTheProgram) {
    LoadSchedules({});
    view_->AddTrayIcon("Dovrin Suite Scheduler");
    const TrayIcon* tray = &view_->Tray();
    HWND frame = frame_->Handle();
    SendMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(frame));
    EXPECT_FALSE(tray->IsAdded());
    EXPECT_TRUE(StopRequested().IsSet());
    EXPECT_TRUE(QuitPosted());
}

TEST_F(MainWindowTest, ShutdownEndsTheProgramWhateverTheListHolds) {
    LoadSchedules(kThree);
    view_->AddTrayIcon("Dovrin Suite Scheduler");
    ShowWindow(frame_->Handle(), SW_SHOW);
    Command(ID_APP_SHUTDOWN);
    EXPECT_FALSE(view_->Tray().IsAdded());
    EXPECT_TRUE(StopRequested().IsSet());
    EXPECT_TRUE(QuitPosted());
}

TEST_F(MainWindowTest, ResizingKeepsTheListOnePixelShortOfTheView) {
    for (SIZE size : {SIZE{640, 480}, SIZE{300, 200}, SIZE{900, 700}}) {
        SetWindowPos(frame_->Handle(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
        RECT view{}, list{};
        GetClientRect(view_->Handle(), &view);
        GetWindowRect(List(), &list);
        MapWindowPoints(nullptr, view_->Handle(), reinterpret_cast<POINT*>(&list), 2);
        EXPECT_EQ(list.left, 0);
        EXPECT_EQ(list.top, 0);
        EXPECT_EQ(list.right, view.right - 1) << size.cx;
        EXPECT_EQ(list.bottom, view.bottom - 1) << size.cy;
    }
}

TEST_F(MainWindowTest, FirstDisplayShrinksTheFrameToTheForm) {
    RECT client{};
    GetClientRect(view_->Handle(), &client);
    SIZE form = view_->FormSize();
    // Shrunk to the form; the default size of an overlapped window is larger than it.
    EXPECT_EQ(client.right, form.cx);
    EXPECT_EQ(client.bottom, form.cy);
}

TEST_F(MainWindowTest, ToolbarHoldsTheButtonsInOrderWithThreeImageStrips) {
    CColorToolBar& bar = frame_->ToolBar();
    EXPECT_EQ(bar.ButtonIds(), (std::vector<int>{ID_SCHEDULE_ADD, ID_SCHEDULE_REMOVE,
                                                 ID_SCHEDULE_CHANGE, 0, ID_SHOW_ABOUT}));
    EXPECT_EQ(GetDlgCtrlID(bar.Handle()), ID_TOOLBAR_WINDOW);
    EXPECT_EQ(GetDlgCtrlID(frame_->StatusBar()), ID_STATUS_WINDOW);
    for (UINT get : {TB_GETIMAGELIST, TB_GETHOTIMAGELIST, TB_GETDISABLEDIMAGELIST}) {
        auto list = reinterpret_cast<HIMAGELIST>(SendMessageA(bar.Handle(), get, 0, 0));
        ASSERT_NE(list, nullptr) << get;
        int cx = 0, cy = 0;
        ImageList_GetIconSize(list, &cx, &cy);
        EXPECT_EQ(cx, 24);
        EXPECT_EQ(cy, 24);
        EXPECT_EQ(ImageList_GetImageCount(list), 4);
    }
    const unsigned char magentaBgr[3] = {255, 0, 255};
    const unsigned char blueBgr[3] = {200, 10, 20};
    EXPECT_EQ(StripTransparentColour(magentaBgr), RGB(255, 0, 255));
    EXPECT_EQ(StripTransparentColour(blueBgr), RGB(20, 10, 200));
}

TEST_F(MainWindowTest, StatusBarShowsPromptsAndTooltipsComeFromTheStringTable) {
    HWND frame = frame_->Handle();
    EXPECT_EQ(frame_->StatusText(0), "Ready");
    struct Case {
        int id;
        const char* prompt;
        const char* tooltip;
    };
    const Case cases[] = {
        {ID_SCHEDULE_ADD, "Add a new schedule", "Add schedule"},
        {ID_SCHEDULE_REMOVE, "Remove the selection schedule", "Remove schedule"},
        {ID_SCHEDULE_CHANGE, "Change the selection schedule", "Change schedule"},
        {ID_APP_SHUTDOWN, "Shutdown the application", "Shutdown"},
        {ID_SCHEDULE_RUN, "Run the selection schedule", "Run schedule"},
        {ID_SHOW_ABOUT, "Display program information, version number and copyright", "About"},
        {ID_EXIT_APP, "Quit the application", "Exit"},
        {ID_SHOW_HELP, "Help", "Help"},
    };
    HMENU file = GetSubMenu(GetMenu(frame), 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        SendMessageA(frame, WM_MENUSELECT, MAKEWPARAM(c.id, MF_STRING),
                     reinterpret_cast<LPARAM>(file));
        EXPECT_EQ(frame_->StatusText(0), c.prompt);
        NMTTDISPINFOA tip{};
        tip.hdr.code = TTN_GETDISPINFOA;
        tip.hdr.idFrom = static_cast<UINT_PTR>(c.id);
        SendMessageA(frame, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&tip));
        ASSERT_NE(tip.lpszText, nullptr);
        EXPECT_STREQ(tip.lpszText, c.tooltip);
    }
    SendMessageA(frame, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);  // the menu closed
    EXPECT_EQ(frame_->StatusText(0), "Ready");
}

TEST_F(MainWindowTest, HelpOpensTheViewerWithTheTopicBesideTheProgram) {
    struct Call {
        HWND owner;
        std::string program;
        std::string parameters;
    };
    std::vector<Call> calls;
    app_.SetShellOpenerForTesting([&](HWND owner, const char* program, const char* parameters) {
        calls.push_back({owner, program, parameters});
    });
    SetProgramPath("C:\\Program Files\\Dovrin Suite\\Scheduler.exe");
    Command(ID_SHOW_HELP);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].owner, view_->Handle());
    char windows[MAX_PATH] = {};
    GetSystemWindowsDirectoryA(windows, sizeof windows);
    EXPECT_EQ(calls[0].program, std::string(windows) + "\\hh.exe");
    EXPECT_EQ(calls[0].parameters,
              "C:\\Program Files\\Dovrin Suite\\dovsuite.chm::/Scheduler.html");
    // F1 reaches it through the accelerators of the message loop; a key without one does not.
    PostMessageA(List(), WM_KEYDOWN, VK_F1, 1);
    EXPECT_TRUE(Pump());
    EXPECT_EQ(calls.size(), 2u);
    PostMessageA(List(), WM_KEYDOWN, VK_F2, 1);
    EXPECT_TRUE(Pump());
    EXPECT_EQ(calls.size(), 2u);
}

TEST_F(MainWindowTest, RunScheduleStartsTheSelectedEntryAtOnceAndNothingWithoutOne) {
    TempDir folder;
    SetStubLog(folder.File("starts.log"));
    TheLauncher().SetTarget(LaunchTarget{"companion_stub.exe", "-process"});
    LoadSchedules({{"One", "C:\\Work\\one.dvs"}, {"Two", "C:\\Work\\two words.dvs"}});

    // Indexes that name no entry (none, past the end) start nothing: the index is not kept
    // in step with the list.
    for (int index : {-1, 2}) {
        SelectedScheduleIndex = index;
        Command(ID_SCHEDULE_RUN);
    }
    SelectRowByClick(1);
    Command(ID_SCHEDULE_RUN);
    std::vector<StubRecord> starts = WaitForStubLog(folder.File("starts.log"), 1, 10000);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].line, "companion_stub.exe -process \"C:\\Work\\two words.dvs\"");
    // Nothing more arrives for the indexes that named no entry.
    EXPECT_EQ(WaitForStubLog(folder.File("starts.log"), 2, 1000).size(), 1u);
}

TEST_F(MainWindowTest, AStripThatCannotBeLoadedStopsTheImagesAndKeepsTheRest) {
    CColorToolBar& bar = frame_->ToolBar();
    HWND handle = bar.Handle();
    auto disabled = [&] { return SendMessageA(handle, TB_GETDISABLEDIMAGELIST, 0, 0); };
    LRESULT disabledBefore = disabled();
    const int kNoSuchBitmap = 999;
    EXPECT_FALSE(bar.SetToolBarImages(24, IDR_MAINFRAME, kNoSuchBitmap, IDB_TOOLBAR_DISABLED));
    EXPECT_EQ(disabled(), disabledBefore);
    EXPECT_NE(SendMessageA(handle, TB_GETIMAGELIST, 0, 0), 0);
    EXPECT_NE(SendMessageA(handle, TB_GETHOTIMAGELIST, 0, 0), 0);
    // Ids of 0 skip the hot and disabled strips.
    EXPECT_TRUE(bar.SetToolBarImages(24, IDR_MAINFRAME, 0, 0));
    EXPECT_EQ(disabled(), disabledBefore);
}

TEST_F(MainWindowTest, DestroyingTheMainWindowStopsThePollingAndRemovesTheIcon) {
    LoadSchedules(kThree);
    view_->AddTrayIcon("Dovrin Suite Scheduler");
    trayCalls_.clear();
    app_.DestroyMainWindow();
    frame_ = nullptr;
    view_ = nullptr;
    EXPECT_TRUE(StopRequested().IsSet());
    ASSERT_EQ(trayCalls_.size(), 1u);
    EXPECT_EQ(trayCalls_[0].operation, static_cast<DWORD>(NIM_DELETE));
    QuitPosted();
}

}  // namespace

namespace {
// The text of the list's tip once the pointer has rested on the row, "" when none shows.
std::string HoveredTip(HWND list, HWND tips, int row, const std::function<bool()>& pump) {
    RECT cell{LVIR_LABEL};
    SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&cell));
    const POINT inList{cell.left + 20, (cell.top + cell.bottom) / 2};
    POINT at = inList;
    ClientToScreen(list, &at);
    // The pointer comes to rest there once: every move would start the tip's wait anew.
    SetCursorPos(at.x, at.y);
    PostMessageA(list, WM_MOUSEMOVE, 0, MAKELPARAM(inList.x, inList.y));
    for (int tries = 0; tries < 60; ++tries) {
        pump();
        Sleep(50);
        if (IsWindowVisible(tips)) {
            char text[600] = "";
            GetWindowTextA(tips, text, sizeof(text));
            return text;
        }
    }
    return "";
}
}  // namespace

TEST_F(MainWindowTest, RowTipShowsTheNextAndTheLastStart) {
    TheScheduleList().Clear();
    ScheduleEntry daily = Named("Nightly", "C:\\n.dvs");
    daily.type = Daily;
    daily.hour = 2;
    daily.days_week = kEveryDay;
    ScheduleEntry off = Named("Off", "C:\\o.dvs");
    off.enable = 0;
    ASSERT_TRUE(TheScheduleList().Append(daily));
    ASSERT_TRUE(TheScheduleList().Append(off));
    // Run by hand with no product to start: the start fails.
    const LaunchTarget saved = TheLauncher().Target();
    TheLauncher().SetTarget({"no such product.exe", "-x"});
    LaunchSchedule(1);
    view_->RefreshScheduleList();
    ShowWindow(frame_->Handle(), SW_SHOW);
    SetForegroundWindow(frame_->Handle());

    std::string first = HoveredTip(List(), view_->RowTips(), 0, [this] { return Pump(); });
    EXPECT_EQ(first.rfind("Next start: ", 0), 0u) << first;
    EXPECT_NE(first.find(" 2:00:00"), std::string::npos) << first;
    EXPECT_NE(first.find("\nLast start: none since the program started"), std::string::npos);
    SetCursorPos(0, 0);
    Pump();
    std::string second = HoveredTip(List(), view_->RowTips(), 1, [this] { return Pump(); });
    EXPECT_EQ(second.rfind("No next start: switched off\nLast start: ", 0), 0u) << second;
    EXPECT_NE(second.find(" by hand, failed: "), std::string::npos) << second;

    // By keyboard: the selection moves to the last row and its tip shows just below it.
    SetFocus(List());
    SendMessageA(List(), WM_KEYDOWN, VK_HOME, 0);
    SendMessageA(List(), WM_KEYDOWN, VK_END, 0);
    RECT cell{LVIR_LABEL}, tip{};
    SendMessageA(List(), LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&cell));
    MapWindowPoints(List(), nullptr, reinterpret_cast<POINT*>(&cell), 2);
    GetWindowRect(view_->RowTips(), &tip);
    char text[600] = "";
    GetWindowTextA(view_->RowTips(), text, sizeof(text));
    EXPECT_TRUE(IsWindowVisible(view_->RowTips()));
    EXPECT_EQ(std::string(text).rfind("No next start: ", 0), 0u) << text;
    EXPECT_TRUE(tip.top >= cell.bottom && tip.top <= cell.bottom + 8 && tip.left > cell.left)
        << tip.left << "," << tip.top << " against the row's " << cell.left << "," << cell.bottom;
    SetFocus(nullptr);
    EXPECT_FALSE(IsWindowVisible(view_->RowTips()));
    TheLauncher().SetTarget(saved);
}
