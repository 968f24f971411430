#!/usr/bin/env bash
# Start latency of the headless scheduler: schedules fall due at known seconds, the stub
# records when it started, and each delay is measured from the start of the due second (for
# Once from the start of its two-second window, whose first second is the one before `sec`).
# Targets: every Daily/Weekly/Monthly/Yearly start within 0.6 s, every Once start inside its
# window, none missed. Usage: bench/start_latency.sh [build folder] (default build/linux);
# KEEP=1 keeps the program folder and its stub log.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/linux}
. bench/headless_common.sh

make_program_folder
trap 'stop_scheduler 2>/dev/null; [ -n "${KEEP:-}" ] || rm -rf "$folder"' EXIT

# 64 starts over 32 seconds: two per second, the types taking turns, a quarter of them Once.
count=64
first=$(($(date +%s) + 6))
for ((k = 0; k < count; k++)); do
    due=$((first + k / 2))
    case $((k % 8)) in
        0 | 4) type=0 ;;
        1 | 5) type=2 ;;
        2) type=3 ;;
        3 | 7) type=4 ;;
        6) type=5 ;;
    esac
    add_schedule "$type" "$due" "/bench/$due-$type-$k.dvs"
done
printf '\r\n' >>"$folder/Scheduler.cfg"

start_scheduler -server
sleep $((first + count / 2 - $(date +%s) + 2))
stop_scheduler

awk -v expected="$count" '
    /^arg: \/bench\// {
        split(substr($2, 8), p, "-"); due = p[1]; type = p[2] + 0
    }
    /^time: / && due != "" {
        start = type == 0 ? (due - 1) * 1000 : due * 1000
        delay = $2 - start
        if (type == 0) { n0++; if (delay > max0) max0 = delay; if (delay < 0 || delay >= 2000) bad++ }
        else { n1++; sum1 += delay; if (delay > max1) max1 = delay; if (delay < 0 || delay > 600) bad++ }
        due = ""
    }
    END {
        missed = expected - n0 - n1
        printf "starts: %d of %d (missed %d)\n", n0 + n1, expected, missed
        printf "Daily/Weekly/Monthly/Yearly: %d starts, mean %.0f ms, max %d ms after the due second began (target <= 600)\n", n1, n1 ? sum1 / n1 : 0, max1
        printf "Once: %d starts, max %d ms after its window began (target < 2000)\n", n0, max0
        if (missed > 0 || bad > 0) { print "FAILED"; exit 1 }
        print "passed"
    }' "$folder/starts.log"
