#include "ui/about_box.h"

#include <algorithm>
#include <vector>

#include "resources/resource_ids.h"
#include "ui/models/about_text.h"

namespace {

CAboutBox* currentBox = nullptr;

// Over the middle of the owner window, kept on its monitor's work area.
void CentreOnOwner(HWND dialog) {
    HWND owner = GetWindow(dialog, GW_OWNER);
    if (owner == nullptr || !IsWindowVisible(owner)) {
        return;
    }
    RECT area{};
    RECT box{};
    GetWindowRect(owner, &area);
    GetWindowRect(dialog, &box);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoA(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    int width = box.right - box.left;
    int height = box.bottom - box.top;
    int x = (area.left + area.right - width) / 2;
    int y = (area.top + area.bottom - height) / 2;
    x = std::max(static_cast<int>(work.left), std::min(x, static_cast<int>(work.right) - width));
    y = std::max(static_cast<int>(work.top), std::min(y, static_cast<int>(work.bottom) - height));
    SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

CAboutBox::CAboutBox() : Dialog(IDD_ABOUTBOX), copyrightLine_(::CopyrightLine()) {
    webLink_.SetUrl(kMakerSite);
    mailLink_.SetUrl(MailtoAddress(kMakerEmail));
}

CAboutBox* CAboutBox::Current() {
    return currentBox;
}

bool CAboutBox::OnInitDialog() {
    currentBox = this;
    exchangeTexts(true);
    if (!webLink_.IsBound()) {
        webLink_.Bind(GetDlgItem(Handle(), IDC_ABOUT_WEBSITE));
    }
    if (!mailLink_.IsBound()) {
        mailLink_.Bind(GetDlgItem(Handle(), IDC_ABOUT_EMAIL));
    }
    // The address shows bare; the link opens and names the "mailto:" form.
    mailLink_.SetLinkText(kMakerEmail);
    CentreOnOwner(Handle());
    return true;
}

bool CAboutBox::HandleMessage(UINT message, WPARAM wParam, LPARAM, LRESULT&) {
    if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) {
        return false;
    }
    switch (LOWORD(wParam)) {
        case IDOK:
            exchangeTexts(false);
            EndModal(IDOK);
            return true;
        case IDCANCEL:
            EndModal(IDCANCEL);
            return true;
        default:
            return false;
    }
}

void CAboutBox::OnFinalDestroy() {
    if (currentBox == this) {
        currentBox = nullptr;
    }
}

void CAboutBox::exchangeTexts(bool toControls) {
    struct Bound {
        int id;
        std::string* text;
    };
    for (Bound bound :
         {Bound{IDC_ABOUT_VERSION, &versionLine_}, Bound{IDC_ABOUT_COPYRIGHT, &copyrightLine_}}) {
        HWND control = GetDlgItem(Handle(), bound.id);
        if (toControls) {
            SetWindowTextA(control, bound.text->c_str());
        } else {
            std::vector<char> text(static_cast<size_t>(GetWindowTextLengthA(control)) + 1);
            GetWindowTextA(control, text.data(), static_cast<int>(text.size()));
            bound.text->assign(text.data());
        }
    }
}
