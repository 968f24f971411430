#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "resources/resource_ids.h"
#include "tests/ui/dialog_script.h"
#include "tests/ui/main_window_fixture.h"
#include "ui/dpi.h"
#include "ui/schedule_dlg.h"

// Run at every scale the program is made for (see tests/CMakeLists.txt): 96, 120, 144 and
// 192 DPI, the scale set for the whole run.
namespace {

class DisplayScaleTest : public MainWindowTest {
protected:
    UINT Dpi() { return WindowDpi(frame_->Handle()); }
    int ImageSize() {
        auto images = reinterpret_cast<HIMAGELIST>(
            SendMessageA(frame_->ToolBar().Handle(), TB_GETIMAGELIST, 0, 0));
        int cx = 0, cy = 0;
        ImageList_GetIconSize(images, &cx, &cy);
        return cx;
    }
    int ColumnWidth(int column) {
        return static_cast<int>(SendMessageA(List(), LVM_GETCOLUMNWIDTH, column, 0));
    }
};

// The strip drawn for the scale, never one stretched.
int StripFor(UINT dpi) {
    return dpi < 108 ? 24 : dpi < 132 ? 30 : dpi < 168 ? 36 : 48;
}

// The text of a control fits it, in the control's own font, beside a check box's box.
void ExpectTextFits(HWND control) {
    char text[256] = "", kind[32] = "";
    GetWindowTextA(control, text, sizeof(text));
    GetClassNameA(control, kind, sizeof(kind));
    LONG style = GetWindowLongA(control, GWL_STYLE);
    if (text[0] == '\0' || !IsWindowVisible(control) ||
        (lstrcmpiA(kind, "Static") != 0 && lstrcmpiA(kind, "Button") != 0) ||
        (style & 0x0F) == BS_GROUPBOX) {
        return;
    }
    std::string shown(text);
    shown.erase(std::remove(shown.begin(), shown.end(), '&'), shown.end());
    HDC dc = GetDC(control);
    HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
    SIZE extent{};
    GetTextExtentPoint32A(dc, shown.c_str(), static_cast<int>(shown.size()), &extent);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    RECT r{};
    GetClientRect(control, &r);
    const UINT dpi = WindowDpi(control);
    const bool check = lstrcmpiA(kind, "Button") == 0 &&
                       ((style & 0x0F) == BS_AUTOCHECKBOX || (style & 0x0F) == BS_CHECKBOX);
    const int room = r.right - (check ? MetricForDpi(SM_CXMENUCHECK, dpi) + Scaled(4, dpi)
                                      : lstrcmpiA(kind, "Button") == 0 ? Scaled(4, dpi) : 0);
    EXPECT_LE(extent.cx, room) << '"' << text << "\" at " << dpi << " DPI";
}

void ExpectTextsFit(HWND dialog) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        ExpectTextFits(child);
    }
}

}  // namespace

TEST_F(DisplayScaleTest, ImagesColumnsAndTextsFollowTheScale) {
    const UINT dpi = Dpi();
    if (const char* wanted = std::getenv("SCHEDULER_TEST_DPI")) {
        ASSERT_EQ(dpi, static_cast<UINT>(std::atoi(wanted)));
    }
    EXPECT_EQ(ImageSize(), StripFor(dpi));
    EXPECT_GT(LOWORD(SendMessageA(frame_->ToolBar().Handle(), TB_GETBUTTONSIZE, 0, 0)),
              StripFor(dpi));
    EXPECT_EQ(ColumnWidth(0), Scaled(170, dpi));
    EXPECT_EQ(ColumnWidth(1), Scaled(270, dpi));

    // Every page of the editor: the pickers show their whole date or time, the labels and
    // check boxes their whole text.
    DialogScript script;
    script.Then("Schedule", [](HWND dialog) {
        auto& editor = *dynamic_cast<CScheduleDlg*>(Dialog::FromHandle(dialog));
        ExpectTextsFit(dialog);
        for (int type = Once; type <= Yearly; ++type) {
            HWND page = editor.PageWindow(type).Handle();
            ExpectTextsFit(page);
            for (int id : {IDC_ONCE_DATE, IDC_ONCE_TIME}) {
                HWND picker = GetDlgItem(page, id);
                char kind[32] = "";
                GetClassNameA(picker, kind, sizeof(kind));
                if (lstrcmpA(kind, DATETIMEPICK_CLASSA) != 0) {
                    continue;
                }
                SIZE ideal{};
                SendMessageA(picker, DTM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal));
                RECT r{};
                GetWindowRect(picker, &r);
                EXPECT_LE(ideal.cx, r.right - r.left) << "page " << type << ", picker " << id;
            }
        }
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    frame_->RouteCommand(ID_SCHEDULE_ADD);
}

// Moved to a monitor of another scale, the frame takes the rectangle the system suggests,
// and its toolbar images, bars and columns follow.
TEST_F(DisplayScaleTest, FrameFollowsAMoveToAnotherScale) {
    const UINT dpi = Dpi();
    const UINT other = dpi == 192 ? 96 : 192;
    const int thickness = frame_->DockBar().Thickness();
    RECT suggested{30, 40, 30 + Scaled(300, other), 40 + Scaled(250, other)};
    SendMessageA(frame_->Handle(), WM_DPICHANGED, MAKEWPARAM(other, other),
                 reinterpret_cast<LPARAM>(&suggested));
    RECT now{};
    GetWindowRect(frame_->Handle(), &now);
    EXPECT_TRUE(EqualRect(&now, &suggested));
    EXPECT_EQ(ImageSize(), StripFor(other));
    EXPECT_NEAR(ColumnWidth(0), Scaled(170, other), 1);
    EXPECT_EQ(other > dpi, frame_->DockBar().Thickness() > thickness);
    RECT bar{}, client{};
    GetWindowRect(frame_->DockBar().Handle(), &bar);
    GetClientRect(frame_->Handle(), &client);
    EXPECT_EQ(bar.right - bar.left, client.right);
}
