#include "diag/report.h"

#include <cstdarg>
#include <cstdio>
#include <string>
#include <utility>

namespace {
ReportSink& sink() {
    static ReportSink s;
    return s;
}
}  // namespace

int ReportMessage(const char* text, std::uint32_t level) {
    if (sink()) {
        sink()(text ? text : "", level);
    }
    return 1;
}

int ReportMessagef(std::uint32_t level, const char* format, ...) {
    // Formatting costs something; skip it while nobody listens.
    if (!sink()) {
        return 1;
    }
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text(n > 0 ? static_cast<size_t>(n) : 0, '\0');
    if (n > 0) {
        std::vsnprintf(text.data(), text.size() + 1, format, args);
    }
    va_end(args);
    return ReportMessage(text.c_str(), level);
}

void SetReportSinkForTesting(ReportSink s) {
    sink() = std::move(s);
}
