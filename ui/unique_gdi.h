#pragma once

#include <windows.h>

#include <commctrl.h>

#include <utility>

// Move-only owner of a USER, GDI or common-controls handle; Free is called once, on the
// handle it holds, when the owner goes or is reset.
template <class H, class Free>
class UniqueUiHandle {
public:
    UniqueUiHandle() = default;
    explicit UniqueUiHandle(H handle) : handle_(handle) {}
    ~UniqueUiHandle() { reset(); }
    UniqueUiHandle(UniqueUiHandle&& other) noexcept : handle_(other.release()) {}
    UniqueUiHandle& operator=(UniqueUiHandle&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }
    UniqueUiHandle(const UniqueUiHandle&) = delete;
    UniqueUiHandle& operator=(const UniqueUiHandle&) = delete;

    H get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    H release() { return std::exchange(handle_, nullptr); }
    void reset(H handle = nullptr) {
        if (handle_ != nullptr) {
            Free()(handle_);
        }
        handle_ = handle;
    }

private:
    H handle_ = nullptr;
};

struct MenuFree {
    void operator()(HMENU h) const { DestroyMenu(h); }
};
struct GdiObjectFree {
    void operator()(HGDIOBJ h) const { DeleteObject(h); }
};
struct ImageListFree {
    void operator()(HIMAGELIST h) const { ImageList_Destroy(h); }
};
struct IconFree {
    void operator()(HICON h) const { DestroyIcon(h); }
};
struct AcceleratorFree {
    void operator()(HACCEL h) const { DestroyAcceleratorTable(h); }
};

using UniqueMenu = UniqueUiHandle<HMENU, MenuFree>;
using UniqueBitmap = UniqueUiHandle<HBITMAP, GdiObjectFree>;
using UniqueRegion = UniqueUiHandle<HRGN, GdiObjectFree>;
using UniqueImageList = UniqueUiHandle<HIMAGELIST, ImageListFree>;
using UniqueAccelerators = UniqueUiHandle<HACCEL, AcceleratorFree>;
using UniqueFont = UniqueUiHandle<HFONT, GdiObjectFree>;
using UniqueIcon = UniqueUiHandle<HICON, IconFree>;

// A window's DC from GetDC, given back to that same window.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~WindowDc() {
        if (dc_ != nullptr) {
            ReleaseDC(hwnd_, dc_);
        }
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND hwnd_;
    HDC dc_;
};

// The DC of one WM_PAINT, from BeginPaint to EndPaint.
class PaintDc {
public:
    explicit PaintDc(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &paint_)) {}
    ~PaintDc() { EndPaint(hwnd_, &paint_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;

    HDC get() const { return dc_; }
    const PAINTSTRUCT& Paint() const { return paint_; }

private:
    HWND hwnd_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// A pen, brush, font or bitmap selected into a DC, and the object it replaced put back when
// this goes. Not for regions, whose selection returns no object.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object)
        : dc_(dc), old_(dc != nullptr && object != nullptr ? SelectObject(dc, object) : nullptr) {}
    ~SelectedObject() {
        if (old_ != nullptr && old_ != HGDI_ERROR) {
            SelectObject(dc_, old_);
        }
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};
