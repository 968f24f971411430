#pragma once

#include <ctime>

// A broken-down local time as the polling pass sees it, weekday computed from the date.
inline std::tm MakeInstant(int year, int month1, int day, int hour, int min, int sec) {
    static const int offsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    int y = month1 < 3 ? year - 1 : year;
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month1 - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = min;
    t.tm_sec = sec;
    t.tm_wday = (y + y / 4 - y / 100 + y / 400 + offsets[month1 - 1] + day) % 7;
    return t;
}
