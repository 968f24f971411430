#pragma once

#include <cstdint>
#include <ctime>
#include <string>

// Recurrence codes; the order is that of the editor's type list.
enum ScheduleType : std::int16_t {
    Once = 0,
    Hourly = 1,
    Daily = 2,
    Weekly = 3,
    Monthly = 4,
    Yearly = 5,
};

// days_week bits, Monday first.
constexpr std::int16_t kMonday = 1;
constexpr std::int16_t kTuesday = 2;
constexpr std::int16_t kWednesday = 4;
constexpr std::int16_t kThursday = 8;
constexpr std::int16_t kFriday = 16;
constexpr std::int16_t kSaturday = 32;
constexpr std::int16_t kSunday = 64;
constexpr std::int16_t kWorkDays = 31;
constexpr std::int16_t kEveryDay = 127;

// The last start the program made of an entry, failed or missed; run-time, never stored (the
// start journal keeps it across runs).
struct LastStart {
    std::time_t at = 0;    // 0: none yet
    bool byHand = false;   // "Run Schedule" rather than due
    std::string failure;   // empty when the process started; else the system's reason
    std::string missed{};  // not empty for a start that fell due unmade: why ("held up", ...)
};

// One schedule. The three texts are owned; an empty text is the same as an absent one.
// A value-initialised entry is the blank entry: every number 0, every text absent.
//
// Copy and move carry `fired` and `last_start` along, which is what moving an entry inside the
// list needs; Assign is the record-level assignment that leaves the destination's run-time
// state alone.
struct ScheduleEntry {
    // The numbers come first so that a polling pass reads one cache line per entry.
    std::int16_t enable = 0;
    std::int16_t type = Once;  // a ScheduleType; a hand-edited file may hold any value
    std::int16_t day = 0;
    std::int16_t month = 0;  // 1..12 for Once, 0..11 for Yearly
    std::int16_t year = 0;
    std::int16_t hour = 0;
    std::int16_t min = 0;
    std::int16_t sec = 0;
    std::int16_t days_week = 0;
    std::int16_t nday_week = 0;  // Monday 0 .. Sunday 6
    std::int32_t fired = 0;      // run-time latch, never stored
    std::string title;
    std::string file;
    std::string parameters;
    LastStart last_start;  // run-time, like `fired`

    // Copies every stored field: not `fired` nor `last_start`.
    void Assign(const ScheduleEntry& other);
    // Frees the texts.
    void Release();
};

// Stores a text under the ownership rule: an equal text keeps the current copy, an empty
// one leaves the field absent.
void StoreText(std::string& field, const char* text);
