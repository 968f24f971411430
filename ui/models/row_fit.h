#pragma once

#include <vector>

// One control's place along a row of a form: its left edge and its width, in pixels.
struct RowSpan {
    int left = 0;
    int width = 0;
    friend bool operator==(const RowSpan&, const RowSpan&) = default;
};

// Places the controls of a row (in order, left to right) after some of them grew to show their
// whole text: each stays where it was when it can, none comes closer than `gap` to the one
// before, and all stay within [0, width] where together they fit; where they cannot, the row
// starts at 0 and the last one runs over.
void FitRow(std::vector<RowSpan>& spans, int width, int gap);
