#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <vector>

#include "settings/protected_text.h"
#include "tests/settings/test_schema.h"
#include "tests/support/temp_dir.h"

namespace {

using Check = std::function<void(const TestSettings&, const AllKinds&)>;

struct Case {
    const char* name;
    std::string text;  // after "FormatVersion=1.0\n" unless it starts with "!"
    bool loads;
    Check check;
    std::string report = "";  // a report the load must make
};

void Items(const TestSettings& s, std::vector<std::string> names) {
    ASSERT_EQ(s.items.size(), names.size());
    for (size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(s.items[i].name, names[i]);
    }
}

// A check that the list holds records of these names.
Check Names(std::vector<std::string> names) {
    return [names](const TestSettings& s, const AllKinds&) { Items(s, names); };
}

// A check that the list holds records of these counts.
Check Counts(std::vector<int> counts) {
    return [counts](const TestSettings& s, const AllKinds&) {
        ASSERT_EQ(s.items.size(), counts.size());
        for (size_t i = 0; i < counts.size(); ++i) {
            EXPECT_EQ(s.items[i].count, counts[i]);
        }
    };
}

const std::string kLongKey(200, 'k');

std::vector<Case> Cases() {
    return {
        {"empty body", "", true, Names({})},
        {"version 1", "!FormatVersion=1\n[Item]", true, Names({""})},
        {"version 01", "!FormatVersion=01", true, {}},
        {"version 1,0", "!FormatVersion=1,0", true, {}},
        {"version 1.5", "!FormatVersion=1.5\n[Item]", false, Names({}), "Bad version project file"},
        {"no version", "![Item]\nname=\"a\"", false, Names({})},
        {"empty text", "!", false, {}},
        {"letter case", "[iTEM]\nNAME=\"a\"\n[item]\nName=\"b\"\nformatversion", false,
         Names({"a", "b"}), " Project error, string=formatversion"},
        {"comments", "/* block\n[Nope] */[Item]/**/name=\"a\"// the rest\n[Nope]", true,
         Names({"a"})},
        {"line comment runs to a CR only", "[Item]\nname=\"a\"// x\n[Item]", true, Names({"a"})},
        {"marker comment parsed", "/*+&[Item]name=\"in\"*/[Item]", true, Names({"in", ""})},
        {"stray end of comment", "[Item]\nname=\"a\"\n*/\n[Item] bogus ]]", true, Names({"a"})},
        {"unknown section first", "[Nope]\n[Item]", false, Names({})},
        {"unknown section later", "[Item]\nname=\"a\"\n[No pe]\n", false, Names({"a"}),
         " Project error, string=[No pe]"},
        {"unknown key", "[Item]\ncount=2\nbogus=1\n", false, Counts({2}),
         " Project error, string=bogus=1"},
        {"report line cut at 119",
         "[Item]\n" + kLongKey + "=1",
         false,
         {},
         " Project error, string=" + kLongKey.substr(0, 119)},
        {"duplicate key keeps the later", "[Item]\ncount=1\ncount=2", true, Counts({2})},
        {"single section twice fills one block", "[Options]\nlong=5\n[Options]\nint=6", true,
         [](auto&, auto& v) {
             EXPECT_EQ(v.longValue, 0);
             EXPECT_EQ(v.intValue, 6);
         }},
        {"ends inside a header", "[Item]\ncount=3\n[It", true, Counts({3})},
        {"ends inside a string", "[Item]\nname=\"abc", false, {}},
        {"ends after equals", "[Item]\ncount=", false, {}},
        {"Ctrl-Z ends the text", "[Item]\nname=\"a\"\n\x1A[Item]\nbogus", true, Names({"a"})},
        {"escapes and line breaks", "[Item]\nname=\"q\\\"b\\\\\\n\r\nx\"", true,
         Names({"q\"b\\n\nx"})},
        {"lone CR stays", "[Item]\nname=\"a\rb\"", true, Names({"a\rb"})},
        {"malformed value", "[Item]\ncount=x", false, {}},
        {"missing equals", "[Item]\nname \"x\"", false, {}},
        {"short cut to 16 bits", "[Item]\ncount=70000\n[Item]\ncount=1.5\n[Item]\ncount=-", true,
         Counts({4464, 1, 0})},
        {"defaults for absent keys", "[Options]\n", true,
         [](auto&, auto& v) {
             EXPECT_EQ(v.shortValue, 1);
             EXPECT_EQ(v.flags, 4u);
             EXPECT_EQ(v.text, "");
         }},
        {"flags from text and defaults", "[Options]\nflags=1", true,
         [](auto&, auto& v) { EXPECT_EQ(v.flags, 5u); }},
        {"every number kind",
         "[Options]\nlong=-5\nint64=-9000000000\nulong=4000000000\n"
         "double=2.50000\nignored=\"whatever\"\nstring=\"s\"",
         true,
         [](auto&, auto& v) {
             EXPECT_EQ(v.longValue, -5);
             EXPECT_EQ(v.int64Value, -9000000000);
             EXPECT_EQ(v.ulongValue, 4000000000u);
             EXPECT_EQ(v.doubleValue, 2.5);
             EXPECT_EQ(v.str, "s");
         }},
        {"date-time", "[Options]\nwhen=20150131235900", true,
         [](auto&, auto& v) { EXPECT_EQ(v.when, SettingsDateTime::Make(2015, 1, 31, 23, 59, 0)); }},
        {"date-time with month 13 keeps the value", "[Options]\nwhen=20151331235900", true,
         [](auto&, auto& v) { EXPECT_EQ(v.when, SettingsDateTime{}); }},
        {"date-time of 13 digits", "[Options]\nwhen=2015013123590", false, {}},
        {"date-time year 99 as written", "[Options]\nwhen=  990131235900", true,
         [](auto&, auto& v) { EXPECT_EQ(v.when, SettingsDateTime::Make(99, 1, 31, 23, 59, 0)); }},
        {"date-time of a blank and 13 digits", "[Options]\nwhen= 2015013123590", false, {}},
        {"date-time padded year with a leading zero", "[Options]\nwhen= 0990131235900", false, {}},
        {"a text ends at its first NUL",
         std::string("[Options]\ntext=\"a\0b\"\nstring=\"c\\\0d\"", 34), true,
         [](auto&, auto& v) {
             EXPECT_EQ(v.text, "a");
             EXPECT_EQ(v.str, "c");
         }},
        {"protected without XZ reads empty", "[Options]\nsecret=\"abcdef\"\nsecret_alt=\"XZ\"",
         true,
         [](auto&, auto& v) {
             EXPECT_EQ(v.secret, "");
             EXPECT_EQ(v.secretAlt, "");
         }},
        {"protected value", "[Options]\nsecret=\"" + protectText("hidden words") + "\"", true,
         [](auto&, auto& v) { EXPECT_EQ(v.secret, "hidden words"); }},
        {"ignored key never swallows a header", "[Options]\nignored=[Item]\nname=\"x\"", false,
         [](auto& s, auto& v) {
             Items(s, {});
             EXPECT_EQ(v.text, "");
         }},
        {"ignored key skips two tokens", "[Options]\nignored=5\nlong=2", true,
         [](auto&, auto& v) { EXPECT_EQ(v.longValue, 2); }},
        {"brace in a body", "[Item]\n{", false, {}, " Project error, string={"},
        {"long section name", "[Item]\n[" + std::string(5000, 'x') + "]", false, {}},
        {"long word", "[Item]\n" + std::string(5000, 'w'), false, {}},
        {"comment at the very end", "[Item]\nname=\"a\"//", true, Names({"a"})},
    };
}

TEST(SettingsReader, StrictnessAndLeniency) {
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.name);
        TestSettings settings;
        settings.items = {{"stale", 9}};  // a load starts from an empty list
        AllKinds v;
        Reports reports;
        std::string text =
            c.text.rfind('!', 0) == 0 ? c.text.substr(1) : "FormatVersion=1.0\n" + c.text;
        EXPECT_EQ(settings.File().LoadText(&v, text.data(), text.size()), c.loads);
        if (c.check) {
            c.check(settings, v);
        }
        if (!c.report.empty()) {
            EXPECT_TRUE(reports.Has(c.report)) << (reports.texts.empty() ? "" : reports.texts[0]);
        }
        if (c.loads) {
            EXPECT_FALSE(reports.Has(" Project error, string=")) << c.name;
        }
    }
}

TEST(SettingsReader, FailedAppendFailsTheLoad) {
    TestSettings settings;
    settings.appendFails = true;
    std::string text = "FormatVersion=1.0\n[Item]\nname=\"a\"";
    EXPECT_FALSE(settings.File().LoadText(nullptr, text.data(), text.size()));
}

TEST(SettingsReader, SingleSectionWithoutBaseIsReadAndDropped) {
    TestSettings settings;
    std::string text = "FormatVersion=1.0\n[Options]\nlong=3\n[Item]\nname=\"a\"";
    EXPECT_TRUE(settings.File().LoadText(nullptr, text.data(), text.size()));
    Items(settings, {"a"});
}

TEST(SettingsReader, FileLoadPathsAndReports) {
    TempDir dir;
    TestSettings settings;
    Reports reports;
    EXPECT_FALSE(settings.File().Load(nullptr, "", 0));
    EXPECT_TRUE(reports.texts.empty());

    EXPECT_FALSE(settings.File().Load(nullptr, dir.File("missing.cfg"), 1));
    EXPECT_EQ(settings.File().Path(), dir.File("missing.cfg"));
    EXPECT_TRUE(reports.Has("Cannot open file '" + dir.File("missing.cfg") + "'"));
    EXPECT_EQ(reports.levels.back(), 0x22u);

    dir.Write("ctrlz.cfg",
              "\x1A"
              "FormatVersion=1.0");
    EXPECT_FALSE(settings.File().Load(nullptr, dir.File("ctrlz.cfg"), 0));
    EXPECT_TRUE(reports.Has("Could not read from file '" + dir.File("ctrlz.cfg") + "'."));

    dir.Write("bad.cfg", "FormatVersion=1.0\r\n[Item]\r\nbogus");
    EXPECT_FALSE(settings.File().Load(nullptr, dir.File("bad.cfg"), 0));
    EXPECT_EQ(settings.File().Path(), "");

    dir.Write("good.cfg", "FormatVersion=1.0\r\n[Item]\r\nname=\"a\r\nb\"\r\n");
    EXPECT_TRUE(settings.File().Load(nullptr, dir.File("good.cfg"), 0));
    EXPECT_EQ(settings.File().Path(), dir.File("good.cfg"));
    Items(settings, {"a\nb"});
    EXPECT_EQ(reports.texts.back(), "Load settings - OK");
}

// Whatever the writer writes, the reader reads back to the same records.
TEST(SettingsReader, RoundTripsRandomRecords) {
    std::mt19937 gen(7);
    auto text = [&gen] {
        std::string s;
        for (int n = static_cast<int>(gen() % 12); n > 0; --n) {
            s += "ab\"\\\n =[]/*+&xyz\x7f\xe9"[gen() % 18];
        }
        return s;
    };
    TempDir dir;
    for (int round = 0; round < 200; ++round) {
        TestSettings out;
        AllKinds v;
        v.text = text();
        v.shortValue = static_cast<std::int16_t>(gen());
        v.flags = gen() % 8;
        v.longValue = static_cast<std::int32_t>(gen());
        v.doubleValue = static_cast<int>(gen() % 200000) / 8.0 - 10000;
        v.int64Value = static_cast<std::int64_t>(gen()) * -3000;
        v.str = text();
        v.intValue = static_cast<std::int32_t>(gen());
        v.secret = text();
        v.secretAlt = text();
        v.ulongValue = static_cast<std::uint32_t>(gen());
        v.when = SettingsDateTime::Make(1 + static_cast<int>(gen() % 9999), 1 + gen() % 12,
                                        1 + gen() % 31, gen() % 24, gen() % 60, gen() % 60);
        for (int n = static_cast<int>(gen() % 5); n > 0; --n) {
            out.items.push_back({text(), static_cast<std::int16_t>(gen())});
        }
        ASSERT_TRUE(out.File().SaveAs(&v, dir.File("round.cfg"), false));

        TestSettings in;
        AllKinds w;
        ASSERT_TRUE(in.File().Load(&w, dir.File("round.cfg"), 0)) << dir.Read("round.cfg");
        EXPECT_EQ(Fields(w), Fields(v));
        EXPECT_EQ(in.items, out.items);
    }
}

}  // namespace
