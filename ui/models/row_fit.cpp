#include "ui/models/row_fit.h"

#include <algorithm>

namespace {

// Pushes each span right of the one before it.
void PushRight(std::vector<RowSpan>& spans, int gap) {
    for (std::size_t i = 1; i < spans.size(); ++i) {
        spans[i].left = std::max(spans[i].left, spans[i - 1].left + spans[i - 1].width + gap);
    }
}

}  // namespace

void FitRow(std::vector<RowSpan>& spans, int width, int gap) {
    if (spans.empty()) {
        return;
    }
    PushRight(spans, gap);
    // Pulled back from the right edge into the gaps before.
    RowSpan& last = spans.back();
    last.left = std::min(last.left, width - last.width);
    for (std::size_t i = spans.size() - 1; i-- > 0;) {
        spans[i].left = std::min(spans[i].left, spans[i + 1].left - gap - spans[i].width);
    }
    if (spans.front().left < 0) {
        spans.front().left = 0;
        PushRight(spans, gap);
    }
}
