#!/bin/sh
# Runs a Windows test program inside a Wine virtual desktop with a taskbar, so the programs it
# starts have a notification area. The desktop does not pass the exit code back, so the
# verdict is read from GoogleTest's summary.
here=$(cd "$(dirname "$0")/../.." && pwd)
: "${WINEPREFIX:=$here/build/windows/wineprefix}"
export WINEPREFIX
export WINEDEBUG=-all
"$here/cmake/wine-prefix.sh"
log=$(mktemp)
trap 'rm -f "$log"' EXIT
wine explorer "/desktop=scheduler-tests-$$,1024x768" "$@" 2>&1 | tee "$log"
if grep -q '^\[  PASSED  \]' "$log" && ! grep -q '^\[  FAILED  \]' "$log"; then
    exit 0
fi
echo "run_in_wine_desktop: the tests did not all pass" >&2
exit 1
