#!/usr/bin/env bash
# What the user waits for in the Windows program, under Wine inside a Wine desktop, at 20,
# 1,000 and 10,000 schedules: start to the visible main window, Add to the visible editor,
# About to the visible box, and Add confirmed to the list showing the new row; beside the
# start of a static program that shows one empty window (the floor), in the same run.
# Targets (medians against the floor's): start at most 1.6x with 1,000 schedules and 3x with
# 10,000, Add confirmed at most 2x with 10,000, editor and About box under the floor.
#
# Usage: bench/ui_latency.sh [build folder] [rounds]   (defaults build/windows, 7)
#   KEEP=1 keeps the program folder.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/windows}
rounds=${2:-7}
. bench/ui_common.sh

make_windows_folder
trap '[ -n "${KEEP:-}" ] || rm -rf "$folder"' EXIT
run_driver latency "$rounds" 20 1000 10000
if [ -s "$folder/starts.log" ]; then
    echo "ui_latency: the program started a companion" >&2
    exit 1
fi
[ "$(tail -n 1 "$folder/driver.txt")" = passed ]
