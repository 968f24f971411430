#!/usr/bin/env bash
# Idle cost of the headless scheduler with 1,000 schedules of which none falls due: CPU time
# over a minute (target under 0.2% of one core) and resident memory (target under 8 MiB).
# Usage: bench/idle_cost.sh [build folder] [seconds] (defaults build/linux, 60).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/linux}
seconds=${2:-60}
. bench/headless_common.sh

make_program_folder
trap 'stop_scheduler 2>/dev/null; rm -rf "$folder"' EXIT

# Due twelve hours from now: never within the measurement.
later=$(($(date +%s) + 12 * 3600))
for ((k = 0; k < 1000; k++)); do
    add_schedule $((2 + k % 4)) "$later" "/bench/idle-$k.dvs"
done
printf '\r\n' >>"$folder/Scheduler.cfg"

start_scheduler -server
sleep 2
# CPU time of all the program's threads in nanoseconds: schedstat where the kernel keeps it
# (finer than the clock ticks of stat).
tick_ns=$((1000000000 / $(getconf CLK_TCK)))
cpu_ns() {
    local total=0 t
    for t in /proc/$pid/task/*; do
        if [ -r "$t/schedstat" ]; then
            total=$((total + $(cut -d' ' -f1 "$t/schedstat")))
        else
            total=$((total + $(awk -v k="$tick_ns" '{ print ($14 + $15) * k }' "$t/stat")))
        fi
    done
    echo "$total"
}
before=$(cpu_ns)
sleep "$seconds"
after=$(cpu_ns)
rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status")
stop_scheduler
awk -v ns=$((after - before)) -v s="$seconds" -v rss="$rss" 'BEGIN {
    cpu = ns / 1e9 / s * 100
    printf "idle CPU: %.3f%% of one core over %d s (target < 0.2%%)\n", cpu, s
    printf "resident memory: %.2f MiB (target < 8 MiB)\n", rss / 1024
    if (cpu >= 0.2 || rss >= 8 * 1024) { print "FAILED"; exit 1 }
    print "passed"
}'
