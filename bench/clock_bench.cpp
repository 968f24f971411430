// What following the system's time zone costs a polling pass: the re-read of the zone beside
// the local breakdown every pass makes anyway. With TZ unset the C library looks whether
// /etc/localtime changed; with TZ set it compares the text.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <ctime>

#include "platform/clock.h"

namespace {
void WithZone(benchmark::State& state, const char* zone, bool reread) {
    if (zone != nullptr) {
        setenv("TZ", zone, 1);
    } else {
        unsetenv("TZ");
    }
    RefreshTimeZone();
    std::time_t now = CurrentTime();
    for (auto _ : state) {
        if (reread) {
            RefreshTimeZone();
        }
        std::tm local;
        benchmark::DoNotOptimize(LocalBreakdown(now, local));
    }
}

void BM_BreakdownOnly(benchmark::State& state) {
    WithZone(state, nullptr, false);
}
void BM_RereadAndBreakdown_SystemZone(benchmark::State& state) {
    WithZone(state, nullptr, true);
}
void BM_RereadAndBreakdown_TZSet(benchmark::State& state) {
    WithZone(state, "Europe/Berlin", true);
}
}  // namespace

BENCHMARK(BM_BreakdownOnly);
BENCHMARK(BM_RereadAndBreakdown_SystemZone);
BENCHMARK(BM_RereadAndBreakdown_TZSet);
BENCHMARK_MAIN();
