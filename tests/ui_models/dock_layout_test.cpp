#include "ui/models/dock_layout.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Buttons 1..5 in three groups, as on the main toolbar.
const std::vector<int> kItems = {1, 2, 0, 3, 4, 0, 5};

TEST(DockLayout, RowsNeverStartWithASeparator) {
    struct Case {
        int columns;
        std::vector<bool> ends;
    };
    const Case cases[] = {
        {1, {true, true, true, true, true, true, true}},
        {2, {false, false, true, false, false, true, false}},
        {3, {false, false, false, true, false, false, false}},
        {5, {false, false, false, false, false, false, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.columns);
        EXPECT_EQ(RowEnds(kItems, c.columns), c.ends);
    }
}

TEST(DockLayout, DropsDockAtTheNearestEdgeWithinReach) {
    const DockRect area{100, 100, 500, 400};
    struct Case {
        DockPoint point;
        bool floatWanted;
        DockSide side;
    } cases[] = {
        {{300, 80}, false, DockSide::Top},       {{300, 420}, false, DockSide::Bottom},
        {{80, 250}, false, DockSide::Left},      {{520, 250}, false, DockSide::Right},
        {{300, 79}, false, DockSide::Floating},  {{300, 421}, false, DockSide::Floating},
        {{79, 250}, false, DockSide::Floating},  {{521, 250}, false, DockSide::Floating},
        {{300, 121}, false, DockSide::Floating}, {{300, 100}, true, DockSide::Floating},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.point.x << "," << c.point.y);
        EXPECT_EQ(DropSide(area, c.point, 20, c.floatWanted), c.side);
    }
}

TEST(DockLayout, ColumnsFitTheWidthCountingOnlyInnerSeparators) {
    struct Case {
        int width;
        int columns;
    };
    // Buttons 23 wide, separators 8: one row is 131 wide.
    const Case cases[] = {{131, 5}, {130, 4}, {100, 4}, {99, 3}, {46, 2}, {45, 1}, {0, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        EXPECT_EQ(ColumnsForWidth(kItems, c.width, 23, 8), c.columns);
    }
}

TEST(DockLayout, TheBarAndTheContentTileTheArea) {
    const DockRect area{0, 30, 400, 300};
    struct Case {
        DockSide side;
        int thickness;
        DockRect bar;
        DockRect content;
    };
    const Case cases[] = {
        {DockSide::Top, 26, {0, 30, 400, 56}, {0, 56, 400, 300}},
        {DockSide::Bottom, 26, {0, 274, 400, 300}, {0, 30, 400, 274}},
        {DockSide::Left, 30, {0, 30, 30, 300}, {30, 30, 400, 300}},
        {DockSide::Right, 30, {370, 30, 400, 300}, {0, 30, 370, 300}},
        {DockSide::Top, 500, {0, 30, 400, 300}, {0, 300, 400, 300}},
        {DockSide::Floating, 26, {0, 30, 0, 30}, {0, 30, 400, 300}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.side));
        FrameTiles tiles = TileFrame(area, c.side, c.thickness);
        EXPECT_EQ(tiles.bar, c.bar);
        EXPECT_EQ(tiles.content, c.content);
    }
}

}  // namespace
