#include "engine/schedule_entry.h"

#include <cstring>

void StoreText(std::string& field, const char* text) {
    if (text == nullptr || *text == '\0') {
        std::string().swap(field);
        return;
    }
    if (field != text) {
        field.assign(text);
    }
}

void ScheduleEntry::Assign(const ScheduleEntry& other) {
    if (this == &other) {
        return;
    }
    StoreText(title, other.title.c_str());
    StoreText(file, other.file.c_str());
    StoreText(parameters, other.parameters.c_str());
    enable = other.enable;
    type = other.type;
    day = other.day;
    month = other.month;
    year = other.year;
    hour = other.hour;
    min = other.min;
    sec = other.sec;
    days_week = other.days_week;
    nday_week = other.nday_week;
}

void ScheduleEntry::Release() {
    std::string().swap(title);
    std::string().swap(file);
    std::string().swap(parameters);
}
