#!/usr/bin/env bash
# Soak of the headless scheduler: 1,000 schedules of mixed types for a given time (default
# 10 minutes, at most 24 hours), some falling due every few seconds, the companion stub
# recording every start. Every expected start is computed beforehand and matched with the
# stub's log: missed and doubled starts, starts that were never due, the delay after the due
# second, and the resident memory and thread count sampled each minute.
# Fails on a missed, doubled or unexpected start, on resident memory that grows by more than
# 256 KiB from the first minute to the end, or on threads that pile up.
#
# Usage: bench/soak.sh [build folder] [duration]   (defaults build/linux, 10m)
#   duration: seconds, or a number followed by s, m or h; from 2m to 24h.
#   KEEP=1 keeps the program folder (stub log, expected starts, samples).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/linux}
duration=${2:-10m}
. bench/headless_common.sh
. bench/soak_plan.sh

parse_duration "$duration" || exit 2

# Universal time: the clock never jumps, so a Daily due second comes exactly once a day and
# the expected starts are plain arithmetic. Clock changes have their own tests.
export TZ=UTC

make_program_folder
trap 'stop_scheduler 2>/dev/null; [ -n "${KEEP:-}" ] || rm -rf "$folder"' EXIT
expected=$folder/expected.txt
samples=$folder/samples.txt
plan_soak "$seconds" || exit 1

start_scheduler -server
# Resident memory and threads: at the start and then each minute.
sample() {
    awk -v at=$(($(date +%s) - t0)) '/^VmRSS:/ { rss = $2 } /^Threads:/ { th = $2 }
        END { print at, rss, th }' "/proc/$pid/status" >>"$samples"
}
sleep $((t0 - $(date +%s)))
sample
next=$((t0 + 60))
while :; do
    now=$(date +%s)
    if ((now >= end)); then break; fi
    if ! kill -0 "$pid" 2>/dev/null; then
        echo "soak: the scheduler ended by itself" >&2
        exit 1
    fi
    if ((now >= next)); then
        sample
        next=$((next + 60))
    fi
    sleep 1
done
sample
stop_scheduler
sleep 1 # the last stubs write their records

starts=passed
match_starts "$folder/starts.log" || starts=failed
awk -v starts=$starts '
    { samples[++s] = $0 }
    END {
        print "resident memory and threads (seconds into the run, KiB, threads):"
        for (i = 1; i <= s; i++) { print "  " samples[i] }
        # The first minute settles the allocator; from then on nothing may pile up.
        split(samples[s > 2 ? 2 : 1], a, " "); split(samples[s], z, " ")
        growth = z[2] - a[2]
        printf "first against last: %d KiB -> %d KiB (%+d KiB), %d -> %d threads\n",
            a[2], z[2], growth, a[3], z[3]
        failed = starts == "failed" || growth > 256 || z[3] > a[3]
        print failed ? "FAILED" : "passed"
        exit failed
    }' "$samples"
