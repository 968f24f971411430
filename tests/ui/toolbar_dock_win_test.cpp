#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "resources/resource_ids.h"
#include "tests/ui/dialog_script.h"
#include "tests/ui/main_window_fixture.h"

namespace {

// The main window shown, its toolbar moved by the mouse messages a user's drag sends.
class ToolbarDockTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        SetWindowPos(frame_->Handle(), nullptr, 40, 40, 640, 480, SWP_NOZORDER | SWP_SHOWWINDOW);
    }

    HWND Bar() { return frame_->DockBar().Handle(); }
    HWND Tool() { return frame_->ToolBar().Handle(); }

    static void Mouse(HWND window, UINT message, WPARAM keys, POINT screen) {
        ScreenToClient(window, &screen);
        SendMessageA(window, message, keys,
                     MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y)));
    }
    // Drags by the gripper (the bar's top-left corner) to a point of the frame's client area;
    // Esc before the drop calls the drag off, wherever the focus is.
    // `from` and `grip` name another place to take it by.
    // `press` false: the drag was begun already.
    void DragTo(POINT target, WPARAM keys = 0, bool escape = false, HWND from = nullptr,
                POINT grip = {3, 3}, bool press = true) {
        from = from != nullptr ? from : Bar();
        ClientToScreen(from, &grip);
        ClientToScreen(frame_->Handle(), &target);
        if (press) {
            Mouse(from, WM_LBUTTONDOWN, MK_LBUTTON, grip);
        }
        Mouse(Bar(), WM_MOUSEMOVE, MK_LBUTTON | keys, target);
        HWND outline = FindWindowA("SchedulerDragOutline", nullptr);
        EXPECT_TRUE(outline != nullptr && IsWindowVisible(outline));
        if (escape) {
            PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
            Pump();
            EXPECT_FALSE(IsWindowVisible(outline));
        }
        Mouse(Bar(), WM_LBUTTONUP, keys, target);
    }

    // Frame client coordinates of a window.
    RECT InFrame(HWND window) {
        RECT r{};
        GetWindowRect(window, &r);
        MapWindowPoints(nullptr, frame_->Handle(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    // The bar (when docked), the view and the status bar cover the client area once.
    void ExpectTiled() {
        std::vector<RECT> parts = {InFrame(view_->Handle()), InFrame(frame_->StatusBar())};
        if (frame_->DockBar().Side() != DockSide::Floating) {
            parts.push_back(InFrame(Bar()));
        }
        RECT client{};
        GetClientRect(frame_->Handle(), &client);
        long covered = 0;
        for (size_t i = 0; i < parts.size(); ++i) {
            RECT inside{};
            EXPECT_TRUE(IntersectRect(&inside, &parts[i], &client) && EqualRect(&inside, &parts[i]));
            covered += (parts[i].right - parts[i].left) * (parts[i].bottom - parts[i].top);
            for (size_t j = i + 1; j < parts.size(); ++j) {
                EXPECT_FALSE(IntersectRect(&inside, &parts[i], &parts[j])) << i << " and " << j;
            }
        }
        EXPECT_EQ(covered, long{client.right} * client.bottom);
    }
    // The distinct tops and lefts of the buttons.
    std::pair<std::set<long>, std::set<long>> ButtonRowsAndColumns() {
        std::set<long> tops;
        std::set<long> lefts;
        const std::vector<int>& ids = frame_->ToolBar().ButtonIds();
        for (size_t i = 0; i < ids.size(); ++i) {
            RECT r{};
            if (ids[i] != 0 && SendMessageA(Tool(), TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r))) {
                tops.insert(r.top);
                lefts.insert(r.left);
            }
        }
        return {tops, lefts};
    }
    // Points at the Add button, then clicks it: the prompt shows and the editor opens.
    void ClickAdd() {
        RECT r{};
        SendMessageA(Tool(), TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
        POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ClientToScreen(Tool(), &centre);
        Mouse(Tool(), WM_MOUSEMOVE, 0, centre);
        EXPECT_EQ(frame_->StatusText(0), "Add a new schedule");
        DialogScript script;
        script.Then("Schedule", [](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); });
        Mouse(Tool(), WM_LBUTTONDOWN, MK_LBUTTON, centre);
        Mouse(Tool(), WM_LBUTTONUP, 0, centre);
        for (int i = 0; i < 500 && !script.Finished(); ++i) {
            Pump();
            Sleep(10);
        }
    }
};

TEST_F(ToolbarDockTest, DocksOnEverySideAndFloatsWhereItIsDropped) {
    RECT client{};
    GetClientRect(frame_->Handle(), &client);
    const int midX = client.right / 2;
    const int midY = client.bottom / 2;
    struct Case {
        POINT drop;
        WPARAM keys;
        DockSide side;
        bool escape = false;
    } cases[] = {
        {{3, midY}, 0, DockSide::Left},
        {{client.right - 3, midY}, 0, DockSide::Right},
        {{midX, client.bottom - 40}, 0, DockSide::Bottom},
        {{midX, 2}, 0, DockSide::Top},
        {{midX, midY}, 0, DockSide::Floating},
        {{3, midY}, MK_CONTROL, DockSide::Floating},  // Ctrl floats it even at an edge
        {{3, midY}, 0, DockSide::Top, true},          // Esc leaves it where it was
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.side));
        if (frame_->DockBar().Side() == DockSide::Floating) {
            frame_->DockBar().Dock(DockSide::Top);
        }
        DragTo(c.drop, c.keys, c.escape);
        EXPECT_EQ(frame_->DockBar().Side(), c.side);
        ExpectTiled();
        auto [rows, columns] = ButtonRowsAndColumns();
        bool vertical = IsVerticalSide(c.side);
        EXPECT_EQ(rows.size(), vertical ? 4u : 1u);
        EXPECT_EQ(columns.size(), vertical ? 1u : 4u);
        HWND floating = frame_->DockBar().FloatWindow();
        EXPECT_EQ(floating != nullptr && IsWindowVisible(floating), c.side == DockSide::Floating);
        frame_->OnIdle();  // no row is selected: Remove is disabled wherever the bar is
        EXPECT_FALSE(SendMessageA(Tool(), TB_ISBUTTONENABLED, ID_SCHEDULE_REMOVE, 0));
        ClickAdd();
    }
}

TEST_F(ToolbarDockTest, AnEmptyPartOfTheToolbarDragsItLikeTheGripper) {
    DragTo({200, 200});  // floating, then two rows: the shorter leaves a part with no button
    HWND floating = frame_->DockBar().FloatWindow();
    SetWindowPos(floating, nullptr, 0, 0, 120, 200, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client{};
    GetClientRect(Tool(), &client);
    POINT empty{client.right - 2, client.bottom - 2};
    ASSERT_LT(SendMessageA(Tool(), TB_HITTEST, 0, reinterpret_cast<LPARAM>(&empty)), 0);
    DragTo({3, 200}, 0, false, Tool(), empty);
    EXPECT_EQ(frame_->DockBar().Side(), DockSide::Left);
}

TEST_F(ToolbarDockTest, FloatingBarWrapsHidesWithTheWindowAndDocksBackOnADoubleClick) {
    DragTo({3, 200});
    ASSERT_EQ(frame_->DockBar().Side(), DockSide::Left);
    SendMessageA(Bar(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(3, 3));
    ASSERT_EQ(frame_->DockBar().Side(), DockSide::Floating);
    HWND floating = frame_->DockBar().FloatWindow();
    EXPECT_EQ(GetWindow(floating, GW_OWNER), frame_->Handle());
    EXPECT_EQ(GetWindowLongA(floating, GWL_STYLE) & WS_SYSMENU, 0);  // no close box

    // Narrower wraps the buttons into more rows, and the window fits them.
    RECT before{};
    GetWindowRect(floating, &before);
    SetWindowPos(floating, nullptr, 0, 0, (before.right - before.left) / 2,
                 before.bottom - before.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_GT(ButtonRowsAndColumns().first.size(), 1u);
    RECT inside{};
    GetClientRect(floating, &inside);
    RECT bar = InFrame(Tool());
    EXPECT_LE(bar.right - bar.left, inside.right);
    EXPECT_EQ(bar.bottom - bar.top, inside.bottom);

    // To the tray and back: the floating bar goes and comes with the window.
    ShowWindow(frame_->Handle(), SW_HIDE);
    EXPECT_FALSE(IsWindowVisible(floating));
    ShowWindow(frame_->Handle(), SW_SHOW);
    EXPECT_TRUE(IsWindowVisible(floating));
    ClickAdd();

    SendMessageA(floating, WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
    EXPECT_EQ(frame_->DockBar().Side(), DockSide::Left);
    EXPECT_FALSE(IsWindowVisible(floating));
    ExpectTiled();

    // Dragged by its caption and dropped at the top edge, it docks there; no window is
    // activated on the way.
    SendMessageA(Bar(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(3, 3));
    ASSERT_EQ(frame_->DockBar().Side(), DockSide::Floating);
    SetActiveWindow(frame_->Handle());
    RECT r{};
    GetWindowRect(floating, &r);
    const POINT caption{r.left + 10, r.top + GetSystemMetrics(SM_CYFRAME) + 4};
    SendMessageA(floating, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(caption.x, caption.y));
    EXPECT_EQ(GetActiveWindow(), frame_->Handle());
    DragTo({200, 2}, 0, false, Bar(), {-1, -1}, false);
    EXPECT_EQ(frame_->DockBar().Side(), DockSide::Top);
    ExpectTiled();
}

}  // namespace
