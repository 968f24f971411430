#!/bin/sh
# Prepares the Wine prefix $WINEPREFIX: made once by wineboot, then given Wine's own fonts
# (Debian's fonts-wine). Wine as packaged here never reads them from /usr/share/wine/fonts,
# only from the prefix's Fonts folder and fontconfig's folders: without the copy the caption
# buttons lack Marlett and draw as "0 1 r", and the dialogs' "MS Sans Serif" is missing.
[ -n "${WINEPREFIX:-}" ] || { echo "wine-prefix.sh: WINEPREFIX is not set" >&2; exit 2; }
export WINEDEBUG="${WINEDEBUG:--all}"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot --init >/dev/null 2>&1
    wineserver -w
fi
fonts="$WINEPREFIX/drive_c/windows/Fonts"
if [ -d /usr/share/wine/fonts ] && [ ! -f "$fonts/marlett.ttf" ]; then
    mkdir -p "$fonts"
    cp /usr/share/wine/fonts/* "$fonts/"
fi
exit 0
