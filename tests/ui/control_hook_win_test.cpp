#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "ui/window.h"

namespace {

WNDPROC buttonProc = nullptr;

LRESULT CALLBACK Over(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcW(buttonProc, hwnd, message, wParam, lParam);
}

HWND CheckBox() {
    return CreateWindowExA(0, "BUTTON", "", WS_POPUP | BS_CHECKBOX, 0, 0, 80, 20, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}

TEST(ControlHookTest, HandlesWhatItTakesPassesTheRestOnAndHearsTheEnd) {
    HWND box = CheckBox();
    SetWindowLongPtrW(box, GWLP_USERDATA, 99);  // the owner's
    bool destroyed = false;
    ControlHook hook;
    ASSERT_TRUE(hook.Attach(
        box,
        [](UINT message, WPARAM, LPARAM, LRESULT& result) {
            result = 42;
            return message == WM_USER + 7;
        },
        [&] { destroyed = true; }));
    EXPECT_EQ(GetWindowLongPtrW(box, GWLP_USERDATA), 99);
    EXPECT_EQ(SendMessageA(box, WM_USER + 7, 0, 0), 42);
    SendMessageA(box, BM_SETCHECK, BST_CHECKED, 0);  // only the button knows these
    EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_CHECKED);
    DestroyWindow(box);
    EXPECT_TRUE(destroyed);
    EXPECT_FALSE(hook.Attached());
}

// A procedure set over the hook keeps calling it after the hook is gone: the control must
// still get every message, though the hook's owner is gone by then.
TEST(ControlHookTest, DetachedUnderAnotherProcedureStillPassesEverythingOn) {
    HWND box = CheckBox();
    bool destroyed = false;
    auto hook = std::make_unique<ControlHook>();
    ASSERT_TRUE(hook->Attach(
        box, [](UINT, WPARAM, LPARAM, LRESULT&) { return true; }, [&] { destroyed = true; }));
    buttonProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Over)));
    hook.reset();
    SendMessageA(box, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_CHECKED);
    DestroyWindow(box);
    EXPECT_FALSE(destroyed);
}

}  // namespace
