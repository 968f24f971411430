// One polling pass: IsDue over every entry of a list, none of them due, as most passes are.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "engine/due_time.h"

namespace {
std::vector<ScheduleEntry> MakeEntries(int n) {
    std::mt19937 gen(42);
    std::vector<ScheduleEntry> entries(static_cast<size_t>(n));
    for (ScheduleEntry& e : entries) {
        e.enable = 1;
        e.type = static_cast<std::int16_t>(gen() % 6);
        e.day = static_cast<std::int16_t>(1 + gen() % 28);
        e.month = static_cast<std::int16_t>(e.type == Once ? 1 + gen() % 12 : gen() % 12);
        e.year = 2030;
        e.hour = static_cast<std::int16_t>(gen() % 24);
        e.min = static_cast<std::int16_t>(gen() % 60);
        e.sec = static_cast<std::int16_t>(gen() % 60);
        e.days_week = static_cast<std::int16_t>(gen() % 128);
        e.nday_week = static_cast<std::int16_t>(gen() % 7);
    }
    return entries;
}

void BM_PollingPass(benchmark::State& state) {
    std::vector<ScheduleEntry> entries = MakeEntries(static_cast<int>(state.range(0)));
    std::tm instant{};
    instant.tm_year = 126;
    instant.tm_mon = 11;
    instant.tm_mday = 8;
    instant.tm_wday = 2;
    int second = 0;
    for (auto _ : state) {
        // A new second each pass, as the clock moves on.
        instant.tm_sec = second % 60;
        instant.tm_min = (second / 60) % 60;
        ++second;
        int due = 0;
        for (ScheduleEntry& e : entries) {
            due += IsDue(e, instant) ? 1 : 0;
        }
        benchmark::DoNotOptimize(due);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.counters["ns_per_entry"] =
        benchmark::Counter(static_cast<double>(state.iterations() * state.range(0)),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_PollingPass)->Arg(1000)->Arg(100000);
}  // namespace

BENCHMARK_MAIN();
