# Shared by scripts/run and scripts/screenshots (sourced, not run): builds Scheduler.exe and
# lays out a demo program folder for it under Wine.
#
#   BUILD_DIR  the windows build folder (default build/windows)
#   WINEPREFIX the Wine prefix (default $BUILD_DIR/wineprefix)

BUILD_DIR=${BUILD_DIR:-build/windows}
export WINEPREFIX=${WINEPREFIX:-$PWD/$BUILD_DIR/wineprefix}
export WINEDEBUG=-all
DEMO=$PWD/$BUILD_DIR/demo
DEMO_TITLE="Dovrin Suite Scheduler"
XVFB_PID=""

demo_build() {
    if [ "$BUILD_DIR" = build/windows ]; then
        cmake --preset windows -G Ninja >/dev/null
    else
        cmake --preset windows -B "$BUILD_DIR" -G Ninja >/dev/null
    fi
    cmake --build "$BUILD_DIR" -j "$(nproc)" --target Scheduler companion_stub
}

# The program folder: Scheduler.exe, the companion stub as dovsuite.exe, and a Scheduler.cfg
# of a few schedules, one of them due a minute after the start.
demo_folder() {
    rm -rf "$DEMO"
    mkdir -p "$DEMO"
    cp "$BUILD_DIR/bin/Scheduler.exe" "$DEMO/"
    cp "$BUILD_DIR/bin/companion_stub.exe" "$DEMO/dovsuite.exe"
    local at
    at=$(date -d '+1 minute' '+day=%-d\r\nmonth=%-m\r\nyear=%Y\r\nhour=%-H\r\nmin=%-M\r\nsec=0')
    {
        printf '/** Scheduler demo **/\r\n\r\nFormatVersion=1.0\r\n'
        printf '\r\n[Schedule]\r\ntitle="Nightly import"\r\nfile="C:\\\\Work\\\\Sites\\\\north site.dvs"'
        printf '\r\ntype=2\r\nhour=2\r\nmin=30\r\ndays_week=31'
        printf '\r\n[Schedule]\r\ntitle="Weekly quality report"\r\nfile="C:\\\\Work\\\\Reports\\\\quality.dvs"'
        printf '\r\nparameters="-process -export pdf"\r\ntype=3\r\nhour=7\r\ndays_week=1'
        printf '\r\n[Schedule]\r\ntitle="Demo run, a minute after the start"\r\nfile="C:\\\\Work\\\\demo.dvs"'
        printf "\r\ntype=0\r\n$at"
        printf '\r\n[Schedule]\r\nenable=0\r\ntitle="Year-end archive"\r\nfile="D:\\\\Archive\\\\year end.dvs"'
        printf '\r\ntype=5\r\nmonth=11\r\nday=31\r\nhour=23'
        printf '\r\n'
    } >"$DEMO/Scheduler.cfg"
    export COMPANION_STUB_LOG=$DEMO/starts.log
}

demo_prefix() {
    [ -f "$WINEPREFIX/system.reg" ] || echo "==== creating the Wine prefix $WINEPREFIX"
    cmake/wine-prefix.sh
    # Schedules in the user's data folder would be shown instead of the demo's.
    local data
    data=$(find "$WINEPREFIX/drive_c/users" -maxdepth 4 -path '*AppData/Roaming/Dovrin Suite' 2>/dev/null | head -n 1)
    if [ -n "$data" ] && [ -f "$data/Scheduler.cfg" ]; then
        echo "note: $data/Scheduler.cfg is shown instead of the demo's schedules"
    fi
}

# A private X server when there is no display; sets DISPLAY.
demo_display() {
    if [ -n "${DISPLAY:-}" ]; then
        return
    fi
    local n
    for n in $(seq 70 99); do
        if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
            Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
            XVFB_PID=$!
            export DISPLAY=":$n"
            for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
            return
        fi
    done
    echo "no free X display number" >&2
    return 1
}

# Starts the program inside a Wine desktop with a taskbar (so the tray icon shows).
demo_start() {
    (cd "$DEMO" && wine explorer /desktop=Scheduler,1024x768 Scheduler.exe "$@" >/dev/null 2>&1) &
    DEMO_PID=$!
}

# The X window of the Wine desktop, once the program's window is up in it.
demo_wait_window() {
    local i
    for i in $(seq 150); do
        DESKTOP_WINDOW=$(xdotool search --name '^Scheduler - Wine desktop$' 2>/dev/null | head -n 1 || true)
        if [ -n "$DESKTOP_WINDOW" ] && [ "$i" -gt 20 ]; then
            sleep 2  # the first paint
            return 0
        fi
        sleep 0.2
    done
    echo "the program's window did not appear" >&2
    return 1
}

demo_shot() {
    import -window "$DESKTOP_WINDOW" "$1"
}

demo_stop() {
    wineserver -k 2>/dev/null || true
    if [ -n "${DEMO_PID:-}" ]; then
        wait "$DEMO_PID" 2>/dev/null || true
    fi
    if [ -n "$XVFB_PID" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        XVFB_PID=""
    fi
}
