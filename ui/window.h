#pragma once

#include <windows.h>

#include <functional>

// Base of the program's own windows: stores `this` with the window at creation and hands
// every message to HandleMessage. No exception leaves the window procedure: one caught there
// leaves a trace (TraceCaughtFailure).
class Window {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Handle() const { return hwnd_; }
    // The Window object of a window made by this class, or nullptr.
    static Window* FromHandle(HWND hwnd);

protected:
    // Registers the class once per process (later calls only return the name).
    static const char* RegisterClassOnce(const char* className, HICON icon, HBRUSH background);
    // False when no window was made; GetLastError then tells why: the error the window's own
    // creation met when it refused, else the system's.
    bool CreateWin(DWORD exStyle,
                   const char* className,
                   const char* title,
                   DWORD style,
                   HWND parent,
                   HMENU menu);
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) {
        return DefWindowProcA(hwnd_, message, wParam, lParam);
    }
    // After WM_NCDESTROY: the handle is gone.
    virtual void OnFinalDestroy() {}

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    DWORD createError_ = ERROR_SUCCESS;
};

// A control's colour query (WM_CTLCOLOR...) sent back to the control itself at this offset,
// so that a control can colour itself; a non-zero answer is the brush.
constexpr UINT kReflectedMessageBase = WM_USER + 0x1c00;

// Base of dialogs built from a template, modal or as a child form; `this` is passed at
// creation. HandleMessage returns true for a handled message and may set the result. Colour
// queries go to the control first (kReflectedMessageBase).
class Dialog {
public:
    explicit Dialog(int templateId) : templateId_(templateId) {}
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    HWND Handle() const { return hwnd_; }
    int TemplateId() const { return templateId_; }
    // The Dialog object of a dialog made by this class, or nullptr.
    static Dialog* FromHandle(HWND hwnd);

    // Runs the dialog modally; the value passed to EndModal, or -1 when it could not open.
    // A run its own buttons did not end (the thread was told to quit) gives IDCANCEL, so it
    // is never taken as confirmed.
    INT_PTR DoModal(HWND owner);
    // Creates the dialog as a child window (a form inside a frame).
    bool CreateChild(HWND parent);

protected:
    virtual bool OnInitDialog() { return true; }
    virtual bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    virtual void OnFinalDestroy() {}
    // Ends a modal run with the value DoModal returns.
    void EndModal(INT_PTR result);

private:
    static INT_PTR CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    int templateId_;
    HWND hwnd_ = nullptr;
    bool endedModal_ = false;
};

// Hears a control's messages ahead of the control's own procedure, through the common
// controls' subclassing: the control's user data stays its owner's, and other subclasses of
// the same control go on working beside it.
class ControlHook {
public:
    // True when it handled the message and set the result; false passes it on.
    using Handler =
        std::function<bool(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)>;

    ControlHook() = default;
    ~ControlHook() { Detach(); }
    ControlHook(const ControlHook&) = delete;
    ControlHook& operator=(const ControlHook&) = delete;

    // `destroyed` runs once the control has handled its last message (WM_NCDESTROY).
    bool Attach(HWND control, Handler handler, std::function<void()> destroyed = {});
    void Detach();
    bool Attached() const { return control_ != nullptr; }

private:
    static LRESULT CALLBACK
    Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR self);

    HWND control_ = nullptr;
    Handler handler_;
    std::function<void()> destroyed_;
};
