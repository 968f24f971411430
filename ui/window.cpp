#include "ui/window.h"

#include <commctrl.h>

#include "ui/failure_trace.h"

namespace {

HINSTANCE ModuleInstance() {
    return GetModuleHandleA(nullptr);
}

}  // namespace

Window::~Window() {
    if (hwnd_ != nullptr) {
        // The object goes first: the window must not call back into it.
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        HWND hwnd = hwnd_;
        hwnd_ = nullptr;
        DestroyWindow(hwnd);
    }
}

Window* Window::FromHandle(HWND hwnd) {
    return reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

const char* Window::RegisterClassOnce(const char* className, HICON icon, HBRUSH background) {
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExA(ModuleInstance(), className, &existing)) {
        return className;
    }
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &Window::Procedure;
    wc.hInstance = ModuleInstance();
    wc.hIcon = icon;
    wc.hIconSm = icon;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    return RegisterClassExA(&wc) != 0 ? className : nullptr;
}

bool Window::CreateWin(DWORD exStyle,
                       const char* className,
                       const char* title,
                       DWORD style,
                       HWND parent,
                       HMENU menu) {
    createError_ = ERROR_SUCCESS;
    HWND hwnd = CreateWindowExA(exStyle, className, title, style, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, parent, menu, ModuleInstance(), this);
    if (hwnd == nullptr && createError_ != ERROR_SUCCESS) {
        SetLastError(createError_);
    }
    return hwnd != nullptr;
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return Default(message, wParam, lParam);
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* self = nullptr;
    if (message == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = FromHandle(hwnd);
    }
    if (self == nullptr) {
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    LRESULT result = 0;
    try {
        result = self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        TraceCaughtFailure("window procedure", message);
        result = DefWindowProcA(hwnd, message, wParam, lParam);
    }
    if ((message == WM_NCCREATE && result == FALSE) || (message == WM_CREATE && result == -1)) {
        // Why the window refused itself, before the teardown that follows overwrites it.
        self->createError_ = GetLastError();
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        self->OnFinalDestroy();
    }
    return result;
}

Dialog::~Dialog() {
    if (hwnd_ != nullptr) {
        SetWindowLongPtrA(hwnd_, DWLP_USER, 0);
        HWND hwnd = hwnd_;
        hwnd_ = nullptr;
        DestroyWindow(hwnd);
    }
}

Dialog* Dialog::FromHandle(HWND hwnd) {
    return reinterpret_cast<Dialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
}

INT_PTR Dialog::DoModal(HWND owner) {
    endedModal_ = false;
    INT_PTR result = DialogBoxParamA(ModuleInstance(), MAKEINTRESOURCEA(templateId_), owner,
                                     &Dialog::Procedure, reinterpret_cast<LPARAM>(this));
    // A quit ends the system's modal loop with a result that no button of ours chose.
    return result == -1 || endedModal_ ? result : IDCANCEL;
}

void Dialog::EndModal(INT_PTR result) {
    endedModal_ = true;
    EndDialog(hwnd_, result);
}

bool Dialog::CreateChild(HWND parent) {
    return CreateDialogParamA(ModuleInstance(), MAKEINTRESOURCEA(templateId_), parent,
                              &Dialog::Procedure, reinterpret_cast<LPARAM>(this)) != nullptr;
}

bool Dialog::HandleMessage(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

INT_PTR CALLBACK Dialog::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Dialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lParam);
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
    } else {
        self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    }
    if (self == nullptr) {
        return FALSE;
    }
    INT_PTR answer = FALSE;
    try {
        if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC && lParam != 0) {
            // A dialog answers a colour query with the brush itself, not DWLP_MSGRESULT.
            LRESULT brush = SendMessageA(reinterpret_cast<HWND>(lParam),
                                         kReflectedMessageBase + message, wParam, lParam);
            if (brush != 0) {
                return static_cast<INT_PTR>(brush);
            }
        }
        if (message == WM_INITDIALOG) {
            answer = self->OnInitDialog() ? TRUE : FALSE;
        } else {
            LRESULT result = 0;
            if (self->HandleMessage(message, wParam, lParam, result)) {
                SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, result);
                answer = TRUE;
            }
        }
    } catch (...) {
        TraceCaughtFailure("dialog procedure", message);
        answer = FALSE;
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        self->hwnd_ = nullptr;
        self->OnFinalDestroy();
    }
    return answer;
}

bool ControlHook::Attach(HWND control, Handler handler, std::function<void()> destroyed) {
    if (control_ != nullptr || control == nullptr) {
        return false;
    }
    handler_ = std::move(handler);
    destroyed_ = std::move(destroyed);
    if (!SetWindowSubclass(control, &ControlHook::Procedure, reinterpret_cast<UINT_PTR>(this),
                           reinterpret_cast<DWORD_PTR>(this))) {
        handler_ = nullptr;
        destroyed_ = nullptr;
        return false;
    }
    control_ = control;
    return true;
}

void ControlHook::Detach() {
    if (control_ == nullptr) {
        return;
    }
    RemoveWindowSubclass(control_, &ControlHook::Procedure, reinterpret_cast<UINT_PTR>(this));
    handler_ = nullptr;
    destroyed_ = nullptr;
    control_ = nullptr;
}

LRESULT CALLBACK ControlHook::Procedure(HWND hwnd,
                                        UINT message,
                                        WPARAM wParam,
                                        LPARAM lParam,
                                        UINT_PTR,
                                        DWORD_PTR data) {
    auto* self = reinterpret_cast<ControlHook*>(data);
    if (message == WM_NCDESTROY) {
        // The subclass goes on the control's last message; the owner hears of it after.
        std::function<void()> destroyed = std::move(self->destroyed_);
        self->Detach();
        LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
        if (destroyed) {
            destroyed();
        }
        return result;
    }
    if (self->handler_) {
        try {
            LRESULT result = 0;
            if (self->handler_(message, wParam, lParam, result)) {
                return result;
            }
        } catch (...) {
            TraceCaughtFailure("control hook", message);
        }
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}
