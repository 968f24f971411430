#include "diag/report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(ReportMessage, DiscardsAndReturnsOne) {
    EXPECT_EQ(ReportMessage("Load settings - OK", 0x20), 1);
    EXPECT_EQ(ReportMessage(nullptr, 0x820), 1);
    EXPECT_EQ(ReportMessagef(0x20, "Save settings '%s'...", "x"), 1);
}

TEST(ReportMessage, TestSinkSeesFormattedTextAndLevel) {
    std::vector<std::pair<std::string, unsigned>> seen;
    SetReportSinkForTesting([&](const char* text, std::uint32_t level) {
        seen.emplace_back(text, level);
    });
    ReportMessagef(0x822, "Could not write to file '%s'.\nAccess is denied.", "C:\\a.cfg");
    ReportMessage(nullptr, 0x20);
    ReportMessagef(0x20, "%c", 'x');
    SetReportSinkForTesting(nullptr);
    ReportMessage("after", 0x20);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].first, "Could not write to file 'C:\\a.cfg'.\nAccess is denied.");
    EXPECT_EQ(seen[0].second, 0x822u);
    EXPECT_EQ(seen[1].first, "");
    EXPECT_EQ(seen[2].first, "x");
}
