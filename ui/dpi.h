#pragma once

#include <windows.h>

// The display scale a window is drawn at, and pixel sizes at that scale. The per-monitor calls
// of Windows 10 are looked up at run time: Windows 7 and 8 have only the system's DPI.

constexpr UINT kDesignDpi = 96;  // the scale every size in the code is given at (100 %)

// The window's DPI: its monitor's from Windows 10 1607, the system's before.
UINT WindowDpi(HWND window);

// `pixels` at 96 DPI, at `dpi`.
inline int Scaled(int pixels, UINT dpi) {
    return MulDiv(pixels, static_cast<int>(dpi), kDesignDpi);
}

// GetSystemMetrics at a DPI.
int MetricForDpi(int index, UINT dpi);

// AdjustWindowRectEx at a DPI.
void AdjustWindowRectForDpi(RECT& rect, DWORD style, bool menu, DWORD exStyle, UINT dpi);

// The status bar's font as the system sizes it at a DPI; nullptr when it cannot be made.
HFONT CreateStatusFont(UINT dpi);

// Takes the rectangle WM_DPICHANGED suggests (its lParam): where the user moved the window,
// at the new scale.
void MoveToSuggestedRect(HWND window, LPARAM suggestedRect);

// The window's font made anew for another scale: its size times `to` / `from`; nullptr when
// the window has no font or it cannot be made.
HFONT CreateFontScaled(HWND window, UINT from, UINT to);
