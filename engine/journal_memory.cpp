#include "engine/journal_memory.h"

#include <cstdio>
#include <vector>

#include "engine/launcher.h"
#include "engine/schedule_list.h"
#include "engine/start_journal.h"
#include "platform/regular_file.h"

namespace {

std::vector<std::string> splitTabs(const std::string& line) {
    std::vector<std::string> fields;
    std::string::size_type at = 0;
    for (std::string::size_type tab; (tab = line.find('\t', at)) != std::string::npos;
         at = tab + 1) {
        fields.push_back(line.substr(at, tab - at));
    }
    fields.push_back(line.substr(at));
    return fields;
}

bool startsWith(const std::string& text, const char* prefix) {
    return text.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

// One line of a start or a miss, whose time was read, into `start`; false for the program's
// own lines and others.
bool readStart(const std::vector<std::string>& fields, LastStart& start) {
    if (fields.size() != 5) {
        return false;
    }
    const std::string& outcome = fields[1];
    const std::string& when = fields[2];
    if (outcome == "started") {
    } else if (startsWith(outcome, "failed: ")) {
        start.failure = outcome.substr(8);
    } else if (startsWith(outcome, "missed: ")) {
        start.missed = outcome.substr(8);
        // "due 5 times, last <time>": the newest of them counts.
        std::string::size_type last = when.find(", last ");
        if (last != std::string::npos && !ParseJournalTime(when.substr(last + 7), start.at)) {
            return false;
        }
        return startsWith(when, "due");
    } else {
        return false;
    }
    start.byHand = when == "by hand";
    return start.byHand || when == "due";
}

bool readFile(const std::string& path, std::string& text) {
    std::FILE* file = OpenRegularFile(path);
    if (file == nullptr) {
        return false;
    }
    char buffer[65536];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
        text.append(buffer, n);
    }
    std::fclose(file);
    return true;
}

}  // namespace

std::string JournalKey(const std::string& title, const std::string& commandLine) {
    return title + '\t' + commandLine;
}

void ReadJournalText(const std::string& text, JournalMemory& memory) {
    std::string::size_type at = 0;
    for (std::string::size_type end; (end = text.find('\n', at)) != std::string::npos;
         at = end + 1) {
        // Windows' journal ends its lines in CR LF; a journal may have come from either.
        const std::string::size_type size = end - at - (end > at && text[end - 1] == '\r');
        const std::vector<std::string> fields = splitTabs(text.substr(at, size));
        std::time_t lineAt;
        if (!ParseJournalTime(fields[0], lineAt)) {
            continue;
        }
        memory.lastLineAt = lineAt;
        LastStart start;
        start.at = lineAt;
        if (readStart(fields, start)) {
            memory.starts[JournalKey(fields[3], fields[4])] = start;
        }
    }
}

JournalMemory ReadJournal(const std::string& folder) {
    JournalMemory memory;
    if (folder.empty()) {
        return memory;
    }
    const std::string path = folder + StartJournal::kFileName;
    for (const std::string& file : {path + StartJournal::kOlderSuffix, path}) {
        std::string text;
        try {
            if (readFile(file, text)) {
                ReadJournalText(text, memory);
            }
        } catch (...) {
            // Out of memory for a journal: what was read counts.
        }
    }
    return memory;
}

void RememberLastStarts(ScheduleList& list,
                        const LaunchTarget& target,
                        const JournalMemory& memory) {
    if (memory.starts.empty()) {
        return;
    }
    for (int position = 0; list.WithEntry(position, [&](ScheduleEntry& entry) {
             auto found = memory.starts.find(JournalKey(
                 JournalField(entry.title), JournalField(BuildCommandLine(entry, target))));
             if (found != memory.starts.end() && found->second.at >= entry.last_start.at) {
                 entry.last_start = found->second;
             }
         });
         ++position) {
    }
}
