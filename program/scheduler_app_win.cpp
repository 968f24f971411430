#include "program/scheduler_app_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include "app/app_state.h"
#include "app/autorun.h"
#include "app/command_line.h"
#include "app/help_topic.h"
#include "app/product_variant.h"
#include "app/startup.h"
#include "resources/resource_ids.h"
#include "ui/about_box.h"
#include "ui/main_frame.h"
#include "ui/message_loop.h"
#include "ui/models/about_text.h"

namespace {

void BringForward(const char* title) {
    HWND other = FindWindowA(nullptr, title);
    if (other != nullptr) {
        SetForegroundWindow(other);
        ShowWindow(other, SW_SHOW);
    }
}

void OpenWithShell(HWND owner, const char* program, const char* parameters) {
    ShellExecuteA(owner, "open", program, parameters, nullptr, SW_SHOWNORMAL);
}

}  // namespace

void RestrictDllSearch() {
    // Looked up: Windows 7 has it only with its loader update.
    using SetDefaultDirectories = BOOL(WINAPI*)(DWORD);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    auto setDefault = kernel != nullptr
                          ? reinterpret_cast<SetDefaultDirectories>(reinterpret_cast<void*>(
                                GetProcAddress(kernel, "SetDefaultDllDirectories")))
                          : nullptr;
    if (setDefault != nullptr) {
        setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
    // Takes the current folder out of the search where the call above is missing.
    SetDllDirectoryA("");
}

CSchedulerApp::CSchedulerApp() : openShell_(&OpenWithShell) {}

CSchedulerApp::~CSchedulerApp() {
    DestroyMainWindow();
}

bool CSchedulerApp::CreateMainWindow() {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
    InitCommonControlsEx(&controls);
    frame_ = std::make_unique<CMainFrame>(this);
    if (!frame_->Create()) {
        frame_.reset();
        return false;
    }
    return true;
}

void CSchedulerApp::DestroyMainWindow() {
    if (frame_ != nullptr) {
        if (TheMainFrame() == frame_.get()) {
            SetTheMainFrame(nullptr);
        }
        frame_.reset();
    }
}

bool CSchedulerApp::InitInstance(int argc, const char* const* argv) {
    PrepareSchedules();
    ParseCommandLine(argc, argv);
    if (!CreateMainWindow()) {
        return false;
    }
    if (ShouldEndQuietStart()) {
        return false;
    }
    // Before the caption is set, so the search finds the instance that already runs.
    if (!AcquireSingleInstance(&BringForward)) {
        return false;
    }
    SelectedScheduleIndex = 0;
    CSchedulerView& view = frame_->View();
    view.RefreshScheduleList();
    SetTheMainFrame(frame_.get());
    SetWindowTextA(frame_->Handle(), ActiveVariant().title);
    view.AddTrayIcon(ActiveVariant().title);
    ShowWindow(frame_->Handle(), ServerMode ? SW_HIDE : SW_SHOW);
    UpdateWindow(frame_->Handle());
    // A polling thread that cannot start leaves the window usable; nothing is shown.
    StartPolling();
    return true;
}

int CSchedulerApp::Run() {
    int code = RunMessageLoop(*frame_);
    // Nothing may read the list once the program releases it.
    Shutdown();
    DestroyMainWindow();
    return code;
}

bool CSchedulerApp::OnCommand(int id) {
    switch (id) {
        case ID_SHOW_HELP:
            showHelp();
            return true;
        case ID_AUTORUN:
            ToggleAutorun();
            return true;
        case ID_SHOW_ABOUT:
            showAbout();
            return true;
        case ID_EXIT_APP:
            if (frame_ != nullptr) {
                SendMessageA(frame_->Handle(), WM_CLOSE, 0, 0);
            }
            return true;
        default:
            return false;
    }
}

bool CSchedulerApp::QueryCommand(int id, CommandState& state) {
    switch (id) {
        case ID_AUTORUN:
            state = CommandState{true, AutorunEnabled != 0};
            return true;
        case ID_SHOW_HELP:
        case ID_SHOW_ABOUT:
        case ID_EXIT_APP:
            state = CommandState{true, false};
            return true;
        default:
            return false;
    }
}

void CSchedulerApp::showHelp() {
    std::string parameter = HelpTopicParameter(ProgramFullPath(), ActiveVariant().helpTopic);
    HWND owner = frame_ != nullptr ? frame_->View().Handle() : nullptr;
    // The viewer of the Windows folder by its full path, never one found along a search path.
    char folder[MAX_PATH] = {};
    UINT length = GetSystemWindowsDirectoryA(folder, sizeof folder);
    if (length == 0 || length >= sizeof folder) {
        return;
    }
    std::string viewer = std::string(folder) + "\\hh.exe";
    openShell_(owner, viewer.c_str(), parameter.c_str());
}

void CSchedulerApp::showAbout() {
    CAboutBox box;
    box.SetVersionLine(AboutVersionLine(ActiveVariant().title));
    box.DoModal(frame_ != nullptr ? frame_->Handle() : nullptr);
}
