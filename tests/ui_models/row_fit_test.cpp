#include "ui/models/row_fit.h"

#include <gtest/gtest.h>

TEST(FitRow, GrownControlsPushTheirNeighboursThenComeBackWithinTheRow) {
    struct Case {
        std::vector<RowSpan> spans;
        int width;
        std::vector<int> lefts;
    } cases[] = {
        {{{0, 50}, {60, 30}}, 100, {0, 60}},                 // nothing grew
        {{{0, 70}, {60, 30}}, 110, {0, 74}},                 // pushed right, still inside
        {{{0, 20}, {40, 60}, {95, 30}}, 130, {0, 36, 100}},  // pushed, then back into gaps
        {{{0, 10}, {15, 40}, {70, 40}}, 100, {0, 15, 60}},   // the last pulled in from the edge
        {{{0, 60}, {60, 60}}, 100, {0, 64}},                 // no room: starts at 0, runs over
        {{{5, 90}}, 90, {0}},                                // exactly the row's width
    };
    for (Case& c : cases) {
        FitRow(c.spans, c.width, 4);
        std::vector<int> lefts;
        for (const RowSpan& s : c.spans) {
            lefts.push_back(s.left);
        }
        EXPECT_EQ(lefts, c.lefts) << c.width;
    }
}
