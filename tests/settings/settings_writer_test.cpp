#include <gtest/gtest.h>

#include "settings/protected_text.h"
#include "tests/settings/test_schema.h"

namespace {

TEST(SettingsWriter, EveryKindsLineFormat) {
    TestSettings settings;
    AllKinds v;
    v.text = "say \"hi\" \\ and\nbye";
    v.shortValue = 0;  // default 1: written
    v.flags = 5;
    v.longValue = -7;
    v.doubleValue = 2.5;
    v.int64Value = -9000000000;
    v.str = "plain";
    v.intValue = 42;
    v.secret = "pw";
    v.ulongValue = 4000000000u;
    v.when = SettingsDateTime::Make(2015, 1, 31, 23, 59, 0);
    std::string expected = TestHeader() +
                           "\n[Options]"
                           "\ntext=\"say \\\"hi\\\" \\\\ and\nbye\""
                           "\nshort=0"
                           "\nflags=101"
                           "\nlong=-7"
                           "\ndouble=2.50000"
                           "\nint64=-9000000000"
                           "\nstring=\"plain\""
                           "\nint=42"
                           "\nsecret=\"" +
                           protectText("pw") +
                           "\""
                           "\nulong=4000000000"
                           "\nwhen=20150131235900"
                           "\n";
    EXPECT_EQ(settings.File().Render(&v), Crlf(expected));
}

TEST(SettingsWriter, DefaultsAreLeftOutButFlagsAlwaysWrittenAndShortYearsPadded) {
    TestSettings settings;
    AllKinds v;
    v.shortValue = 1;
    EXPECT_EQ(settings.File().Render(&v), Crlf(TestHeader() + "\n[Options]\nflags=000\n"));
    // Without a base the single-record section is left out entirely.
    EXPECT_EQ(settings.File().Render(nullptr), Crlf(TestHeader()));
    // A year below 1000 is padded with blanks; midnight is a time like any other.
    v.when = SettingsDateTime::Make(99, 1, 31, 0, 0, 0);
    EXPECT_EQ(settings.File().Render(&v),
              Crlf(TestHeader() + "\n[Options]\nflags=000\nwhen=  990131000000\n"));
}

TEST(SettingsWriter, MultiRecordSectionClosesOnlyAfterValueLines) {
    TestSettings settings;
    settings.items = {{"", 0}, {"", 0}};
    EXPECT_EQ(settings.File().Render(nullptr), Crlf(TestHeader() + "\n[Item]\n[Item]"));
    settings.items = {{"one", 0}, {"", 3}};
    EXPECT_EQ(settings.File().Render(nullptr),
              Crlf(TestHeader() + "\n[Item]\nname=\"one\"\n[Item]\ncount=3\n"));
    settings.items = {{"", 3}};
    EXPECT_EQ(settings.File().Render(nullptr), Crlf(TestHeader() + "\n[Item]\ncount=3\n"));
}

TEST(SettingsWriter, EmptyPathWritesNothing) {
    TestSettings settings;
    EXPECT_FALSE(settings.File().Save(nullptr, false));
    EXPECT_FALSE(settings.File().SaveAs(nullptr, "", false));
    EXPECT_EQ(settings.File().Path(), "");
}

}  // namespace
