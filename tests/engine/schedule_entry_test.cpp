#include "engine/schedule_entry.h"

#include <gtest/gtest.h>

TEST(ScheduleEntry, BlankEntryIsAllZeroAndAbsent) {
    ScheduleEntry e;
    EXPECT_EQ(e.enable, 0);
    EXPECT_EQ(e.type, Once);
    EXPECT_EQ(e.fired, 0);
    EXPECT_TRUE(e.title.empty() && e.file.empty() && e.parameters.empty());
}

TEST(ScheduleEntry, AssignCopiesEverythingButTheLatch) {
    ScheduleEntry src;
    src.enable = 1;
    src.title = "Nightly";
    src.file = "C:\\a.dvs";
    src.parameters = "-x 5";
    src.type = Yearly;
    src.day = 29;
    src.month = 1;
    src.year = 2024;
    src.hour = 23;
    src.min = 59;
    src.sec = 30;
    src.days_week = 31;
    src.nday_week = 6;
    src.fired = 1;

    ScheduleEntry dst;
    dst.fired = 0;
    dst.Assign(src);
    EXPECT_EQ(dst.fired, 0);
    dst.fired = 1;
    ScheduleEntry again = src;
    again.fired = 0;
    dst.Assign(again);
    EXPECT_EQ(dst.fired, 1);

    EXPECT_EQ(dst.title, "Nightly");
    EXPECT_EQ(dst.file, "C:\\a.dvs");
    EXPECT_EQ(dst.parameters, "-x 5");
    EXPECT_EQ(dst.enable, 1);
    EXPECT_EQ(dst.type, Yearly);
    EXPECT_EQ(dst.day, 29);
    EXPECT_EQ(dst.month, 1);
    EXPECT_EQ(dst.year, 2024);
    EXPECT_EQ(dst.hour, 23);
    EXPECT_EQ(dst.min, 59);
    EXPECT_EQ(dst.sec, 30);
    EXPECT_EQ(dst.days_week, 31);
    EXPECT_EQ(dst.nday_week, 6);
}

TEST(ScheduleEntry, EmptyTextLeavesFieldAbsent) {
    ScheduleEntry dst;
    dst.parameters = "-old";
    ScheduleEntry src;  // parameters absent
    dst.Assign(src);
    EXPECT_TRUE(dst.parameters.empty());
    StoreText(dst.title, "");
    EXPECT_TRUE(dst.title.empty());
    StoreText(dst.title, nullptr);
    EXPECT_TRUE(dst.title.empty());
}

TEST(ScheduleEntry, EqualTextKeepsTheCurrentCopy) {
    std::string field = "Same text that is long enough to live on the heap";
    const char* before = field.data();
    StoreText(field, "Same text that is long enough to live on the heap");
    EXPECT_EQ(field.data(), before);
    StoreText(field, "same text that is long enough to live on the heap");
    EXPECT_EQ(field, "same text that is long enough to live on the heap");
}

TEST(ScheduleEntry, ReleaseFreesTexts) {
    ScheduleEntry e;
    e.title = "t";
    e.file = "f";
    e.parameters = "p";
    e.Release();
    EXPECT_TRUE(e.title.empty() && e.file.empty() && e.parameters.empty());
}
