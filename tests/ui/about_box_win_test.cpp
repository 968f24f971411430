#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/product_variant.h"
#include "resources/resource_ids.h"
#include "tests/ui/main_window_fixture.h"
#include "ui/about_box.h"

namespace {

// Runs the body once a dialog of this thread with the caption shows, from inside its modal
// loop (a thread timer runs in any loop of the thread). The body must close the dialog.
class WhenShown {
public:
    WhenShown(const char* caption, std::function<void(HWND)> body)
        : caption_(caption), body_(std::move(body)) {
        watchers().push_back(this);
        timer_ = SetTimer(nullptr, 0, 20, &WhenShown::Tick);
    }
    ~WhenShown() {
        KillTimer(nullptr, timer_);
        std::erase(watchers(), this);
    }
    bool Ran() const { return ran_; }

private:
    static std::vector<WhenShown*>& watchers() {
        static std::vector<WhenShown*> all;
        return all;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        for (WhenShown* w : std::vector<WhenShown*>(watchers())) {
            HWND found = nullptr;
            if (!w->ran_ && (found = FindWindowA("#32770", w->caption_)) != nullptr &&
                IsWindowVisible(found)) {
                w->ran_ = true;
                w->body_(found);
            }
        }
    }
    const char* caption_;
    std::function<void(HWND)> body_;
    UINT_PTR timer_ = 0;
    bool ran_ = false;
};

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

// The message of a message box: its static texts.
std::string MessageText(HWND box) {
    std::string text;
    for (HWND c = GetWindow(box, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
        char cls[32] = {};
        GetClassNameA(c, cls, sizeof(cls));
        if (lstrcmpiA(cls, "Static") == 0) {
            text += Text(c);
        }
    }
    return text;
}

constexpr COLORREF kBlue = RGB(0, 0, 255), kTeal = RGB(0, 128, 128), kPurple = RGB(128, 0, 128);

class AboutBoxTest : public MainWindowTest {
protected:
    void TearDown() override {
        CHyperLink::SetUrlOpenerForTesting(nullptr);
        MainWindowTest::TearDown();
    }
    // Opens the box with the About command and runs the body in it, then closes it.
    void WithAboutBox(const std::function<void(HWND, CAboutBox&)>& body) {
        WhenShown about("About...", [&](HWND box) {
            body(box, *CAboutBox::Current());
            SendMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        });
        Command(ID_SHOW_ABOUT);
        EXPECT_TRUE(about.Ran());
        EXPECT_EQ(CAboutBox::Current(), nullptr);
    }
    std::vector<std::string> opened_;
};

TEST_F(AboutBoxTest, CommandShowsTheVersionCopyrightAndBothLinks) {
    CHyperLink::SetUrlOpenerForTesting([this](const std::string& address, int show) {
        opened_.push_back(address + "/" + std::to_string(show));
        return 42;
    });
    WithAboutBox([&](HWND box, CAboutBox& about) {
        EXPECT_EQ(Text(GetDlgItem(box, IDC_ABOUT_VERSION)),
                  std::string(ActiveVariant().title) + " 1.11");
        EXPECT_EQ(Text(GetDlgItem(box, IDC_ABOUT_COPYRIGHT)), "Copyright (C) 2026 Veltrane");
        HWND web = GetDlgItem(box, IDC_ABOUT_WEBSITE);
        HWND mail = GetDlgItem(box, IDC_ABOUT_EMAIL);
        EXPECT_EQ(Text(web), "https://www.veltrane.example/");
        EXPECT_EQ(Text(mail), "support@veltrane.example");
        EXPECT_EQ(ToolTipText(about.WebLink()), "https://www.veltrane.example/");
        EXPECT_EQ(ToolTipText(about.MailLink()), "mailto:support@veltrane.example");
        // The bare address is shorter than the template's static: the link fits it.
        RECT r{};
        GetClientRect(mail, &r);
        SIZE extent{};
        HDC dc = GetDC(mail);
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(mail, WM_GETFONT, 0, 0)));
        GetTextExtentPoint32A(dc, "support@veltrane.example", 24, &extent);
        ReleaseDC(mail, dc);
        EXPECT_EQ(r.right, extent.cx);

        EXPECT_EQ(SendMessageA(web, WM_NCHITTEST, 0, 0), HTCLIENT);
        EXPECT_TRUE(SendMessageA(web, WM_SETCURSOR, reinterpret_cast<WPARAM>(web), HTCLIENT));
        EXPECT_NE(GetCursor(), LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));

        EXPECT_EQ(LinkColourOf(web), kBlue);
        SetFocus(web);
        EXPECT_EQ(LinkColourOf(web), kTeal);
        SendMessageA(web, WM_KEYDOWN, VK_SPACE, 0);
        EXPECT_EQ(LinkColourOf(web), kTeal) << "focus wins over visited";
        SendMessageA(mail, WM_LBUTTONDOWN, MK_LBUTTON, 0);
        EXPECT_EQ(GetFocus(), mail);
        SendMessageA(mail, WM_LBUTTONUP, 0, 0);
        EXPECT_EQ(LinkColourOf(web), kPurple);
        EXPECT_EQ(LinkColourOf(mail), kTeal);
    });
    EXPECT_EQ(opened_, (std::vector<std::string>{"https://www.veltrane.example//5",
                                                 "mailto:support@veltrane.example/5"}));
}

TEST_F(AboutBoxTest, ShellFailureIsReportedAndLeavesTheLinkUnvisited) {
    for (int code : {31, 12}) {
        CHyperLink::SetUrlOpenerForTesting([code](const std::string&, int) { return code; });
        std::string reported;
        WithAboutBox([&](HWND box, CAboutBox&) {
            HWND web = GetDlgItem(box, IDC_ABOUT_WEBSITE);
            WhenShown error("Scheduler", [&](HWND message) {
                reported = MessageText(message);
                SendMessageA(message, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            });
            SendMessageA(web, WM_LBUTTONDOWN, MK_LBUTTON, 0);
            SendMessageA(web, WM_LBUTTONUP, 0, 0);
            EXPECT_TRUE(error.Ran());
            SetFocus(GetDlgItem(box, IDOK));
            EXPECT_EQ(LinkColourOf(web), kBlue);
        });
        EXPECT_EQ(reported, code == 31 ? "Can't open link:\n\nThere is no application "
                                         "associated\nwith the given filename extension."
                                       : "Can't open link:\n\nUnknown Error (12) occurred.");
    }
}

}  // namespace
