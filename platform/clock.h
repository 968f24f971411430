#pragma once

#include <ctime>

// The calendar time in whole seconds, as the polling pass samples it.
std::time_t CurrentTime();

// The instant broken down into local time (the machine's time zone and daylight-saving
// rules, as last read by RefreshTimeZone or the first breakdown). False, with `out` zeroed,
// when the time cannot be converted.
bool LocalBreakdown(std::time_t instant, std::tm& out);

// Reads the system's time zone again, which the C library otherwise reads once per process:
// POSIX: TZ, or /etc/localtime when TZ is unset (re-read only when that file changed);
// Windows: TZ, or the system's zone settings. Called by every polling pass and when Windows
// says the time or its settings changed.
void RefreshTimeZone();

// Milliseconds since the Unix epoch, for recording when something happened.
long long CurrentTimeMs();

void SleepMs(int milliseconds);
