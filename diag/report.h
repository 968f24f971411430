#pragma once

#include <cstdint>
#include <functional>

// The settings code announces progress and errors here. Nothing in this program routes the
// reports anywhere, so they are accepted and dropped; callers act on results, not reports.
int ReportMessage(const char* text, std::uint32_t level);

// Formats with printf rules, then reports.
int ReportMessagef(std::uint32_t level, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;

// Tests observe the reports through this sink; production code never sets it.
using ReportSink = std::function<void(const char* text, std::uint32_t level)>;
void SetReportSinkForTesting(ReportSink sink);
