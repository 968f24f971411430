#!/usr/bin/env bash
# Soak of the Windows program under Wine, inside a Wine desktop: Scheduler.exe with 1,000
# schedules for a given time (default 10 minutes), some falling due every few seconds (the
# companion stub records the starts), while ui_bench.exe keeps issuing the user's commands
# through the real windows: Add with OK and with Cancel, Change, Remove with Yes and with No,
# Run Schedule, the About box, the list's context menu, hiding to the tray and showing again
# from the tray menu, and the toolbar dragged by its gripper to the left edge, floating and back
# to the top. Each minute it samples the program's GDI and USER objects, handles and
# private memory. Fails on a missed, doubled or unexpected start (Run Schedule's included), on
# a command whose window does not answer, or on GDI, USER or handle counts that grow from the
# first minute to the last.
#
# Usage: bench/ui_soak.sh [build folder] [duration]   (defaults build/windows, 10m)
#   duration: seconds, or a number followed by s, m or h; from 2m to 24h.
#   KEEP=1 keeps the program folder (stub log, expected starts, samples, driver output).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/windows}
duration=${2:-10m}
. bench/ui_common.sh
. bench/soak_plan.sh

parse_duration "$duration" || exit 2
export TZ=UTC # as in the headless soak: the expected starts are plain arithmetic
make_windows_folder
trap '[ -n "${KEEP:-}" ] || rm -rf "$folder"' EXIT
expected=$folder/expected.txt
samples=$folder/samples.txt
plan_soak "$seconds" || exit 1

run_driver soak "$end" expected.txt samples.txt >/dev/null
sleep 2 # the last stubs write their records
driver=passed
grep -q '^ui_bench: [0-9]* rounds' "$folder/driver.txt" || driver=failed
echo "driver: $(tail -n 1 "$folder/driver.txt")"
starts=passed
match_starts "$folder/starts.log" || starts=failed
awk -v starts=$starts -v driver=$driver '
    { samples[++s] = $0 }
    END {
        print "GDI objects, USER objects, handles, private memory (seconds into the run, KiB):"
        for (i = 1; i <= s; i++) { print "  " samples[i] }
        # The first minute sets up what stays (fonts, image lists, the first dialogs).
        split(samples[s > 2 ? 2 : 1], a, " "); split(samples[s], z, " ")
        printf "first minute against last: GDI %d -> %d, USER %d -> %d, handles %d -> %d, %d KiB -> %d KiB\n",
            a[2], z[2], a[3], z[3], a[4], z[4], a[5], z[5]
        failed = starts == "failed" || driver == "failed" || z[2] > a[2] || z[3] > a[3] || z[4] > a[4]
        print failed ? "FAILED" : "passed"
        exit failed
    }' "$samples"
