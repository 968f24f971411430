#include "ui/main_frame.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>

#include "engine/schedule_list.h"
#include "engine/stop_flag.h"
#include "resources/resource_ids.h"
#include "ui/dpi.h"

namespace {

CMainFrame* theMainFrame = nullptr;

// The toolbar's strips, each drawn for one scale: images of `size` pixels, normal, hot and
// disabled.
struct Strips {
    int size;
    int normal, hot, disabled;
};
constexpr Strips kStrips[] = {
    {24, IDR_MAINFRAME, IDB_TOOLBAR_HOT, IDB_TOOLBAR_DISABLED},
    {30, IDB_TOOLBAR_30, IDB_TOOLBAR_HOT_30, IDB_TOOLBAR_DISABLED_30},
    {36, IDB_TOOLBAR_36, IDB_TOOLBAR_HOT_36, IDB_TOOLBAR_DISABLED_36},
    {48, IDB_TOOLBAR_48, IDB_TOOLBAR_HOT_48, IDB_TOOLBAR_DISABLED_48},
};

// The strips nearest the 24 pixels of 100 % at `dpi`; between two, the larger.
const Strips& StripsForDpi(UINT dpi) {
    const int wanted = Scaled(kStrips[0].size, dpi);
    const Strips* best = &kStrips[0];
    for (const Strips& strips : kStrips) {
        if (std::abs(strips.size - wanted) <= std::abs(best->size - wanted)) {
            best = &strips;
        }
    }
    return *best;
}

}  // namespace

CMainFrame* TheMainFrame() {
    return theMainFrame;
}

void SetTheMainFrame(CMainFrame* frame) {
    theMainFrame = frame;
}

CMainFrame::CMainFrame(CommandTarget* appCommands) : view_(document_, *this) {
    AddCommandTarget(&view_);
    if (appCommands != nullptr) {
        AddCommandTarget(appCommands);
    }
}

CMainFrame::~CMainFrame() {
    if (Handle() != nullptr) {
        DestroyWindow(Handle());
    }
}

bool CMainFrame::Create() {
    if (!FrameWindow::Create(IDR_MAINFRAME, "SchedulerMainFrame")) {
        return false;
    }
    if (!view_.Create()) {
        DestroyWindow(Handle());
        return false;
    }
    SetContent(view_.Handle());
    ShowWindow(view_.Handle(), SW_SHOW);
    RecalcLayout();
    shrinkToForm();
    return true;
}

int CMainFrame::OnCreate() {
    CColorToolBar& toolBar = ToolBar();
    if (!CreateDockBar() || !toolBar.Create(DockBar().Handle(), ID_TOOLBAR_WINDOW) ||
        !toolBar.LoadToolBar(IDR_MAINFRAME)) {
        return -1;
    }
    setToolBarImages(WindowDpi(Handle()));
    // Docked at the top at every start: nothing of its place is kept.
    DockBar().Attach(toolBar.Handle(), toolBar.ButtonIds());
    if (!CreateStatusBar(ID_STATUS_WINDOW)) {
        return -1;
    }
    return 0;
}

void CMainFrame::setToolBarImages(UINT dpi) {
    // A strip that cannot be loaded leaves the images the toolbar has.
    const Strips& strips = StripsForDpi(dpi);
    ToolBar().SetToolBarImages(strips.size, strips.normal, strips.hot, strips.disabled);
}

void CMainFrame::OnDpiChanged(UINT dpi) {
    setToolBarImages(dpi);
    view_.SetDpi(dpi);
}

void CMainFrame::OnClose() {
    if (document_.Schedules().IsEmpty()) {
        StopRequested().Set();
        Sleep(100);
        DestroyWindow(Handle());
        return;
    }
    // Schedules still need the polling: the program stays behind its tray icon.
    ShowWindow(Handle(), SW_HIDE);
}

void CMainFrame::shrinkToForm() {
    // The client area the form needs between toolbar and status bar; never grow.
    RECT status{};
    GetWindowRect(StatusBar(), &status);
    SIZE form = view_.FormSize();
    RECT wanted{0, 0, form.cx, form.cy + DockBar().Thickness() + (status.bottom - status.top)};
    AdjustWindowRectForDpi(wanted, static_cast<DWORD>(GetWindowLongPtrA(Handle(), GWL_STYLE)),
                           true, static_cast<DWORD>(GetWindowLongPtrA(Handle(), GWL_EXSTYLE)),
                           WindowDpi(Handle()));
    RECT now{};
    GetWindowRect(Handle(), &now);
    int width = std::min<int>(now.right - now.left, wanted.right - wanted.left);
    int height = std::min<int>(now.bottom - now.top, wanted.bottom - wanted.top);
    SetWindowPos(Handle(), nullptr, 0, 0, width, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
