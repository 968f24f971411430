#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "resources/resource_ids.h"
#include "ui/failure_trace.h"
#include "ui/window.h"

namespace {

constexpr UINT kFail = WM_USER + 9;
const char* const kNoSuchClass = "SchedulerTestNoSuchClass";

bool Fail(UINT message) {
    if (message == kFail) {
        SetLastError(ERROR_ACCESS_DENIED);
        throw std::runtime_error("out of paper");
    }
    return false;
}

// Refuses itself when told to, once a part of it could not be made; its cleanup fails too.
struct TestWindow : Window {
    bool refuse = false;
    bool Create(const char* className = RegisterClassOnce("SchedulerTestWindow", 0, 0)) {
        return CreateWin(0, className, "", WS_POPUP, 0, 0);
    }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_CREATE && refuse) {
            CreateWindowExA(0, kNoSuchClass, "", WS_CHILD, 0, 0, 1, 1, Handle(), 0, 0, 0);
            return -1;
        }
        return Fail(message) ? 0 : Default(message, wParam, lParam);
    }
    void OnFinalDestroy() override { KillTimer(nullptr, 1); }
};

struct TestDialog : Dialog {
    TestDialog() : Dialog(IDD_ABOUTBOX) {}
    bool HandleMessage(UINT message, WPARAM, LPARAM, LRESULT&) override { return Fail(message); }
};

TEST(WindowTest, CreateWinLeavesItsCallerWhyItFailed) {
    TestWindow bySystem, byItself;
    byItself.refuse = true;
    EXPECT_FALSE(bySystem.Create(kNoSuchClass));
    const DWORD noSuchClass = GetLastError();
    EXPECT_FALSE(byItself.Create());
    EXPECT_EQ(GetLastError(), noSuchClass);
}

TEST(WindowTest, WhatAProcedureCatchesLeavesATrace) {
    std::string trace;
    SetFailureTraceForTesting([&](const std::string& line) { trace += line; });
    TestWindow window;
    ASSERT_TRUE(window.Create());
    TestDialog dialog;
    ASSERT_TRUE(dialog.CreateChild(window.Handle()));
    ControlHook hook;
    ASSERT_TRUE(
        hook.Attach(dialog.Handle(), [](UINT m, WPARAM, LPARAM, LRESULT&) { return Fail(m); }));
    SendMessageA(window.Handle(), kFail, 0, 0);
    SendMessageA(dialog.Handle(), kFail, 0, 0);  // the hook first, then the dialog
    for (std::string where : {"window procedure", "dialog procedure", "control hook"}) {
        where += " dropped out of paper at message 0x0409; system error 5";
        EXPECT_NE(trace.find(where), std::string::npos) << trace;
    }
    SetFailureTraceForTesting(nullptr);
}

}  // namespace
