// What reading the start journal adds to the start of the program: a full journal (1 MiB, just
// short of its turn-over) and its older generation, read for the last starts of 200 schedules.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "engine/journal_memory.h"
#include "engine/launcher.h"
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
}  // namespace

BENCHMARK(BM_ReadFullJournalAtStart)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
