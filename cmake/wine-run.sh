#!/bin/sh
# Runs a Windows program under Wine with the prefix kept in the build tree.
# WINEPREFIX may be set by the caller; otherwise build/windows/wineprefix is used.
here=$(cd "$(dirname "$0")/.." && pwd)
: "${WINEPREFIX:=$here/build/windows/wineprefix}"
export WINEPREFIX
export WINEDEBUG=-all
"$here/cmake/wine-prefix.sh"
exec wine "$@"
