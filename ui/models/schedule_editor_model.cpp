#include "ui/models/schedule_editor_model.h"

const char* const kScheduleTypeNames[kPageCount] = {"Once",   "Hourly",  "Daily",
                                                    "Weekly", "Monthly", "Yearly"};

namespace {

// A pasted Ctrl-Z would end the next read of the settings file: no field keeps one.
std::string WithoutEndOfText(std::string text) {
    std::erase(text, '\x1A');
    return text;
}

// Entries keep 16-bit numbers; a page's 32-bit value keeps its low half.
std::int16_t Low16(std::int32_t value) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(value & 0xFFFF));
}

std::int32_t DayOrFirst(std::int16_t day) {
    return day >= 1 && day <= 31 ? day : 1;
}

void SetTimeOfDay(ScheduleEntry& entry, const DateTimeField& field) {
    entry.hour = Low16(field.value.hour);
    entry.min = Low16(field.value.minute);
    entry.sec = Low16(field.value.second);
}

}  // namespace

TypePageModel* ScheduleEditorModel::Page(int index) {
    TypePageModel* pages[kPageCount] = {&once, &hourly, &daily, &weekly, &monthly, &yearly};
    return index >= 0 && index < kPageCount ? pages[index] : nullptr;
}

void ScheduleEditorModel::SeedNew(std::time_t now) {
    initialType = Once;
    enable = 1;
    for (int day = 0; day < kWeekdayCount; ++day) {
        daily.dayTicks[day] = day < 5 ? 1 : 0;
    }
    FillDefaults(now);
}

void ScheduleEditorModel::FillDefaults(std::time_t now) {
    LocalDateTime local;
    if (!SplitLocal(now, local)) {
        return;
    }
    for (DateTimeField* field :
         {&once.date, &once.time, &daily.time, &weekly.time, &monthly.time, &yearly.time}) {
        *field = {local, std::nullopt};
    }
    hourly.minutes = local.minute;
    weekly.weekdayIndex = (local.weekday + 6) % 7;
    monthly.dayOfMonth = local.day;
    yearly.dayOfMonth = local.day;
    yearly.monthIndex = local.month - 1;
}

void ScheduleEditorModel::FillFromEntry(const ScheduleEntry& entry) {
    initialType = entry.type;
    enable = entry.enable;
    title = entry.title;
    file = entry.file;
    parameters = entry.parameters;

    // The entry's own parts, even those no calendar has: the pickers show a stand-in for
    // them, and OK without an edit stores them again.
    LocalDateTime parts;
    parts.year = entry.year;
    parts.month = entry.month;
    parts.day = entry.day;
    parts.hour = entry.hour;
    parts.minute = entry.min;
    parts.second = entry.sec;
    const DateTimeField when{parts, std::nullopt};

    switch (entry.type) {
        case Once:
            once.date = when;
            once.time = when;
            break;
        case Hourly:
            hourly.minutes = entry.min;
            break;
        case Daily:
            daily.time = when;
            for (int day = 0; day < kWeekdayCount; ++day) {
                if ((entry.days_week & (1 << day)) != 0) {
                    daily.dayTicks[day] = 1;
                }
            }
            break;
        case Weekly:
            weekly.time = when;
            weekly.weekdayIndex = entry.nday_week;
            break;
        case Monthly:
            monthly.time = when;
            monthly.dayOfMonth = DayOrFirst(entry.day);
            break;
        case Yearly:
            yearly.time = when;
            yearly.dayOfMonth = DayOrFirst(entry.day);
            yearly.monthIndex = entry.month;
            break;
        default:
            break;
    }
}

void ScheduleEditorModel::NormaliseEnable() {
    if (enable < 0 || enable > 2) {
        enable = 0;
    }
}

bool ScheduleEditorModel::ReadBackPages(PageControls* const controls[kPageCount]) {
    bool allRead = true;
    for (int index = 0; index < kPageCount; ++index) {
        if (controls[index] != nullptr && !Page(index)->ReadBack(*controls[index])) {
            allRead = false;
        }
    }
    return allRead;
}

ScheduleEntry ScheduleEditorModel::BuildResult(int weekdayPosition, int monthPosition) const {
    ScheduleEntry entry;
    entry.enable = Low16(enable);
    StoreText(entry.title, WithoutEndOfText(title).c_str());
    StoreText(entry.file, WithoutEndOfText(file).c_str());
    StoreText(entry.parameters, WithoutEndOfText(parameters).c_str());
    entry.type = Low16(type);
    entry.days_week = 0;
    switch (type) {
        case Once:
            entry.day = Low16(once.date.value.day);
            entry.month = Low16(once.date.value.month);
            entry.year = Low16(once.date.value.year);
            SetTimeOfDay(entry, once.time);
            break;
        case Hourly:
            entry.min = Low16(hourly.minutes);
            break;
        case Daily:
            SetTimeOfDay(entry, daily.time);
            for (int day = 0; day < kWeekdayCount; ++day) {
                if (daily.dayTicks[day] != 0) {
                    entry.days_week = Low16(entry.days_week | (1 << day));
                }
            }
            break;
        case Weekly:
            SetTimeOfDay(entry, weekly.time);
            entry.nday_week = Low16(weekdayPosition);
            break;
        case Monthly:
            SetTimeOfDay(entry, monthly.time);
            entry.day = Low16(monthly.dayOfMonth);
            break;
        case Yearly:
            SetTimeOfDay(entry, yearly.time);
            entry.day = Low16(yearly.dayOfMonth);
            entry.month = Low16(monthPosition);
            break;
        default:
            break;
    }
    entry.fired = 0;
    return entry;
}

int PageIndexForType(std::int32_t type) {
    return type >= 0 && type < kPageCount ? type : -1;
}

EditorEnabling EnablingRules(std::int32_t enable, std::int32_t parametersFlag) {
    EditorEnabling rules;
    rules.common = enable != 0;
    rules.parameters = enable != 0 && parametersFlag != 0;
    return rules;
}
