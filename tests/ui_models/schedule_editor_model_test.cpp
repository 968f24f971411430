#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "resources/resource_ids.h"
#include "tests/support/env.h"
#include "tests/support/schedule.h"
#include "ui/models/schedule_editor_model.h"

namespace {

// A page's controls as plain values: what Show put there is what ReadBack finds. Like the
// real picker, a date-time picker starts at today and refuses what its calendar lacks.
struct FakeControls : PageControls {
    static constexpr LocalDateTime kToday{2026, 7, 8, 9, 10, 11};
    std::map<int, LocalDateTime> times;
    std::map<int, std::string> texts;
    std::map<int, bool> checks;
    std::map<int, int> lists;
    std::vector<int> complaints;

    void ShowDateTime(int id, const LocalDateTime& value) override {
        times.try_emplace(id, kToday);
        if (value.year >= 1753 && value.month >= 1 && value.month <= 12 && value.day >= 1 &&
            value.day <= 31 && value.hour < 24 && value.minute < 60 && value.second < 60) {
            times[id] = value;
        }
    }
    bool ReadDateTime(int id, LocalDateTime& value) override {
        return times.count(id) != 0 && (value = times[id], true);
    }
    void ShowText(int id, const std::string& text) override { texts[id] = text; }
    std::string ReadText(int id) override { return texts[id]; }
    void ShowCheck(int id, bool ticked) override { checks[id] = ticked; }
    bool ReadCheck(int id) override { return checks[id]; }
    void ShowList(int id, const char* const*, int, int position) override { lists[id] = position; }
    void Complain(int id, const std::string&) override { complaints.push_back(id); }
};

// An editor seeded as Change seeds it, its pages shown in their controls.
struct OpenEditor {
    ScheduleEditorModel editor;
    FakeControls pages[kPageCount];
    PageControls* controls[kPageCount];

    OpenEditor(const ScheduleEntry* entry, std::time_t now) {
        editor.FillDefaults(now);
        if (entry != nullptr) {
            editor.FillFromEntry(*entry);
        }
        editor.NormaliseEnable();
        for (int i = 0; i < kPageCount; ++i) {
            editor.Page(i)->Show(pages[i]);
            controls[i] = &pages[i];
        }
        editor.type = PageIndexForType(editor.initialType);
    }
    ScheduleEntry Build() {
        return editor.BuildResult(pages[Weekly].lists[1010], pages[Yearly].lists[1010]);
    }
};

// Seeds an editor from the entry as Change does, shows every page, reads every page back
// and builds the entry, as OK without any change would.
ScheduleEntry RoundTrip(const ScheduleEntry& entry, std::time_t now) {
    OpenEditor open(&entry, now);
    EXPECT_TRUE(open.editor.ReadBackPages(open.controls));
    return open.Build();
}

ScheduleEntry WithTexts(ScheduleEntry e, const char* title, const char* parameters = "") {
    e.title = title;
    e.file = "C:\\Work\\site.dvs";
    e.parameters = parameters;
    return e;
}

TEST(ScheduleEditorModel, EntryThroughTheEditorAndBack) {
    struct Case {
        const char* name;
        ScheduleEntry in;
        std::optional<ScheduleEntry> out = std::nullopt;  // none: the same as `in`
    };
    const Case cases[] = {
        {"once", MakeEntry(Once, 15, 3, 2026, 14, 30, 45)},
        {"once in december", MakeEntry(Once, 31, 12, 2025, 23, 59, 59)},
        // Dates the picker shows a stand-in for, or cannot show at all, are stored again.
        {"once without a date", MakeEntry(Once, 0, 0, 0, 8, 0, 0)},
        {"once in 1950", MakeEntry(Once, 5, 6, 1950, 8, 0, 0)},
        {"once before the calendar", MakeEntry(Once, 5, 6, 1700, 8, 0, 0)},
        {"once at 25:61", MakeEntry(Once, 5, 6, 2026, 25, 61, 0)},
        {"hourly drops unused fields", MakeEntry(Hourly, 3, 4, 2020, 7, 45, 9, 31, 2),
         MakeEntry(Hourly, 0, 0, 0, 0, 45, 0)},
        {"daily work days", MakeEntry(Daily, 0, 0, 0, 2, 30, 0, 31)},
        {"daily with an eighth day", MakeEntry(Daily, 0, 0, 0, 2, 30, 0, 0xFF),
         MakeEntry(Daily, 0, 0, 0, 2, 30, 0, 0x7F)},
        {"daily no day", MakeEntry(Daily, 9, 9, 0, 6, 5, 4, 0),
         MakeEntry(Daily, 0, 0, 0, 6, 5, 4, 0)},
        {"weekly sunday", MakeEntry(Weekly, 0, 0, 0, 12, 0, 0, 0, 6)},
        {"weekly no weekday", MakeEntry(Weekly, 0, 0, 0, 12, 0, 0, 0, -1)},
        {"weekly weekday 9", MakeEntry(Weekly, 0, 0, 0, 12, 0, 0, 0, 9),
         MakeEntry(Weekly, 0, 0, 0, 12, 0, 0, 0, -1)},
        {"monthly 31", MakeEntry(Monthly, 31, 0, 0, 3, 4, 5)},
        {"monthly day 40", MakeEntry(Monthly, 40, 0, 0, 3, 4, 5),
         MakeEntry(Monthly, 1, 0, 0, 3, 4, 5)},
        {"yearly january", MakeEntry(Yearly, 31, 0, 0, 23, 59, 30)},
        {"yearly december", MakeEntry(Yearly, 25, 11, 0, 6, 0, 0)},
        {"yearly no month", MakeEntry(Yearly, 5, -1, 0, 6, 0, 0)},
        {"yearly month 12", MakeEntry(Yearly, 5, 12, 0, 6, 0, 0),
         MakeEntry(Yearly, 5, -1, 0, 6, 0, 0)},
        {"unknown type", MakeEntry(-1, 5, 6, 2020, 6, 7, 8, 31, 3),
         MakeEntry(-1, 0, 0, 0, 0, 0, 0)},
        {"type 9", MakeEntry(9, 5, 6, 2020, 6, 7, 8, 31, 3), MakeEntry(-1, 0, 0, 0, 0, 0, 0)},
    };
    const std::time_t now = LocalTime(2026, 7, 8, 9, 10, 11);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (std::int16_t enable : {0, 1, 2}) {
            ScheduleEntry in = WithTexts(c.in, "Nightly", enable ? "-p" : "");
            ScheduleEntry out = WithTexts(c.out.value_or(c.in), "Nightly", enable ? "-p" : "");
            in.enable = out.enable = enable;
            EXPECT_EQ(Fields(RoundTrip(in, now)), Fields(out));
        }
    }
}

// The picker shows 1 January 2004 for a part it cannot show; the year 1900 it shows as it is.
TEST(ScheduleEditorModel, DatePartsThePickerCannotShowHaveAStandIn) {
    struct Case {
        int day, month, year;
        std::tuple<int, int, int> shown;
    } cases[] = {
        {0, 0, 0, {1, 1, 2004}}, {32, 13, 1899, {1, 1, 2004}}, {31, 12, 1900, {31, 12, 1900}}};
    for (const Case& c : cases) {
        ScheduleEntry entry = MakeEntry(Once, c.day, c.month, c.year, 8, 0, 0);
        OpenEditor open(&entry, LocalTime(2026, 7, 8, 9, 10, 11));
        const LocalDateTime& at = open.pages[Once].times[IDC_ONCE_DATE];
        EXPECT_EQ(std::tie(at.day, at.month, at.year), c.shown) << c.year;
    }
    LocalDateTime local;
    EXPECT_FALSE(SplitLocal(std::numeric_limits<std::time_t>::max(), local));  // no such year
}

TEST(ScheduleEditorModel, TimesAreStoredAsTypedOnTheDayTheClocksGoForward) {
    TimeZone zone("Europe/Berlin");
    const std::time_t now = LocalTime(2026, 3, 29, 1, 0, 0);
    for (int type : {Once, Daily, Weekly, Monthly, Yearly}) {
        SCOPED_TRACE(type);
        OpenEditor open(nullptr, now);
        for (auto& [id, time] : open.pages[type].times) {
            time.hour = 2;
            time.minute = 30;
        }
        open.editor.type = type;
        ASSERT_TRUE(open.editor.ReadBackPages(open.controls));
        ScheduleEntry result = open.Build();
        EXPECT_EQ(std::tie(result.hour, result.min), std::make_tuple(2, 30));
        if (type == Once) {
            EXPECT_EQ(std::tie(result.day, result.month, result.year),
                      std::make_tuple(29, 3, 2026));
        }
    }
}

TEST(ScheduleEditorModel, EveryPageIsReadBackWhateverFailsEachInItsOrder) {
    OpenEditor open(nullptr, LocalTime(2026, 7, 8, 9, 10, 11));
    for (int type = 0; type < kPageCount; ++type) {
        for (auto& [id, time] : open.pages[type].times) {
            time.hour = 5;
        }
    }
    open.pages[Hourly].texts[IDC_PAGE_NUMBER] = "75";
    open.pages[Monthly].texts[IDC_PAGE_NUMBER] = "";
    open.pages[Yearly].texts[IDC_PAGE_NUMBER] = "0";
    EXPECT_FALSE(open.editor.ReadBackPages(open.controls));
    for (int type : {Hourly, Monthly, Yearly}) {
        EXPECT_EQ(open.pages[type].complaints, std::vector<int>{IDC_PAGE_NUMBER}) << type;
    }
    // Pages after a refusal are read; the Monthly day is checked before its time is read,
    // the Yearly day after.
    EXPECT_EQ(open.editor.daily.time.value.hour, 5);
    EXPECT_EQ(open.editor.monthly.time.value.hour, 9);
    EXPECT_EQ(open.editor.yearly.time.value.hour, 5);
}

// The parameters are open only when the schedule is on and its parameters box is ticked.
TEST(ScheduleEditorModel, EnablingFollowsTheSwitchAndTheParametersBox) {
    for (auto [enable, flag, common, parameters] : {std::tuple{0, 1, false, false},
                                                    {1, 0, true, false},
                                                    {1, 1, true, true},
                                                    {2, 1, true, true}}) {
        EditorEnabling rules = EnablingRules(enable, flag);
        EXPECT_EQ(std::tie(rules.common, rules.parameters), std::tie(common, parameters))
            << enable << flag;
    }
}

TEST(ScheduleEditorModel, NewScheduleIsSeededFromNow) {
    // Sunday 15 March 2026, 14:07:09.
    const std::time_t now = LocalTime(2026, 3, 15, 14, 7, 9);
    ScheduleEditorModel editor;
    editor.SeedNew(now);
    EXPECT_EQ(editor.initialType, Once);
    EXPECT_EQ(editor.enable, 1);
    EXPECT_EQ(editor.hourly.minutes, 7);
    EXPECT_EQ(editor.weekly.weekdayIndex, 6);
    EXPECT_EQ(editor.monthly.dayOfMonth, 15);
    EXPECT_EQ(editor.yearly.monthIndex, 2);

    // A Ctrl-Z pasted into a field is dropped: it would end the settings file's next read.
    editor.title =
        "N\x1A"
        "ew";
    editor.file = "\x1A";
    editor.type = Once;
    ScheduleEntry expected = MakeEntry(Once, 15, 3, 2026, 14, 7, 9);
    expected.title = "New";
    EXPECT_EQ(Fields(editor.BuildResult(-1, -1)), Fields(expected));
    editor.type = Daily;
    EXPECT_EQ(editor.BuildResult(-1, -1).days_week, kWorkDays);
}

}  // namespace
