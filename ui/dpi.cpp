#include "ui/dpi.h"

#include "ui/unique_gdi.h"

namespace {

template <typename Function>
Function User32(const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), name)));
}

int SystemDpi() {
    WindowDc screen(nullptr);
    int dpi = screen.get() != nullptr ? GetDeviceCaps(screen.get(), LOGPIXELSX) : 0;
    return dpi > 0 ? dpi : static_cast<int>(kDesignDpi);
}

}  // namespace

UINT WindowDpi(HWND window) {
    static const auto forWindow = User32<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
    UINT dpi = forWindow != nullptr && window != nullptr ? forWindow(window) : 0;
    return dpi != 0 ? dpi : static_cast<UINT>(SystemDpi());
}

int MetricForDpi(int index, UINT dpi) {
    static const auto forDpi = User32<int(WINAPI*)(int, UINT)>("GetSystemMetricsForDpi");
    return forDpi != nullptr ? forDpi(index, dpi) : GetSystemMetrics(index);
}

void AdjustWindowRectForDpi(RECT& rect, DWORD style, bool menu, DWORD exStyle, UINT dpi) {
    static const auto forDpi =
        User32<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
    if (forDpi == nullptr || !forDpi(&rect, style, menu, exStyle, dpi)) {
        AdjustWindowRectEx(&rect, style, menu, exStyle);
    }
}

HFONT CreateStatusFont(UINT dpi) {
    static const auto forDpi =
        User32<BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT)>("SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    bool read = forDpi != nullptr &&
                forDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi) != FALSE;
    if (!read && SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        // Before Windows 10 1607 the system gives it at its own scale only.
        metrics.lfStatusFont.lfHeight =
            MulDiv(metrics.lfStatusFont.lfHeight, static_cast<int>(dpi), SystemDpi());
        read = true;
    }
    return read ? CreateFontIndirectW(&metrics.lfStatusFont) : nullptr;
}

void MoveToSuggestedRect(HWND window, LPARAM suggestedRect) {
    const RECT& r = *reinterpret_cast<const RECT*>(suggestedRect);
    SetWindowPos(window, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

HFONT CreateFontScaled(HWND window, UINT from, UINT to) {
    LOGFONTA description{};
    HFONT current = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
    if (current == nullptr || GetObjectA(current, sizeof(description), &description) == 0) {
        return nullptr;
    }
    description.lfHeight =
        MulDiv(description.lfHeight, static_cast<int>(to), static_cast<int>(from));
    description.lfWidth = MulDiv(description.lfWidth, static_cast<int>(to), static_cast<int>(from));
    return CreateFontIndirectA(&description);
}
