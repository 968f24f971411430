#include "engine/schedule_entry.h"

#include <gtest/gtest.h>

#include "tests/support/schedule.h"

TEST(ScheduleEntry, AssignCopiesEverythingButTheLatch) {
    ScheduleEntry src = MakeEntry(Yearly, 29, 1, 2024, 23, 59, 30, 31, 6, "C:\\a.dvs");
    src.title = "Nightly";
    src.parameters = "-x 5";
    src.fired = 1;
    ScheduleEntry dst;
    dst.Assign(src);
    EXPECT_EQ(dst.fired, 0);
    EXPECT_EQ(Fields(dst), Fields(src));
    dst.fired = 1;
    dst.Assign(ScheduleEntry{});  // an absent text clears the field
    EXPECT_EQ(dst.fired, 1);
    EXPECT_EQ(Fields(dst), Fields(ScheduleEntry{}));
}

TEST(ScheduleEntry, StoreTextKeepsAnEqualCopyAndLeavesEmptyAbsent) {
    std::string field = "Same text that is long enough to live on the heap";
    const char* before = field.data();
    StoreText(field, "Same text that is long enough to live on the heap");
    EXPECT_EQ(field.data(), before);
    StoreText(field, "same text that is long enough to live on the heap");
    EXPECT_EQ(field, "same text that is long enough to live on the heap");
    for (const char* empty : {"", static_cast<const char*>(nullptr)}) {
        StoreText(field, empty);
        EXPECT_TRUE(field.empty());
    }
}
