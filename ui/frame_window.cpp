#include "ui/frame_window.h"

#include <commctrl.h>

#include <utility>

#include "platform/clock.h"
#include "resources/resource_ids.h"
#include "ui/dpi.h"
#include "ui/resource_text.h"

namespace {

constexpr int kIndicatorWidth = 48;

HINSTANCE ModuleInstance() {
    return GetModuleHandleA(nullptr);
}

}  // namespace

bool FrameWindow::Create(int resourceId, const char* className) {
    HICON icon = LoadIconA(ModuleInstance(), MAKEINTRESOURCEA(resourceId));
    const char* registered =
        RegisterClassOnce(className, icon, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    HMENU menu = LoadMenuA(ModuleInstance(), MAKEINTRESOURCEA(resourceId));
    if (registered == nullptr || menu == nullptr) {
        if (menu != nullptr) {
            DestroyMenu(menu);
        }
        return false;
    }
    accelerators_.reset(LoadAcceleratorsA(ModuleInstance(), MAKEINTRESOURCEA(resourceId)));
    // The window owns the menu from here on and destroys it with itself.
    if (!CreateWin(0, registered, "", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, nullptr, menu)) {
        DestroyMenu(menu);
        return false;
    }
    return true;
}

bool FrameWindow::CreateDockBar() {
    return dockBar_.Create(Handle(), [this] { RecalcLayout(); });
}

bool FrameWindow::CreateStatusBar(int id) {
    statusBar_ = CreateWindowExA(
        0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, Handle(),
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ModuleInstance(), nullptr);
    if (statusBar_ == nullptr) {
        return false;
    }
    int parts[3] = {100, 150, -1};
    if (!SendMessageA(statusBar_, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts))) {
        return false;
    }
    dpi_ = WindowDpi(Handle());
    setStatusFont(dpi_);
    SetMessageText(LoadResourceText(IDS_IDLE_MESSAGE));
    return true;
}

void FrameWindow::setStatusFont(UINT dpi) {
    // Without a font of its own the bar would keep the system's, sized for the main monitor.
    UniqueFont font(CreateStatusFont(dpi));
    if (font) {
        SendMessageA(statusBar_, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
        statusFont_ = std::move(font);
    }
}

bool FrameWindow::RouteCommand(int id) {
    for (CommandTarget* target : targets_) {
        if (target->OnCommand(id)) {
            return true;
        }
    }
    return false;
}

CommandState FrameWindow::QueryCommandState(int id) {
    for (CommandTarget* target : targets_) {
        CommandState state;
        if (target->QueryCommand(id, state)) {
            return state;
        }
    }
    return CommandState{false, false};
}

void FrameWindow::RecalcLayout() {
    RECT client{};
    GetClientRect(Handle(), &client);
    int bottom = client.bottom;
    if (statusBar_ != nullptr) {
        SendMessageA(statusBar_, WM_SIZE, 0, 0);
        RECT r{};
        GetWindowRect(statusBar_, &r);
        bottom -= r.bottom - r.top;
        int right = client.right;
        const int indicator = Scaled(kIndicatorWidth, dpi_);
        int parts[3] = {right - 2 * indicator, right - indicator, -1};
        if (parts[0] < 0) {
            parts[0] = 0;
            parts[1] = 0;
        }
        SendMessageA(statusBar_, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));
    }
    DockRect content{0, 0, client.right, bottom > 0 ? bottom : 0};
    if (dockBar_.Handle() != nullptr) {
        content = dockBar_.Layout(content);
    }
    if (content_ != nullptr) {
        SetWindowPos(content_, nullptr, content.left, content.top, content.Width(),
                     content.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void FrameWindow::OnIdle() {
    if (toolBar_.Handle() != nullptr) {
        toolBar_.UpdateButtons([this](int id) { return QueryCommandState(id); });
    }
    if (statusBar_ != nullptr) {
        // The indicators read the keys' toggle state, as the keyboard lights do.
        bool caps = (GetKeyState(VK_CAPITAL) & 1) != 0;
        bool num = (GetKeyState(VK_NUMLOCK) & 1) != 0;
        std::string capText = caps ? LoadResourceText(IDS_INDICATOR_CAPS) : std::string();
        std::string numText = num ? LoadResourceText(IDS_INDICATOR_NUM) : std::string();
        if (StatusText(1) != capText) {
            SendMessageA(statusBar_, SB_SETTEXTA, 1, reinterpret_cast<LPARAM>(capText.c_str()));
        }
        if (StatusText(2) != numText) {
            SendMessageA(statusBar_, SB_SETTEXTA, 2, reinterpret_cast<LPARAM>(numText.c_str()));
        }
    }
}

std::string FrameWindow::StatusText(int pane) const {
    if (statusBar_ == nullptr) {
        return {};
    }
    LRESULT length = LOWORD(SendMessageA(statusBar_, SB_GETTEXTLENGTHA, pane, 0));
    std::string text(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(statusBar_, SB_GETTEXTA, pane, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return text;
}

void FrameWindow::SetMessageText(const std::string& text) {
    if (statusBar_ != nullptr) {
        SendMessageA(statusBar_, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
}

void FrameWindow::updateMenu(HMENU menu) {
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        UINT id = GetMenuItemID(menu, i);
        if (id == 0 || id == static_cast<UINT>(-1)) {
            continue;  // separator or submenu
        }
        CommandState state = QueryCommandState(static_cast<int>(id));
        EnableMenuItem(menu, id, MF_BYCOMMAND | (state.enabled ? MF_ENABLED : MF_GRAYED));
        CheckMenuItem(menu, id, MF_BYCOMMAND | (state.checked ? MF_CHECKED : MF_UNCHECKED));
    }
}

void FrameWindow::showPrompt(int id) {
    SetMessageText(id == 0 ? LoadResourceText(IDS_IDLE_MESSAGE) : CommandPrompt(id));
}

LRESULT FrameWindow::onNotify(NMHDR* header) {
    switch (header->code) {
        case TTN_GETDISPINFOA: {
            auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
            tooltip_ = CommandTooltip(static_cast<unsigned>(header->idFrom));
            info->lpszText = tooltip_.data();
            return 0;
        }
        case TTN_GETDISPINFOW: {
            auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
            tooltip_ = CommandTooltip(static_cast<unsigned>(header->idFrom));
            tooltipWide_.assign(tooltip_.size() + 1, L'\0');
            MultiByteToWideChar(CP_ACP, 0, tooltip_.c_str(), -1, tooltipWide_.data(),
                                static_cast<int>(tooltipWide_.size()));
            info->lpszText = tooltipWide_.data();
            return 0;
        }
        case TBN_HOTITEMCHANGE: {
            auto* hot = reinterpret_cast<NMTBHOTITEM*>(header);
            showPrompt((hot->dwFlags & HICF_LEAVING) != 0 ? 0 : hot->idNew);
            return 0;
        }
        default:
            return 0;
    }
}

LRESULT FrameWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == taskbarCreated_ && taskbarCreated_ != 0) {
        // The shell tells only top-level windows that it started again; the content keeps
        // the tray icon.
        if (content_ != nullptr) {
            SendMessageA(content_, message, wParam, lParam);
        }
        return 0;
    }
    switch (message) {
        case WM_CREATE:
            taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
            return OnCreate();
        case WM_SHOWWINDOW:
            // A floating toolbar goes to the tray with the window and comes back with it.
            dockBar_.ShowWithFrame(wParam != FALSE);
            return Default(message, wParam, lParam);
        case WM_SIZE:
            RecalcLayout();
            return 0;
        case WM_SETFOCUS:
            if (content_ != nullptr) {
                SetFocus(content_);
            }
            return 0;
        case WM_COMMAND:
            RouteCommand(LOWORD(wParam));
            return 0;
        case WM_INITMENUPOPUP:
            // The window menu (Move, Size, Close) belongs to the system: left as it is.
            if (HIWORD(lParam)) {
                return Default(message, wParam, lParam);
            }
            updateMenu(reinterpret_cast<HMENU>(wParam));
            return 0;
        case WM_MENUSELECT: {
            UINT flags = HIWORD(wParam);
            bool closed = flags == 0xFFFF && lParam == 0;
            bool command = (flags & (MF_POPUP | MF_SEPARATOR)) == 0;
            showPrompt(closed || !command ? 0 : LOWORD(wParam));
            return 0;
        }
        case WM_NOTIFY:
            return onNotify(reinterpret_cast<NMHDR*>(lParam));
        case WM_TIMECHANGE:
        case WM_SETTINGCHANGE:
            // A new clock or time zone shows in the row tips at once; the polling re-reads the
            // zone in every pass in any case.
            RefreshTimeZone();
            return Default(message, wParam, lParam);
        case WM_DPICHANGED: {
            dpi_ = HIWORD(wParam);
            OnDpiChanged(dpi_);
            if (statusBar_ != nullptr) {
                setStatusFont(dpi_);
            }
            dockBar_.SetDpi(dpi_);
            MoveToSuggestedRect(Handle(), lParam);
            RecalcLayout();
            return 0;
        }
        case WM_CLOSE:
            OnClose();
            return 0;
        case WM_DESTROY:
            // The end of the main window ends the message loop.
            PostQuitMessage(0);
            return 0;
        default:
            return Default(message, wParam, lParam);
    }
}
