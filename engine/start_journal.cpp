#include "engine/start_journal.h"

#include <cstdio>
#include <utility>

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

std::string JournalField(const std::string& text) {
    std::string field;
    appendField(field, text);
    return field;
}

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

bool ParseJournalTime(const std::string& text, std::time_t& at) {
    // Digit by digit, not by sscanf: a full journal at start-up is some 20,000 of them.
    static const char kShape[] = "0000-00-00T00:00:00+00:00";
    if (text.size() != sizeof kShape - 1) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool fits = kShape[i] == '0'   ? text[i] >= '0' && text[i] <= '9'
                          : kShape[i] == '+' ? text[i] == '+' || text[i] == '-'
                                             : text[i] == kShape[i];
        if (!fits) {
            return false;
        }
    }
    auto number = [&text](std::size_t from, std::size_t digits) {
        int value = 0;
        for (std::size_t i = from; i < from + digits; ++i) {
            value = value * 10 + (text[i] - '0');
        }
        return value;
    };
    const int month = number(5, 2);
    if (month < 1 || month > 12) {
        return false;
    }
    const long long offset =
        (number(20, 2) * 60LL + number(23, 2)) * 60 * (text[19] == '-' ? -1 : 1);
    at = static_cast<std::time_t>(daysFromCivil(number(0, 4), month, number(8, 2)) * 86400 +
                                  number(11, 2) * 3600LL + number(14, 2) * 60LL + number(17, 2) -
                                  offset);
    return true;
}

std::string JournalLine(const LastStart& start,
                        const std::string& title,
                        const std::string& commandLine) {
    if (!start.missed.empty()) {
        return MissedLine(MissedRun{1, false, start.at, start.at}, start.missed, title,
                          commandLine);
    }
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
    line += kTextLineEnd;
    return line;
}

std::string MissedLine(const MissedRun& run,
                       const std::string& reason,
                       const std::string& title,
                       const std::string& commandLine) {
    std::string line = JournalTime(run.first) + "\tmissed: ";
    appendField(line, reason);
    line += run.count > 1 ? "\tdue " + std::to_string(run.count) +
                                (run.more ? " times or more, last " : " times, last ") +
                                JournalTime(run.last) + '\t'
                          : std::string("\tdue\t");
    appendField(line, title);
    line += '\t';
    appendField(line, commandLine);
    line += kTextLineEnd;
    return line;
}

std::string NoteLine(std::time_t at, const std::string& text) {
    std::string line = JournalTime(at) + '\t';
    appendField(line, text);
    line += kTextLineEnd;
    return line;
}

StartJournal::~StartJournal() {
    Close(std::chrono::milliseconds::max());
}

void StartJournal::Record(const LastStart& start,
                          const std::string& title,
                          const std::string& commandLine) {
    try {
        Append(JournalLine(start, title, commandLine));
    } catch (...) {
    }
}

void StartJournal::Append(std::string line) {
    try {
        std::lock_guard<std::mutex> lock(mutex_);
        if (folder_.empty() || closing_ || queue_.size() >= kQueueLimit) {
            return;
        }
        if (!writer_.joinable()) {
            // Made with the first line, so a program or a test that records nothing has none.
            writer_ = std::thread([this] { writeLoop(); });
        }
        queue_.push_back(std::move(line));
        changed_.notify_all();
    } catch (...) {
        // No writer, no memory: the line is lost, never the start.
    }
}

bool StartJournal::Close(std::chrono::milliseconds limit) {
    std::unique_lock<std::mutex> lock(mutex_);
    closing_ = true;
    changed_.notify_all();
    if (!writer_.joinable()) {
        return true;
    }
    auto done = [this] { return ended_; };
    if (limit == std::chrono::milliseconds::max()) {
        changed_.wait(lock, done);
    } else if (!changed_.wait_for(lock, limit, done)) {
        return false;
    }
    std::thread writer = std::move(writer_);
    lock.unlock();
    writer.join();
    return true;
}

void StartJournal::writeLoop() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return closing_ || !queue_.empty(); });
        if (queue_.empty()) {
            break;
        }
        std::string line = std::move(queue_.front());
        queue_.pop_front();
        lock.unlock();
        write(line);
        lock.lock();
    }
    ended_ = true;
    changed_.notify_all();
}

void StartJournal::write(const std::string& line) {
    try {
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
