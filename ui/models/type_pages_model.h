#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

// The six pages of the schedule editor, one per schedule type, without their windows: the
// values each page holds, how it shows them in its controls and how it reads them back.

// A local date and time to the second; month 1..12, weekday from Sunday 0.
struct LocalDateTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int weekday = 0;
};

// False when the calendar time has no local form.
bool SplitLocal(std::time_t value, LocalDateTime& local);

// A page's date and time as the picker shows it. It is never joined into a calendar time, so
// the day's daylight-saving rules cannot move what was typed. `shown` is what the picker read
// after the value was put there: a picker still reading it was not edited, and the value
// stays, even one the picker could not take.
struct DateTimeField {
    LocalDateTime value;
    std::optional<LocalDateTime> shown;
};

// What a page asks of its window: its controls by id.
class PageControls {
public:
    virtual ~PageControls() = default;
    // A value the picker cannot take leaves it showing what it showed.
    virtual void ShowDateTime(int id, const LocalDateTime& value) = 0;
    // False when the picker holds no valid value.
    virtual bool ReadDateTime(int id, LocalDateTime& value) = 0;
    virtual void ShowText(int id, const std::string& text) = 0;
    virtual std::string ReadText(int id) = 0;
    virtual void ShowCheck(int id, bool ticked) = 0;
    virtual bool ReadCheck(int id) = 0;
    // Fills a list and selects the position (none when outside the items).
    virtual void ShowList(int id, const char* const* items, int count, int position) = 0;
    // Tells the user why the field was refused and puts the focus on it.
    virtual void Complain(int id, const std::string& message) = 0;
};

// A page's values; all 0 after construction.
class TypePageModel {
public:
    virtual ~TypePageModel() = default;
    // Puts the values into the controls, unchecked.
    virtual void Show(PageControls& controls) = 0;
    // Copies the controls' values back, checking them in the page's order; the first
    // refused value ends it (complained about) and the later values keep what they held.
    virtual bool ReadBack(PageControls& controls) = 0;
};

constexpr int kWeekdayCount = 7;
constexpr int kMonthCount = 12;
extern const char* const kWeekdayNames[kWeekdayCount];
extern const char* const kMonthNames[kMonthCount];

// The position a list shows for a stored index: the index, or -1 outside the items.
int ListPosition(std::int32_t index, int count);

class OncePageModel : public TypePageModel {
public:
    DateTimeField date;
    DateTimeField time;
    void Show(PageControls& controls) override;
    bool ReadBack(PageControls& controls) override;
};

class HourlyPageModel : public TypePageModel {
public:
    std::int32_t minutes = 0;
    void Show(PageControls& controls) override;
    bool ReadBack(PageControls& controls) override;
};

class DailyPageModel : public TypePageModel {
public:
    DateTimeField time;
    std::int32_t dayTicks[kWeekdayCount] = {};  // Monday first; 1 ticked
    void Show(PageControls& controls) override;
    bool ReadBack(PageControls& controls) override;
};

class WeeklyPageModel : public TypePageModel {
public:
    std::int32_t weekdayIndex = 0;  // Monday 0
    DateTimeField time;
    void Show(PageControls& controls) override;
    // The weekday is taken from the list by the editor, not here.
    bool ReadBack(PageControls& controls) override;
};

class MonthlyPageModel : public TypePageModel {
public:
    std::int32_t dayOfMonth = 0;
    DateTimeField time;
    void Show(PageControls& controls) override;
    bool ReadBack(PageControls& controls) override;
};

class YearlyPageModel : public TypePageModel {
public:
    std::int32_t monthIndex = 0;  // January 0
    DateTimeField time;
    std::int32_t dayOfMonth = 0;
    void Show(PageControls& controls) override;
    // The month is taken from the list by the editor, not here.
    bool ReadBack(PageControls& controls) override;
};
