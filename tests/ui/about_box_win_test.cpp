#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/product_variant.h"
#include "resources/resource_ids.h"
#include "tests/ui/dialog_script.h"
#include "tests/ui/main_window_fixture.h"
#include "ui/about_box.h"

namespace {

std::string Text(HWND hwnd) {
    char text[512] = {};
    GetWindowTextA(hwnd, text, sizeof(text));
    return text;
}

// The text colour and brush a link answers to its dialog's colour query.
COLORREF LinkColourOf(HWND link) {
    HDC dc = GetDC(link);
    LRESULT brush = SendMessageA(GetParent(link), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                 reinterpret_cast<LPARAM>(link));
    COLORREF colour = GetTextColor(dc);
    ReleaseDC(link, dc);
    EXPECT_EQ(brush, reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)));
    return colour;
}

std::string ToolTipText(CHyperLink& link) {
    char text[256] = {};
    TOOLINFOA tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = link.Handle();
    tool.uId = 1;
    tool.lpszText = text;
    SendMessageA(link.ToolTip(), TTM_GETTEXTA, sizeof(text), reinterpret_cast<LPARAM>(&tool));
    return text;
}

constexpr COLORREF kBlue = RGB(0, 0, 255), kTeal = RGB(0, 128, 128), kPurple = RGB(128, 0, 128);

TEST_F(MainWindowTest, AboutCommandShowsTheBoxAndItsLinksOpenOrReportWhyNot) {
    std::vector<std::string> opened;
    int answer = 31;  // the shell's "no association"
    CHyperLink::SetUrlOpenerForTesting([&](const std::string& address, int show) {
        opened.push_back(address + " " + std::to_string(show));
        return answer;
    });
    // The failure's message box opens inside the About box's step.
    std::string reported;
    DialogScript script;
    script.Then("About...", [&](HWND box) {
        CAboutBox& dialog = *CAboutBox::Current();
        HWND web = GetDlgItem(box, IDC_ABOUT_WEBSITE);
        HWND mail = GetDlgItem(box, IDC_ABOUT_EMAIL);
        EXPECT_EQ(Text(GetDlgItem(box, IDC_ABOUT_VERSION)),
                  std::string(ActiveVariant().title) + " 1.11");
        EXPECT_EQ(Text(GetDlgItem(box, IDC_ABOUT_COPYRIGHT)), "Copyright (C) 2026 Veltrane");
        EXPECT_EQ(Text(web), "https://www.veltrane.example/");
        EXPECT_EQ(Text(mail), "support@veltrane.example");
        EXPECT_EQ(ToolTipText(dialog.WebLink()), "https://www.veltrane.example/");
        EXPECT_EQ(ToolTipText(dialog.MailLink()), "mailto:support@veltrane.example");
        EXPECT_EQ(SendMessageA(web, WM_NCHITTEST, 0, 0), HTCLIENT);
        EXPECT_TRUE(SendMessageA(web, WM_SETCURSOR, reinterpret_cast<WPARAM>(web), HTCLIENT));
        EXPECT_NE(GetCursor(), LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
        EXPECT_EQ(LinkColourOf(web), kBlue);

        // A failure is reported and leaves the link unvisited.
        SendMessageA(web, WM_LBUTTONDOWN, MK_LBUTTON, 0);
        SendMessageA(web, WM_LBUTTONUP, 0, 0);
        EXPECT_EQ(reported,
                  "Can't open link:\n\nThere is no application associated\nwith the given "
                  "filename extension.");
        SetFocus(GetDlgItem(box, IDOK));
        EXPECT_EQ(LinkColourOf(web), kBlue);

        answer = 42;
        SetFocus(web);
        EXPECT_EQ(LinkColourOf(web), kTeal);
        SendMessageA(web, WM_KEYDOWN, VK_SPACE, 0);
        SendMessageA(web, WM_KEYDOWN, VK_SPACE, 1 << 30);  // held down: no second opening
        EXPECT_EQ(LinkColourOf(web), kTeal) << "focus wins over visited";
        SendMessageA(mail, WM_LBUTTONDOWN, MK_LBUTTON, 0);
        EXPECT_EQ(GetFocus(), mail);
        SendMessageA(mail, WM_LBUTTONUP, 0, 0);
        EXPECT_EQ(LinkColourOf(web), kPurple);
        EXPECT_EQ(LinkColourOf(mail), kTeal);
        SendMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    script.Then("Scheduler", [&](HWND message) {
        reported = DialogScript::MessageText(message);
        SendMessageA(message, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    Command(ID_SHOW_ABOUT);
    CHyperLink::SetUrlOpenerForTesting(nullptr);
    EXPECT_EQ(opened, (std::vector<std::string>{"https://www.veltrane.example/ 5",
                                                "https://www.veltrane.example/ 5",
                                                "mailto:support@veltrane.example 5"}));
}

}  // namespace
