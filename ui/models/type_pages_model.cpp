#include "ui/models/type_pages_model.h"

#include "resources/resource_ids.h"
#include "ui/models/integer_field.h"

const char* const kWeekdayNames[kWeekdayCount] = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                                  "Friday", "Saturday", "Sunday"};
const char* const kMonthNames[kMonthCount] = {"January",   "February", "March",    "April",
                                              "May",       "June",     "July",     "August",
                                              "September", "October",  "November", "December"};

namespace {

constexpr int kDayBoxes[kWeekdayCount] = {
    IDC_DAILY_MONDAY, IDC_DAILY_TUESDAY,  IDC_DAILY_WEDNESDAY, IDC_DAILY_THURSDAY,
    IDC_DAILY_FRIDAY, IDC_DAILY_SATURDAY, IDC_DAILY_SUNDAY};

bool SameReading(const LocalDateTime& a, const LocalDateTime& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour &&
           a.minute == b.minute && a.second == b.second;
}

// Date parts that cannot make a calendar date are replaced for the picker only: the field
// keeps them until the user picks another value.
void ShowTime(PageControls& controls, int id, DateTimeField& field) {
    LocalDateTime shown = field.value;
    if (shown.year < 1900) {
        shown.year = 2004;
    }
    if (shown.month < 1 || shown.month > 12) {
        shown.month = 1;
    }
    if (shown.day < 1 || shown.day > 31) {
        shown.day = 1;
    }
    controls.ShowDateTime(id, shown);
    LocalDateTime reading;
    field.shown = controls.ReadDateTime(id, reading) ? std::optional(reading) : std::nullopt;
}

// A picker without a valid value, or still showing the field's value, leaves the field as it
// was, without a word.
void ReadTime(PageControls& controls, int id, DateTimeField& field) {
    LocalDateTime reading;
    if (controls.ReadDateTime(id, reading) &&
        !(field.shown.has_value() && SameReading(*field.shown, reading))) {
        field.value = reading;
        field.shown = reading;
    }
}

bool ReadNumber(PageControls& controls,
                int id,
                std::int32_t low,
                std::int32_t high,
                std::int32_t& field) {
    std::string message;
    if (ReadIntegerField(controls.ReadText(id), low, high, field, message)) {
        return true;
    }
    controls.Complain(id, message);
    return false;
}

}  // namespace

bool SplitLocal(std::time_t value, LocalDateTime& local) {
    std::tm parts{};
#ifdef _WIN32
    if (localtime_s(&parts, &value) != 0) {
        return false;
    }
#else
    if (localtime_r(&value, &parts) == nullptr) {
        return false;
    }
#endif
    local.year = parts.tm_year + 1900;
    local.month = parts.tm_mon + 1;
    local.day = parts.tm_mday;
    local.hour = parts.tm_hour;
    local.minute = parts.tm_min;
    local.second = parts.tm_sec;
    local.weekday = parts.tm_wday;
    return true;
}

int ListPosition(std::int32_t index, int count) {
    return index >= 0 && index < count ? index : -1;
}

void OncePageModel::Show(PageControls& controls) {
    ShowTime(controls, IDC_ONCE_DATE, date);
    ShowTime(controls, IDC_ONCE_TIME, time);
}

bool OncePageModel::ReadBack(PageControls& controls) {
    ReadTime(controls, IDC_ONCE_DATE, date);
    ReadTime(controls, IDC_ONCE_TIME, time);
    return true;
}

void HourlyPageModel::Show(PageControls& controls) {
    controls.ShowText(IDC_PAGE_NUMBER, std::to_string(minutes));
}

bool HourlyPageModel::ReadBack(PageControls& controls) {
    return ReadNumber(controls, IDC_PAGE_NUMBER, 0, 59, minutes);
}

void DailyPageModel::Show(PageControls& controls) {
    ShowTime(controls, IDC_PAGE_TIME, time);
    for (int day = 0; day < kWeekdayCount; ++day) {
        if (dayTicks[day] < 0 || dayTicks[day] > 2) {
            dayTicks[day] = 0;
        }
        controls.ShowCheck(kDayBoxes[day], dayTicks[day] != 0);
    }
}

bool DailyPageModel::ReadBack(PageControls& controls) {
    ReadTime(controls, IDC_PAGE_TIME, time);
    for (int day = 0; day < kWeekdayCount; ++day) {
        dayTicks[day] = controls.ReadCheck(kDayBoxes[day]) ? 1 : 0;
    }
    return true;
}

void WeeklyPageModel::Show(PageControls& controls) {
    ShowTime(controls, IDC_PAGE_TIME, time);
    controls.ShowList(IDC_PAGE_LIST, kWeekdayNames, kWeekdayCount,
                      ListPosition(weekdayIndex, kWeekdayCount));
}

bool WeeklyPageModel::ReadBack(PageControls& controls) {
    ReadTime(controls, IDC_PAGE_TIME, time);
    return true;
}

void MonthlyPageModel::Show(PageControls& controls) {
    ShowTime(controls, IDC_PAGE_TIME, time);
    controls.ShowText(IDC_PAGE_NUMBER, std::to_string(dayOfMonth));
}

bool MonthlyPageModel::ReadBack(PageControls& controls) {
    // The day comes first: a refused day leaves the time unread.
    if (!ReadNumber(controls, IDC_PAGE_NUMBER, 1, 31, dayOfMonth)) {
        return false;
    }
    ReadTime(controls, IDC_PAGE_TIME, time);
    return true;
}

void YearlyPageModel::Show(PageControls& controls) {
    controls.ShowText(IDC_PAGE_NUMBER, std::to_string(dayOfMonth));
    controls.ShowList(IDC_PAGE_LIST, kMonthNames, kMonthCount,
                      ListPosition(monthIndex, kMonthCount));
    ShowTime(controls, IDC_PAGE_TIME, time);
}

bool YearlyPageModel::ReadBack(PageControls& controls) {
    ReadTime(controls, IDC_PAGE_TIME, time);
    return ReadNumber(controls, IDC_PAGE_NUMBER, 1, 31, dayOfMonth);
}
