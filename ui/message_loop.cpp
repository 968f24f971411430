#include "ui/message_loop.h"

#include <windows.h>

#include "ui/frame_window.h"

namespace {

void Dispatch(MSG& msg, FrameWindow* frame) {
    if (frame != nullptr && frame->Handle() != nullptr) {
        // Esc calls a drag of the toolbar off, wherever the focus is.
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE && frame->DockBar().CancelDrag()) {
            return;
        }
        HACCEL accelerators = frame->Accelerators();
        if (accelerators != nullptr &&
            TranslateAcceleratorA(frame->Handle(), accelerators, &msg) != 0) {
            return;
        }
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

void Idle(FrameWindow* frame) {
    if (frame != nullptr && frame->Handle() != nullptr) {
        frame->OnIdle();
    }
}

}  // namespace

int RunMessageLoop(FrameWindow& frame) {
    MSG msg{};
    for (;;) {
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            Idle(&frame);
        }
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            return got == 0 ? static_cast<int>(msg.wParam) : 1;
        }
        Dispatch(msg, &frame);
    }
}

bool PumpMessages(FrameWindow* frame) {
    MSG msg{};
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            return false;
        }
        Dispatch(msg, frame);
    }
    Idle(frame);
    return true;
}
