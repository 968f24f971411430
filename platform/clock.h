#pragma once

#include <ctime>

// The calendar time in whole seconds, as the polling pass samples it.
std::time_t CurrentTime();

// The instant broken down into local time (the machine's time zone and daylight-saving
// rules). False, with `out` zeroed, when the time cannot be converted.
bool LocalBreakdown(std::time_t instant, std::tm& out);

// Milliseconds since the Unix epoch, for recording when something happened.
long long CurrentTimeMs();

void SleepMs(int milliseconds);
