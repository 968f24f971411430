#pragma once

class FrameWindow;

// Runs the messages of this thread until WM_QUIT and returns its exit code: Esc for a toolbar
// drag and accelerators of the frame first, dialog keys of its content, then ordinary dispatch; the frame's idle work
// each time the queue runs empty.
int RunMessageLoop(FrameWindow& frame);

// Handles the messages waiting now, then the idle work once. False when WM_QUIT came.
bool PumpMessages(FrameWindow* frame);
