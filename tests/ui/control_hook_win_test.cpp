#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ui/window.h"

namespace {

WNDPROC buttonProc = nullptr;
int overCalls = 0;

LRESULT CALLBACK Over(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    ++overCalls;
    return CallWindowProcW(buttonProc, hwnd, message, wParam, lParam);
}

std::string Text(HWND hwnd) {
    char text[64] = {};
    GetWindowTextA(hwnd, text, sizeof(text));
    return text;
}

class ControlHookTest : public ::testing::Test {
protected:
    void SetUp() override {
        button_ = CreateWindowExA(0, "BUTTON", "one", WS_POPUP | BS_CHECKBOX, 0, 0, 80, 20, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(button_, nullptr);
    }
    void TearDown() override {
        if (IsWindow(button_)) {
            DestroyWindow(button_);
        }
    }
    HWND button_ = nullptr;
};

TEST_F(ControlHookTest, HandlesWhatItTakesAndPassesTheRestOn) {
    int seen = 0;
    ControlHook hook;
    ASSERT_TRUE(hook.Attach(button_, [&](UINT message, WPARAM, LPARAM, LRESULT& result) {
        if (message == WM_USER + 7) {
            result = 42;
            return true;
        }
        ++seen;
        return false;
    }));
    EXPECT_FALSE(ControlHook().Attach(button_, {}));  // the user data is taken
    EXPECT_EQ(SendMessageA(button_, WM_USER + 7, 0, 0), 42);
    SetWindowTextA(button_, "two");
    EXPECT_EQ(Text(button_), "two");
    EXPECT_GT(seen, 0);
    hook.Detach();
    EXPECT_EQ(GetWindowLongPtrW(button_, GWLP_USERDATA), 0);
    EXPECT_EQ(SendMessageA(button_, WM_USER + 7, 0, 0), 0);
}

// A procedure set over the hook keeps calling it after the hook is gone: the control must
// still get every message, and the hook's owner may be gone by then.
TEST_F(ControlHookTest, DetachedUnderAnotherProcedureStillPassesEverythingOn) {
    bool destroyed = false;
    auto hook = std::make_unique<ControlHook>();
    ASSERT_TRUE(hook->Attach(
        button_, [](UINT, WPARAM, LPARAM, LRESULT&) { return false; },
        [&] { destroyed = true; }));
    buttonProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(button_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Over)));
    hook.reset();
    overCalls = 0;
    SendMessageA(button_, BM_SETCHECK, BST_CHECKED, 0);  // only the button knows these
    EXPECT_EQ(SendMessageA(button_, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_GT(overCalls, 0);
    DestroyWindow(button_);
    EXPECT_FALSE(destroyed);  // detached before: nothing of the hook runs
    EXPECT_EQ(GetPropW(button_, L"SchedulerHookPassOn"), nullptr);
}

TEST_F(ControlHookTest, TellsItsOwnerWhenTheControlIsDestroyed) {
    bool destroyed = false;
    ControlHook hook;
    ASSERT_TRUE(hook.Attach(
        button_, [](UINT, WPARAM, LPARAM, LRESULT&) { return false; },
        [&] { destroyed = true; }));
    DestroyWindow(button_);
    EXPECT_TRUE(destroyed);
    EXPECT_FALSE(hook.Attached());
}

}  // namespace
