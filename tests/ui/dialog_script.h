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
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;

    DialogScript& Then(const char* caption, Action action) {
        steps_.push_back({caption, std::move(action)});
        return *this;
    }
    bool Finished() const { return next_ == steps_.size(); }

    // The open window of this thread with the caption, or nullptr.
    static HWND FindOpen(const std::string& caption) {
        struct Search {
            std::string caption;
            HWND found = nullptr;
        } search{caption};
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND hwnd, LPARAM param) -> BOOL {
                auto* s = reinterpret_cast<Search*>(param);
                char text[128] = {};
                GetWindowTextA(hwnd, text, sizeof(text));
                if (IsWindowVisible(hwnd) && IsWindowEnabled(hwnd) && s->caption == text) {
                    s->found = hwnd;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

private:
    struct Step {
        std::string caption;
        Action action;
    };

    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        DialogScript* self = current_;
        if (self == nullptr || self->Finished()) {
            return;
        }
        Step& step = self->steps_[self->next_];
        HWND window = FindOpen(step.caption);
        if (window == nullptr) {
            // A step that never comes must not leave the test hanging in a modal loop.
            if (++self->idleTicks_ > 250) {
                ADD_FAILURE() << "no window \"" << step.caption << "\" for step " << self->next_;
                self->next_ = self->steps_.size();
                for (const char* caption : {"Scheduler", "Schedule"}) {
                    if (HWND open = FindOpen(caption)) {
                        PostMessageA(open, WM_COMMAND, IDCANCEL, 0);
                    }
                }
            }
            return;
        }
        self->idleTicks_ = 0;
        ++self->next_;
        step.action(window);
    }

    static inline DialogScript* current_ = nullptr;
    UINT_PTR timer_ = 0;
    std::vector<Step> steps_;
    size_t next_ = 0;
    int idleTicks_ = 0;
};
