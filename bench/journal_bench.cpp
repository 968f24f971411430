// What reading the start journal adds to the start of the program: a full journal (1 MiB, just
// short of its turn-over) and its older generation, read for the last starts of 200 schedules;
// and what the first pass adds, telling the starts missed since the previous run's last line.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/journal_memory.h"
#include "engine/launcher.h"
#include "engine/missed_starts.h"
#include "engine/schedule_list.h"
#include "engine/start_journal.h"

namespace {
void BM_ReadFullJournalAtStart(benchmark::State& state) {
    const std::string folder =
        (std::filesystem::temp_directory_path() / "journal_bench").string() + "/";
    std::filesystem::create_directories(folder);
    const LaunchTarget target{"dovsuite.exe", "-process"};
    ScheduleList list;
    std::string text;
    for (int i = 0; text.size() < StartJournal::kTurnOverSize - 200; ++i) {
        ScheduleEntry entry;
        entry.enable = 1;
        entry.title = "Schedule " + std::to_string(i % 200);
        entry.file = "C:\\Work\\site " + std::to_string(i % 200) + ".dvs";
        if (i < 200) {
            list.Append(entry);
        }
        LastStart start{1796693400 + i * 60, false, ""};
        text += JournalLine(start, entry.title, BuildCommandLine(entry, target));
    }
    for (const char* name : {"Scheduler.log", "Scheduler.log.1"}) {
        std::FILE* file = std::fopen((folder + name).c_str(), "wb");
        std::fwrite(text.data(), 1, text.size(), file);
        std::fclose(file);
    }
    for (auto _ : state) {
        RememberLastStarts(list, target, ReadJournal(folder));
    }
    state.SetBytesProcessed(state.iterations() * 2 * static_cast<long long>(text.size()));
    std::filesystem::remove_all(folder);
}

// 200 schedules, every type in turn, missed over the number of days given (Hourly ones stop
// counting at kMissedCountLimit, after 416 days).
void BM_MissedSincePreviousRun(benchmark::State& state) {
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
    std::vector<ScheduleEntry> entries(200);
    for (int i = 0; i < 200; ++i) {
        ScheduleEntry& e = entries[static_cast<size_t>(i)];
        e.enable = 1;
        e.type = static_cast<std::int16_t>(i % 6);
        e.day = static_cast<std::int16_t>(1 + i % 28);
        e.month = static_cast<std::int16_t>(e.type == Once ? 1 + i % 12 : i % 12);
        e.year = 2026;
        e.hour = static_cast<std::int16_t>(i % 24);
        e.min = static_cast<std::int16_t>(i % 60);
        e.sec = static_cast<std::int16_t>(i * 7 % 60);
        e.days_week = kWorkDays;
        e.nday_week = static_cast<std::int16_t>(i % 7);
    }
    const std::time_t now = 1796688000;  // 2026-12-08
    for (auto _ : state) {
        const LocalClockView since(now - state.range(0) * 86400);
        for (const ScheduleEntry& e : entries) {
            benchmark::DoNotOptimize(MissedBetween(e, since, now, false));
        }
    }
}
}  // namespace

BENCHMARK(BM_ReadFullJournalAtStart)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MissedSincePreviousRun)
    ->Arg(1)
    ->Arg(7)
    ->Arg(365)
    ->Arg(3650)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
