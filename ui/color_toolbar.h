#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "ui/command_target.h"
#include "ui/unique_gdi.h"

// A toolbar whose button images come from 24-bit colour strips: one strip per state (normal,
// hot, disabled), each holding the images in button order on a transparent colour, which is
// the colour of the strip's first stored pixel.
class CColorToolBar {
public:
    CColorToolBar() = default;
    ~CColorToolBar();
    CColorToolBar(const CColorToolBar&) = delete;
    CColorToolBar& operator=(const CColorToolBar&) = delete;

    // A flat toolbar with tooltips, placed and sized by its parent.
    bool Create(HWND parent, int id);
    // Buttons from the layout resource and default images from the bitmap of the same id.
    bool LoadToolBar(int resourceId);
    // Installs the normal, hot and disabled image lists of square images `buttonSize` pixels
    // across in this order (0 skips the hot or disabled strip), and sizes the buttons to them;
    // stops with false at the first list that cannot be made.
    bool SetToolBarImages(int buttonSize, int normalId, int hotId, int disabledId);

    // Applies each button's enabled and checked state as the query answers it.
    void UpdateButtons(const std::function<CommandState(int id)>& query);

    HWND Handle() const { return hwnd_; }
    const std::vector<int>& ButtonIds() const { return ids_; }

private:
    bool installStrip(int buttonSize, int bitmapId, UINT message);

    HWND hwnd_ = nullptr;
    std::vector<int> ids_;  // 0 for a separator
    // The toolbar does not free the lists it is given: normal, hot, disabled.
    UniqueImageList lists_[3];  // 0 for a separator
};

// The transparent colour of a strip from its first three stored bytes (blue, green, red),
// in the 0x00BBGGRR layout.
COLORREF StripTransparentColour(const unsigned char* firstPixel);
