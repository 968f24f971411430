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
struct AcceleratorFree {
    void operator()(HACCEL h) const { DestroyAcceleratorTable(h); }
};

using UniqueMenu = UniqueUiHandle<HMENU, MenuFree>;
using UniqueBitmap = UniqueUiHandle<HBITMAP, GdiObjectFree>;
using UniqueImageList = UniqueUiHandle<HIMAGELIST, ImageListFree>;
using UniqueAccelerators = UniqueUiHandle<HACCEL, AcceleratorFree>;
