// The next start of each entry of a realistic list, as the list's tips ask for it: the local
// clock read once, then every entry; and the worst case, a 29 February years away.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <random>
#include <vector>

#include "engine/next_start.h"

namespace {
std::vector<ScheduleEntry> RealisticEntries(int n) {
    std::mt19937 gen(7);
    std::vector<ScheduleEntry> entries(static_cast<size_t>(n));
    for (ScheduleEntry& e : entries) {
        e.enable = 1;
        e.type = static_cast<std::int16_t>(gen() % 6);
        e.day = static_cast<std::int16_t>(1 + gen() % 31);
        e.month = static_cast<std::int16_t>(e.type == Once ? 1 + gen() % 12 : gen() % 12);
        e.year = static_cast<std::int16_t>(2026 + gen() % 2);
        e.hour = static_cast<std::int16_t>(gen() % 24);
        e.min = static_cast<std::int16_t>(gen() % 60);
        e.sec = static_cast<std::int16_t>(gen() % 60);
        e.days_week = static_cast<std::int16_t>(1 + gen() % 127);
        e.nday_week = static_cast<std::int16_t>(gen() % 7);
    }
    return entries;
}

const std::time_t kNow = 1796688000;  // 2026-12-08, a Tuesday

void Zone() {
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
}

void BM_NextStartList(benchmark::State& state) {
    Zone();
    std::vector<ScheduleEntry> entries = RealisticEntries(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        LocalClockView clock(kNow);
        for (const ScheduleEntry& e : entries) {
            benchmark::DoNotOptimize(NextStartOf(e, clock));
        }
    }
    state.counters["ns_per_entry"] =
        benchmark::Counter(static_cast<double>(state.iterations() * state.range(0)),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    // The median over entries: each timed on its own, many times over.
    LocalClockView clock(kNow);
    std::vector<double> each;
    for (const ScheduleEntry& e : entries) {
        auto begin = std::chrono::steady_clock::now();
        for (int i = 0; i < 200; ++i) {
            benchmark::DoNotOptimize(NextStartOf(e, clock));
        }
        std::chrono::duration<double, std::nano> spent = std::chrono::steady_clock::now() - begin;
        each.push_back(spent.count() / 200);
    }
    std::sort(each.begin(), each.end());
    state.counters["median_ns"] = each[each.size() / 2];
    state.counters["max_ns"] = each.back();
}
BENCHMARK(BM_NextStartList)->Arg(1000);

void BM_NextStartLeapDay(benchmark::State& state) {
    Zone();
    ScheduleEntry e;
    e.enable = 1;
    e.type = Yearly;
    e.day = 29;
    e.month = 1;
    const std::time_t march2096 = 3981398400;  // 2096-03-01: the next one is in 2104
    LocalClockView clock(march2096);
    for (auto _ : state) {
        benchmark::DoNotOptimize(NextStartOf(e, clock));
    }
}
BENCHMARK(BM_NextStartLeapDay);

void BM_LocalClockView(benchmark::State& state) {
    Zone();
    for (auto _ : state) {
        benchmark::DoNotOptimize(LocalClockView(kNow));
    }
}
BENCHMARK(BM_LocalClockView);
}  // namespace

BENCHMARK_MAIN();
