#include "engine/start_journal.h"

#include <cstdio>

#include "platform/clock.h"
#include "platform/file_store.h"

namespace {

// Days from 1970-01-01 to the civil date (proleptic Gregorian), month 1..12.
long long daysFromCivil(long long year, int month, int day) {
    year -= month <= 2;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const long long yearOfEra = year - era * 400;
    const long long dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

bool isControl(char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7f;
}

void appendField(std::string& line, const std::string& text) {
    for (char c : text) {
        line += isControl(c) ? ' ' : c;
    }
}

}  // namespace

std::string JournalTime(std::time_t at) {
    std::tm local;
    if (!LocalBreakdown(at, local)) {
        return std::string();
    }
    // The offset is what the local clock shows minus the instant; Windows' tm has no field
    // for it.
    long long shown =
        daysFromCivil(local.tm_year + 1900LL, local.tm_mon + 1, local.tm_mday) * 86400 +
        local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
    long long offsetMinutes = (shown - static_cast<long long>(at)) / 60;
    char sign = offsetMinutes < 0 ? '-' : '+';
    if (offsetMinutes < 0) {
        offsetMinutes = -offsetMinutes;
    }
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02lld:%02lld",
                  local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                  local.tm_min, local.tm_sec, sign, offsetMinutes / 60, offsetMinutes % 60);
    return text;
}

std::string JournalLine(const LastStart& start,
                        const std::string& title,
                        const std::string& commandLine) {
    std::string line = JournalTime(start.at);
    if (start.failure.empty()) {
        line += "\tstarted\t";
    } else {
        // Windows ends its reasons with a line break.
        std::string::size_type end = start.failure.find_last_not_of(" \t\r\n");
        line += "\tfailed: ";
        appendField(line, start.failure.substr(0, end == std::string::npos ? 0 : end + 1));
        line += '\t';
    }
    line += start.byHand ? "by hand\t" : "due\t";
    appendField(line, title);
    line += '\t';
    appendField(line, commandLine);
    line += '\n';
    return line;
}

void StartJournal::Record(const LastStart& start,
                          const std::string& title,
                          const std::string& commandLine) {
    try {
        const std::string line = JournalLine(start, title, commandLine);
        std::lock_guard<std::mutex> lock(mutex_);
        if (folder_.empty()) {
            return;
        }
        const std::string path = folder_ + kFileName;
        FileStore::Handle handle = store_.OpenToAppend(path);
        // The schedules may have come from the program folder, before any save made this one.
        if (handle == FileStore::kInvalid && store_.CreateFolder(folder_)) {
            handle = store_.OpenToAppend(path);
        }
        if (handle != FileStore::kInvalid && store_.Size(handle) >= kTurnOverSize) {
            store_.Close(handle);
            // A file that cannot turn over is not written further, so it never grows unbounded.
            handle = store_.Replace(path, path + kOlderSuffix) ? store_.OpenToAppend(path)
                                                               : FileStore::kInvalid;
        }
        StoreFile file(store_, handle);
        if (file.IsOpen()) {
            file.Write(line.data(), line.size());
        }
    } catch (...) {
    }
}

StartJournal& TheStartJournal() {
    static StartJournal journal(SystemFileStore());
    return journal;
}
