#pragma once

#include <cstdint>
#include <ctime>
#include <string>

#include "engine/schedule_entry.h"
#include "ui/models/type_pages_model.h"

constexpr int kPageCount = 6;
extern const char* const kScheduleTypeNames[kPageCount];

// Which of the editor's controls the enabling rules allow.
struct EditorEnabling {
    bool common = false;      // title, file, browse, the type list and their labels
    bool parameters = false;  // the parameters edit and its label
};

// The schedule editor without its window: its fields, its pages' values, how it is seeded
// from the clock or an entry, and the entry it builds on OK.
class ScheduleEditorModel {
public:
    std::string title;
    std::string file;
    std::string parameters;
    std::int32_t enable = 0;
    std::int32_t initialType = Once;
    std::int32_t type = Once;  // the type list's position on OK, -1 for none

    OncePageModel once;
    HourlyPageModel hourly;
    DailyPageModel daily;
    WeeklyPageModel weekly;
    MonthlyPageModel monthly;
    YearlyPageModel yearly;

    // The pages in schedule-type order.
    TypePageModel* Page(int index);

    // A new schedule: Once, switched on, Monday to Friday ticked, every page seeded from now.
    void SeedNew(std::time_t now);
    // Seeds every page from the local time of `now`; the texts, the switch, the type and the
    // Daily ticks stay.
    void FillDefaults(std::time_t now);
    // Seeds the texts, the switch, the type and the page of the entry's type from the entry.
    void FillFromEntry(const ScheduleEntry& entry);

    // The switch as the two-state box shows it when the editor opens: values other than
    // 0..2 become 0.
    void NormaliseEnable();

    // Reads every page back, in type order, all six whatever the type; false when any
    // refused its values.
    bool ReadBackPages(PageControls* const controls[kPageCount]);
    // The entry of the values held now. `weekdayPosition` and `monthPosition` are the
    // positions the Weekly and Yearly lists show (-1 for none).
    ScheduleEntry BuildResult(int weekdayPosition, int monthPosition) const;
};

// The page shown for a type: its index, or -1 for a type outside the list.
int PageIndexForType(std::int32_t type);

EditorEnabling EnablingRules(std::int32_t enable, std::int32_t parametersFlag);
