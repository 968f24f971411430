#pragma once

#include <windows.h>

#include <functional>

// Tracks a popup menu with the right button at a screen point, owned by a window; the chosen
// command reaches the owner as WM_COMMAND. Tests put a tracker of their own in its place,
// since the real one waits for the user.
void TrackPopup(HMENU menu, HWND owner, POINT at);

using PopupTracker = std::function<void(HMENU menu, HWND owner, POINT at)>;
// nullptr restores the real tracking.
void SetPopupTrackerForTesting(PopupTracker tracker);
