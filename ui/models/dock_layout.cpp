#include "ui/models/dock_layout.h"

#include <algorithm>
#include <cstdlib>

DockSide DropSide(const DockRect& area, DockPoint point, int reach, bool floatWanted) {
    if (floatWanted || point.x < area.left - reach || point.x > area.right + reach ||
        point.y < area.top - reach || point.y > area.bottom + reach) {
        return DockSide::Floating;
    }
    struct Edge {
        DockSide side;
        int distance;
    } edges[] = {{DockSide::Top, std::abs(point.y - area.top)},
                 {DockSide::Bottom, std::abs(point.y - area.bottom)},
                 {DockSide::Left, std::abs(point.x - area.left)},
                 {DockSide::Right, std::abs(point.x - area.right)}};
    const Edge* nearest = std::min_element(std::begin(edges), std::end(edges),
                                           [](const Edge& a, const Edge& b) {
                                               return a.distance < b.distance;
                                           });
    return nearest->distance <= reach ? nearest->side : DockSide::Floating;
}

FrameTiles TileFrame(const DockRect& area, DockSide side, int thickness) {
    FrameTiles tiles{{area.left, area.top, area.left, area.top}, area};
    DockRect& bar = tiles.bar;
    DockRect& content = tiles.content;
    const int across = IsVerticalSide(side) ? area.Width() : area.Height();
    const int t = std::clamp(thickness, 0, std::max(across, 0));
    switch (side) {
        case DockSide::Top:
            bar = {area.left, area.top, area.right, area.top + t};
            content.top = bar.bottom;
            break;
        case DockSide::Bottom:
            bar = {area.left, area.bottom - t, area.right, area.bottom};
            content.bottom = bar.top;
            break;
        case DockSide::Left:
            bar = {area.left, area.top, area.left + t, area.bottom};
            content.left = bar.right;
            break;
        case DockSide::Right:
            bar = {area.right - t, area.top, area.right, area.bottom};
            content.right = bar.left;
            break;
        case DockSide::Floating:
            break;
    }
    content.right = std::max(content.right, content.left);
    content.bottom = std::max(content.bottom, content.top);
    return tiles;
}

std::vector<bool> RowEnds(const std::vector<int>& items, int columns) {
    std::vector<bool> ends(items.size(), false);
    int inRow = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i] == 0) {
            // A separator ends the row it follows when that row is full.
            ends[i] = columns <= 1 || inRow >= columns;
            inRow = ends[i] ? 0 : inRow;
            continue;
        }
        ++inRow;
        bool separatorNext = i + 1 < items.size() && items[i + 1] == 0;
        if (inRow >= columns && (!separatorNext || columns <= 1)) {
            ends[i] = true;
            inRow = 0;
        }
    }
    return ends;
}

int ColumnsForWidth(const std::vector<int>& items, int width, int buttonWidth, int separatorWidth) {
    const int buttons = static_cast<int>(std::count_if(items.begin(), items.end(),
                                                       [](int id) { return id != 0; }));
    for (int columns = std::max(buttons, 1); columns > 1; --columns) {
        std::vector<bool> ends = RowEnds(items, columns);
        int row = 0;
        int widest = 0;
        for (size_t i = 0; i < items.size(); ++i) {
            // A separator that ends a row is drawn across it and takes no width.
            if (!(items[i] == 0 && ends[i])) {
                row += items[i] != 0 ? buttonWidth : separatorWidth;
            }
            widest = std::max(widest, row);
            if (ends[i]) {
                row = 0;
            }
        }
        if (widest <= width) {
            return columns;
        }
    }
    return 1;
}
