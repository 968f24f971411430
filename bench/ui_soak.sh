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
# first minute to the last, or, in runs of two hours or more, on private memory that moves by
# more than 512 KiB over the last hour. Under Wine two things that grow by themselves up to a bound are
# counted apart (see ui_bench_win.cpp): the idle DCs of Wine's DC cache, at most 64, and the
# event a lock makes when two threads first meet at it, at most one more for each of the two
# locks the window and the polling thread share. It runs in a prefix of its own,
# $build/wineprefix-soak, with Wine's theme off.
#
# Usage: bench/ui_soak.sh [build folder] [duration]   (defaults build/windows, 10m)
#   duration: seconds, or a number followed by s, m or h; from 2m to 24h.
#   KEEP=1 keeps the program folder (stub log, expected starts, samples, driver output).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/windows}
duration=${2:-10m}
# A prefix of its own with Wine's theme off: the theme engine keeps part images that grow
# with Wine's DC cache and cannot be told apart from the program's own objects.
WINEPREFIX=$PWD/$build/wineprefix-soak
. bench/ui_common.sh
theme='HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager'
wine reg add "$theme" /v ThemeActive /t REG_SZ /d 0 /f >/dev/null 2>&1
wine reg delete "$theme" /v DllName /f >/dev/null 2>&1 || true
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
awk -v starts=$starts -v driver=$driver -v seconds="$seconds" '
    { samples[++s] = $0 }
    # The first sample taken at or after `t` seconds into the run.
    function samples_at(t,   i, q) {
        for (i = 1; i <= s; i++) {
            split(samples[i], q, " ")
            if (q[1] >= t) return i
        }
        return s
    }
    END {
        print "seconds into the run, GDI objects in use, USER objects, handles apart from events,"
        print "private memory (KiB), events, idle DCs of the DC cache, the program's own heap (KiB; -1"
        print "unless COUNTED=1):"
        for (i = 1; i <= s; i++) { print "  " samples[i] }
        # The first minute sets up what stays (fonts, image lists, the first dialogs).
        split(samples[s > 2 ? 2 : 1], a, " "); split(samples[s], z, " ")
        printf "first minute against last: GDI %d -> %d, USER %d -> %d, handles %d -> %d, %d KiB -> %d KiB\n",
            a[2], z[2], a[3], z[3], a[4], z[4], a[5], z[5]
        printf "  events %d -> %d (at most %d), idle cached DCs %d -> %d (at most 64)\n",
            a[6], z[6], a[6] + 2, a[7], z[7]
        # A tray program runs for months: from two hours on, its private memory over the last
        # hour stays within 512 KiB (the first hour settles the heaps); shorter runs show it.
        from = seconds >= 7200 ? samples_at(seconds - 3600) : samples_at(seconds / 2)
        low = high = -1
        for (i = from; i <= s; i++) {
            split(samples[i], m, " ")
            if (low < 0 || m[5] < low) low = m[5]
            if (m[5] > high) high = m[5]
        }
        split(samples[from], f, " ")
        printf "  private memory from %d s on: %d KiB to %d KiB, %d KiB apart%s\n", f[1], low, high,
            high - low, (seconds >= 7200 ? " (at most 512)" : "")
        failed = starts == "failed" || driver == "failed" || z[2] > a[2] || z[3] > a[3] ||
            z[4] > a[4] || z[6] > a[6] + 2 || z[7] > 64 || (seconds >= 7200 && high - low > 512)
        print failed ? "FAILED" : "passed"
        exit failed
    }' "$samples"
