#!/bin/sh
# Runs a Windows test program under Wine at a display scale: run_at_dpi.sh DPI PROGRAM ARGS...
# The scale is Wine's LogPixels, set in a prefix kept for these runs ($WINEPREFIX); every
# process started after the wine server has gone reads it. The program is told the scale it
# should find (SCHEDULER_TEST_DPI), so a scale that was not applied fails the run.
dpi=$1
shift
[ -n "${WINEPREFIX:-}" ] || { echo "run_at_dpi.sh: WINEPREFIX is not set" >&2; exit 2; }
here=$(cd "$(dirname "$0")/../.." && pwd)
export WINEDEBUG=-all SCHEDULER_TEST_DPI="$dpi"
"$here/cmake/wine-prefix.sh"
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
wineserver -w
exec wine "$@"
