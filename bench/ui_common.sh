# Shared by the Windows program's benchmark and soak: a program folder holding Scheduler.exe,
# the companion stub as dovsuite.exe and the driver ui_bench.exe, and the driver run there
# inside a Wine desktop (no waits for a window manager, a taskbar for the tray icon).
# Expects $build (a windows build folder) and an X display.
. bench/headless_common.sh
export WINEDEBUG=-all
: "${WINEPREFIX:=$PWD/$build/wineprefix}"
export WINEPREFIX
if [ -z "${DISPLAY:-}" ]; then
    echo "${0##*/}: needs an X display (DISPLAY), such as Xvfb :98 -screen 0 1024x768x24" >&2
    exit 2
fi
cmake/wine-prefix.sh
if ls "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Dovrin\ Suite/Scheduler.cfg >/dev/null 2>&1; then
    echo "${0##*/}: the prefix's application-data Scheduler.cfg would be loaded instead" >&2
    exit 2
fi

# The programs as they ship, without their debugging information: Wine reads an image's
# sections whole at every start, and the build's Scheduler.exe is mostly debugging data.
make_windows_folder() {
    new_program_folder
    local strip
    strip=$(sed -n 's/^CMAKE_STRIP:FILEPATH=//p' "$build/CMakeCache.txt")
    # COUNTED=1: the copy that counts its own heap (bench/heap_count_win.cpp).
    "$strip" -o "$folder/Scheduler.exe" "$build/bin/Scheduler${COUNTED:+_counted}.exe"
    "$strip" -o "$folder/ui_bench.exe" "$build/bin/ui_bench.exe"
    cp "$build/bin/companion_stub.exe" "$folder/dovsuite.exe"
    export COMPANION_STUB_LOG="Z:${folder//\//\\}\\starts.log"
}

# run_driver ARGUMENTS...: ui_bench.exe in $folder inside a desktop of its own; its output
# is in $folder/driver.txt too. The desktop passes no exit code back.
run_driver() {
    (cd "$folder" && wine explorer "/desktop=ui-bench-$$,1024x768" ui_bench.exe "$@") 2>&1 |
        tr -d '\r' | tee "$folder/driver.txt"
}
