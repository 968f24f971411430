#pragma once

#include "ui/models/pixel_rect.h"

#include <vector>

// Where the toolbar lives, and how it is laid out there: docked along a side of the frame's
// client area, or floating in a small tool window of its own, its buttons wrapped into rows.

enum class DockSide { Top, Bottom, Left, Right, Floating };

inline bool IsVerticalSide(DockSide side) {
    return side == DockSide::Left || side == DockSide::Right;
}

struct DockPoint {
    int x = 0;
    int y = 0;
};

using DockRect = PixelRect;

// The side a bar dropped at `point` docks on: the nearest edge of `area` (the frame's client
// area above the status bar) when the point lies within `reach` pixels of it, inside or
// outside; Floating elsewhere, or whenever `floatWanted` (Ctrl held).
DockSide DropSide(const DockRect& area, DockPoint point, int reach, bool floatWanted);

// `area` shared between a bar `thickness` pixels across, along `side`, and the content; a
// floating bar takes nothing, and the content never has a negative size.
struct FrameTiles {
    DockRect bar;
    DockRect content;
};
FrameTiles TileFrame(const DockRect& area, DockSide side, int thickness);

// The items of a bar, in order: a button's command id, 0 for a separator.
// Which items end a row when at most `columns` buttons share one. A row ends at a separator
// that follows its last button, so that no row starts with one; one column stacks every
// item, each separator on a row of its own.
std::vector<bool> RowEnds(const std::vector<int>& items, int columns);

// The most columns whose rows fit `width` pixels (at least one), for buttons and separators
// of the given widths.
int ColumnsForWidth(const std::vector<int>& items, int width, int buttonWidth, int separatorWidth);
