#include "ui/hyperlink.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <utility>

#include "resources/resource_ids.h"
#include "ui/resource_text.h"
#include "ui/window.h"

namespace {

constexpr UINT_PTR kToolId = 1;
constexpr int kHelpHandCursorId = 106;

// One hand cursor for every link, for the life of the process.
HCURSOR handCursor = nullptr;
bool handCursorTried = false;

CHyperLink::UrlOpener& UrlOpenerForTesting() {
    static CHyperLink::UrlOpener opener;
    return opener;
}

void LoadHandCursor() {
    if (handCursor != nullptr || handCursorTried) {
        return;
    }
    handCursorTried = true;
    char folder[MAX_PATH] = {};
    UINT length = GetWindowsDirectoryA(folder, sizeof(folder));
    if (length > 0 && length < sizeof(folder)) {
        std::string helpProgram = std::string(folder) + "\\winhlp32.exe";
        // Mapped as data: only its cursor is wanted, none of its code may run here.
        HMODULE module = LoadLibraryExA(helpProgram.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        if (module != nullptr) {
            HCURSOR cursor = LoadCursorA(module, MAKEINTRESOURCEA(kHelpHandCursorId));
            if (cursor != nullptr) {
                handCursor = CopyCursor(cursor);
            }
            FreeLibrary(module);
        }
    }
    if (handCursor == nullptr) {
        // Newer systems ship the help program without its cursor; theirs is the same hand.
        handCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND));
    }
}

std::string WindowText(HWND hwnd) {
    int length = GetWindowTextLengthA(hwnd);
    std::string text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    int got = GetWindowTextA(hwnd, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return text;
}

// The static's alignment as the fitting knows it.
std::uint32_t Alignment(HWND hwnd) {
    LONG style = GetWindowLongA(hwnd, GWL_STYLE);
    LONG type = style & SS_TYPEMASK;
    std::uint32_t alignment = (style & SS_CENTERIMAGE) != 0 ? kStaticCentreVertically : 0;
    if (type == SS_CENTER) {
        alignment |= kStaticCentre;
    } else if (type == SS_RIGHT) {
        alignment |= kStaticRight;
    }
    return alignment;
}

// The size of the text drawn in the font on the window.
SIZE TextExtent(HWND hwnd, HFONT font, const std::string& text) {
    SIZE extent{};
    WindowDc dc(hwnd);
    SelectedObject selected(dc.get(), font);
    GetTextExtentPoint32A(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent);
    return extent;
}

}  // namespace

CHyperLink::~CHyperLink() {
    if (hwnd_ != nullptr) {
        // The control outlives the link: it must not keep a font that goes with it.
        hook_.Detach();
        SendMessageA(hwnd_, WM_SETFONT, 0, FALSE);
        unbind();
    }
}

void CHyperLink::SetUrlOpenerForTesting(UrlOpener opener) {
    UrlOpenerForTesting() = std::move(opener);
}

bool CHyperLink::Bind(HWND control) {
    if (hwnd_ != nullptr ||
        !hook_.Attach(
            control,
            [this](UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
                bool handled = false;
                result = handleMessage(message, wParam, lParam, handled);
                return handled;
            },
            [this] { unbind(); })) {
        return false;
    }
    hwnd_ = control;
    std::string text = WindowText(control);
    if (url_.empty()) {
        url_ = text;
    }
    if (text.empty()) {
        SetWindowTextA(control, url_.c_str());
    }
    setLinkFont(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
    if ((state_.linkStyle & LinkNoHandCursor) == 0) {
        LoadHandCursor();
    }
    createToolTip();
    return true;
}

void CHyperLink::setLinkFont(HFONT base) {
    LOGFONTA description{};
    UniqueFont font;
    if (base != nullptr && GetObjectA(base, sizeof(description), &description) != 0) {
        description.lfUnderline = (state_.linkStyle & LinkUnderline) != 0 ? TRUE : FALSE;
        font.reset(CreateFontIndirectA(&description));
    }
    if (font) {
        // The font in use goes only once the control has the new one.
        UniqueFont previous = std::exchange(linkFont_, std::move(font));
        SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_.get()), TRUE);
        fitToText();
    } else if (!linkFont_) {
        state_.linkStyle &= ~static_cast<std::uint32_t>(LinkAutoSize);
    }
}

void CHyperLink::SetLinkText(const char* text) {
    if (hwnd_ == nullptr || !IsWindow(hwnd_)) {
        return;
    }
    // Hidden while it changes, so the parent repaints what the longer text covered.
    ShowWindow(hwnd_, SW_HIDE);
    SetWindowTextA(hwnd_, text);
    fitToText();
    ShowWindow(hwnd_, SW_SHOW);
}

void CHyperLink::FollowLink() {
    const UrlOpener& opener = UrlOpenerForTesting();
    int result = opener ? opener(url_, SW_SHOW) : OpenUrl(url_, SW_SHOW);
    if (result <= 32) {
        MessageBeep(MB_ICONEXCLAMATION);
        ReportLinkError(hwnd_ != nullptr ? GetParent(hwnd_) : nullptr, result);
        return;
    }
    state_.visited = true;
    redraw();
}

LRESULT CHyperLink::handleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) {
        relayToToolTip(message, wParam, lParam);
    }
    handled = true;
    switch (message) {
        case WM_SETFONT:
            // A new font from the dialog (a new display scale): the link's is made from it.
            if (reinterpret_cast<HFONT>(wParam) != linkFont_.get()) {
                setLinkFont(reinterpret_cast<HFONT>(wParam));
                return 0;
            }
            handled = false;
            return 0;
        case kReflectedMessageBase + WM_CTLCOLORSTATIC: {
            auto dc = reinterpret_cast<HDC>(wParam);
            LinkColour colour = LinkTextColour(state_);
            SetTextColor(dc, RGB(colour.red, colour.green, colour.blue));
            SetBkMode(dc, TRANSPARENT);
            return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
        }
        case WM_SETCURSOR:
            // Without a hand the pointer keeps the shape it has.
            if (handCursor != nullptr && (state_.linkStyle & LinkNoHandCursor) == 0) {
                SetCursor(handCursor);
                return TRUE;
            }
            return FALSE;
        case WM_NCHITTEST:
            return HTCLIENT;
        case WM_MOUSEMOVE:
            onMouseMove(lParam);
            return 0;
        case WM_CAPTURECHANGED:
            // The hover lasts only while this link holds the capture.
            if (reinterpret_cast<HWND>(lParam) != hwnd_ && state_.mouseOver) {
                state_.mouseOver = false;
                redraw();
            }
            return 0;
        case WM_LBUTTONDOWN:
            if ((state_.linkStyle & LinkTakeFocus) != 0) {
                SetFocus(hwnd_);
            }
            if ((state_.linkStyle & LinkFollowOnPress) != 0) {
                FollowLink();
            }
            state_.active = true;
            redraw();
            return 0;
        case WM_LBUTTONUP:
            if (state_.active && (state_.linkStyle & LinkFollowOnPress) == 0) {
                FollowLink();
            }
            return 0;
        case WM_SETFOCUS:
            state_.active = true;
            redraw();
            return 0;
        case WM_KILLFOCUS:
            state_.mouseOver = false;
            state_.active = false;
            redraw();
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_SPACE) {
                // Once per press: a held key must not open the address again and again.
                if ((lParam & (1L << 30)) == 0) {
                    FollowLink();
                }
                return 0;
            }
            break;
        default:
            break;
    }
    handled = false;
    return 0;
}

void CHyperLink::onMouseMove(LPARAM lParam) {
    if (state_.mouseOver) {
        RECT client{};
        GetClientRect(hwnd_, &client);
        POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (!PtInRect(&client, at)) {
            state_.mouseOver = false;
            ReleaseCapture();
            redraw();
        }
        return;
    }
    state_.mouseOver = true;
    redraw();
    // So that the move that leaves the link comes here too.
    SetCapture(hwnd_);
}

void CHyperLink::relayToToolTip(UINT message, WPARAM wParam, LPARAM lParam) {
    if (toolTip_ == nullptr) {
        return;
    }
    MSG msg{};
    msg.hwnd = hwnd_;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = static_cast<DWORD>(GetMessageTime());
    DWORD at = GetMessagePos();
    msg.pt = POINT{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    SendMessageA(toolTip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

void CHyperLink::fitToText() {
    if ((state_.linkStyle & LinkAutoSize) == 0 || hwnd_ == nullptr) {
        return;
    }
    RECT window{};
    GetWindowRect(hwnd_, &window);
    MapWindowPoints(nullptr, GetParent(hwnd_), reinterpret_cast<POINT*>(&window), 2);
    RECT client{};
    GetClientRect(hwnd_, &client);
    std::string text = WindowText(hwnd_);
    SIZE extent = TextExtent(hwnd_, linkFont_.get(), text);
    LinkRect fitted = FitToText({window.left, window.top, window.right, window.bottom},
                                {client.right - client.left, client.bottom - client.top},
                                {extent.cx, extent.cy}, Alignment(hwnd_));
    MoveWindow(hwnd_, fitted.left, fitted.top, fitted.Width(), fitted.Height(), TRUE);
}

void CHyperLink::createToolTip() {
    toolTip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
    if (toolTip_ == nullptr) {
        return;
    }
    TOOLINFOA tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = hwnd_;
    tool.uId = kToolId;
    GetClientRect(hwnd_, &tool.rect);
    tool.lpszText = const_cast<char*>(url_.c_str());
    SendMessageA(toolTip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void CHyperLink::redraw() {
    if (hwnd_ != nullptr) {
        InvalidateRect(hwnd_, nullptr, TRUE);
    }
}

void CHyperLink::unbind() {
    // The dialog may have taken its owned tooltip with it already.
    if (toolTip_ != nullptr && IsWindow(toolTip_)) {
        DestroyWindow(toolTip_);
    }
    toolTip_ = nullptr;
    hwnd_ = nullptr;
    state_.mouseOver = false;
    state_.active = false;
    linkFont_.reset();
}

int OpenUrl(const std::string& address, int show) {
    UrlOpenerServices services;
    services.shellOpen = [](const std::string& target, int how) {
        auto result = reinterpret_cast<INT_PTR>(
            ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, how));
        return static_cast<int>(result);
    };
    services.readClassesRootDefault = [](const std::string& key, std::string& value) {
        HKEY opened = nullptr;
        if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_QUERY_VALUE, &opened) !=
            ERROR_SUCCESS) {
            return false;
        }
        char buffer[MAX_PATH] = {};
        LONG size = sizeof(buffer);
        // A value too long for the buffer counts as no value, never as a cut command.
        LONG status = RegQueryValueA(opened, nullptr, buffer, &size);
        RegCloseKey(opened);
        if (status != ERROR_SUCCESS) {
            return false;
        }
        buffer[sizeof(buffer) - 1] = '\0';
        value = buffer;
        return true;
    };
    services.startCommand = [](const std::string& commandLine, int how) {
        return static_cast<int>(WinExec(commandLine.c_str(), static_cast<UINT>(how)));
    };
    services.isLeadByte = [](unsigned char c) { return IsDBCSLeadByte(c) != FALSE; };
    return OpenUrl(address, show, services);
}

void ReportLinkError(HWND owner, int code) {
    // The application title: the first part of the frame's string.
    std::string title = CommandPrompt(IDR_MAINFRAME);
    MessageBoxA(owner, LinkErrorMessage(code).c_str(), title.empty() ? "Scheduler" : title.c_str(),
                MB_OK | MB_ICONEXCLAMATION);
}
