#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

// Plays the user's part in the modal windows this thread opens: each step waits for an
// enabled, visible top-level window of this thread with its caption, then acts on it. The
// steps run from a thread timer, which every modal loop dispatches, so an action that opens
// another modal window (a message box) lets the next step run inside it.
class DialogScript {
public:
    using Action = std::function<void(HWND)>;

    DialogScript() {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 20, &DialogScript::Tick);
    }
    ~DialogScript() {
        EXPECT_TRUE(Finished()) << "the script stopped at step " << next_;
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;

    DialogScript& Then(const char* caption, Action action) {
        steps_.push_back({caption, std::move(action)});
        return *this;
    }
    bool Finished() const { return next_ == steps_.size(); }  // checked when it goes

    // The open dialog or message box of this thread with the caption, or nullptr.
    static HWND FindOpen(const std::string& caption) {
        HWND window = FindWindowA("#32770", caption.c_str());
        bool ours = GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId();
        return ours && IsWindowVisible(window) && IsWindowEnabled(window) ? window : nullptr;
    }

    // The text of a message box of this thread.
    static std::string MessageText(HWND box) {
        char text[1024] = {};
        GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));
        return text;
    }

private:
    struct Step {
        std::string caption;
        Action action;
    };

    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        DialogScript* self = current_;
        HWND window = nullptr;
        if (self == nullptr) {
            return;
        }
        if (self->Finished() || (window = FindOpen(self->steps_[self->next_].caption)) == nullptr) {
            // A window left open or never opened must not keep the test in a modal loop.
            if (++self->idleTicks_ == 250) {
                ADD_FAILURE() << "the windows did not follow the script at step " << self->next_;
            }
            if (self->idleTicks_ >= 250) {
                PostMessageA(GetActiveWindow(), WM_COMMAND, IDCANCEL, 0);
            }
            return;
        }
        self->idleTicks_ = 0;
        self->steps_[self->next_++].action(window);
    }

    static inline DialogScript* current_ = nullptr;
    UINT_PTR timer_ = 0;
    std::vector<Step> steps_;
    size_t next_ = 0;
    int idleTicks_ = 0;
};
