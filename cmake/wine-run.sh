#!/bin/sh
# Runs a Windows program under Wine with the prefix kept in the build tree.
# WINEPREFIX may be set by the caller; otherwise build/windows/wineprefix is used.
here=$(cd "$(dirname "$0")/.." && pwd)
: "${WINEPREFIX:=$here/build/windows/wineprefix}"
export WINEPREFIX
export WINEDEBUG=-all
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot --init >/dev/null 2>&1
fi
exec wine "$@"
