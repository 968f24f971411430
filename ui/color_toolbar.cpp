#include "ui/color_toolbar.h"

#include <commctrl.h>

#include <cstdint>
#include <utility>

#include "resources/resource_ids.h"
#include "ui/unique_gdi.h"

namespace {

HINSTANCE ModuleInstance() {
    return GetModuleHandleA(nullptr);
}

}  // namespace

COLORREF StripTransparentColour(const unsigned char* firstPixel) {
    return RGB(firstPixel[2], firstPixel[1], firstPixel[0]);
}

CColorToolBar::~CColorToolBar() {
    // The window normally went with its parent; the image lists go after it.
    if (hwnd_ != nullptr && IsWindow(hwnd_)) {
        DestroyWindow(hwnd_);
    }
}

bool CColorToolBar::Create(HWND parent, int id) {
    hwnd_ = CreateWindowExA(0, TOOLBARCLASSNAMEA, "",
                            WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS |
                                CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER,
                            0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                            ModuleInstance(), nullptr);
    if (hwnd_ == nullptr) {
        return false;
    }
    SendMessageA(hwnd_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    return true;
}

bool CColorToolBar::LoadToolBar(int resourceId) {
    HRSRC found = FindResourceA(ModuleInstance(), MAKEINTRESOURCEA(resourceId),
                                MAKEINTRESOURCEA(RT_TOOLBAR_LAYOUT));
    HGLOBAL loaded = found ? LoadResource(ModuleInstance(), found) : nullptr;
    const auto* words = loaded ? static_cast<const std::uint16_t*>(LockResource(loaded)) : nullptr;
    DWORD bytes = found ? SizeofResource(ModuleInstance(), found) : 0;
    // Version 1, width, height, count, then the ids.
    if (words == nullptr || bytes < 8 || words[0] != 1 || bytes < 8u + 2u * words[3]) {
        return false;
    }
    int width = words[1];
    int height = words[2];
    ids_.assign(words + 4, words + 4 + words[3]);
    SendMessageA(hwnd_, TB_SETBITMAPSIZE, 0, MAKELPARAM(width, height));
    if (!installStrip(width, resourceId, TB_SETIMAGELIST)) {
        return false;
    }
    std::vector<TBBUTTON> buttons;
    int image = 0;
    for (int id : ids_) {
        TBBUTTON b{};
        if (id == 0) {
            b.fsStyle = BTNS_SEP;
        } else {
            b.iBitmap = image++;
            b.idCommand = id;
            b.fsState = TBSTATE_ENABLED;
            b.fsStyle = BTNS_BUTTON;
        }
        buttons.push_back(b);
    }
    SendMessageA(hwnd_, TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    SendMessageA(hwnd_, TB_AUTOSIZE, 0, 0);
    return true;
}

bool CColorToolBar::installStrip(int buttonSize, int bitmapId, UINT message) {
    UniqueBitmap bitmap(
        static_cast<HBITMAP>(LoadImageA(ModuleInstance(), MAKEINTRESOURCEA(bitmapId), IMAGE_BITMAP,
                                        0, 0, LR_CREATEDIBSECTION | LR_DEFAULTSIZE)));
    BITMAP header{};
    if (!bitmap || GetObjectA(bitmap.get(), sizeof(header), &header) == 0 ||
        header.bmBits == nullptr || buttonSize <= 0) {
        return false;
    }
    COLORREF transparent = StripTransparentColour(static_cast<unsigned char*>(header.bmBits));
    UniqueImageList list(ImageList_Create(buttonSize, header.bmHeight, ILC_COLOR24 | ILC_MASK,
                                          header.bmWidth / buttonSize, 0));
    if (!list || ImageList_AddMasked(list.get(), bitmap.get(), transparent) < 0) {
        return false;
    }
    SendMessageA(hwnd_, message, 0, reinterpret_cast<LPARAM>(list.get()));
    int slot = message == TB_SETIMAGELIST ? 0 : message == TB_SETHOTIMAGELIST ? 1 : 2;
    lists_[slot] = std::move(list);  // frees the list it replaces
    return true;
}

bool CColorToolBar::SetToolBarImages(int buttonSize, int normalId, int hotId, int disabledId) {
    if (!installStrip(buttonSize, normalId, TB_SETIMAGELIST)) {
        return false;
    }
    // The buttons take the images' size with the toolbar's own padding around them.
    SendMessageA(hwnd_, TB_SETBITMAPSIZE, 0, MAKELPARAM(buttonSize, buttonSize));
    const LRESULT padding = SendMessageA(hwnd_, TB_GETPADDING, 0, 0);
    SendMessageA(hwnd_, TB_SETBUTTONSIZE, 0,
                 MAKELPARAM(buttonSize + LOWORD(padding), buttonSize + HIWORD(padding)));
    SendMessageA(hwnd_, TB_AUTOSIZE, 0, 0);
    if (hotId != 0 && !installStrip(buttonSize, hotId, TB_SETHOTIMAGELIST)) {
        return false;
    }
    if (disabledId != 0 && !installStrip(buttonSize, disabledId, TB_SETDISABLEDIMAGELIST)) {
        return false;
    }
    InvalidateRect(hwnd_, nullptr, TRUE);
    return true;
}

void CColorToolBar::UpdateButtons(const std::function<CommandState(int id)>& query) {
    for (int id : ids_) {
        if (id == 0) {
            continue;
        }
        CommandState state = query(id);
        SendMessageA(hwnd_, TB_ENABLEBUTTON, id, MAKELPARAM(state.enabled ? TRUE : FALSE, 0));
        SendMessageA(hwnd_, TB_CHECKBUTTON, id, MAKELPARAM(state.checked ? TRUE : FALSE, 0));
    }
}
