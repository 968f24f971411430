# Shared by the benchmark scripts: a temporary program folder holding the headless scheduler
# and the companion stub as dovsuite.exe, with its own configuration and runtime folders.
# Expects $build (a build folder holding bin/scheduler and bin/companion_stub).

# A temporary folder with a Scheduler.cfg that holds only its header.
new_program_folder() {
    folder=$(mktemp -d "${TMPDIR:-/tmp}/sched-bench-XXXXXX")
    printf '/** Scheduler benchmark **/\r\n\r\nFormatVersion=1.0\r\n' >"$folder/Scheduler.cfg"
}

make_program_folder() {
    new_program_folder
    cp "$build/bin/scheduler" "$folder/scheduler"
    cp "$build/bin/companion_stub" "$folder/dovsuite.exe"
    mkdir -p "$folder/config" "$folder/run"
}

# add_schedule TYPE EPOCH FILE [KEY=VALUE...]: one schedule of TYPE (0 Once .. 5 Yearly) due
# at EPOCH (Hourly: at its minute of every hour). The pairs are added as they stand; a
# days_week among them replaces the Daily default of every day.
add_schedule() {
    local type=$1 epoch=$2 file=$3
    shift 3
    local Y m d H M S u pair days=127
    read -r Y m d H M S u <<<"$(date -d "@$epoch" '+%Y %-m %-d %-H %-M %-S %u')"
    for pair in "$@"; do
        [[ $pair == days_week=* ]] && days=${pair#days_week=}
    done
    {
        printf '\r\n[Schedule]\r\ntitle="%s"\r\nfile="%s"\r\ntype=%d\r\n' "$file" "$file" "$type"
        for pair in "$@"; do
            [[ $pair == days_week=* ]] || printf '%s\r\n' "$pair"
        done
        case $type in
            0) printf 'day=%d\r\nmonth=%d\r\nyear=%d\r\n' "$d" "$m" "$Y" ;;
            2) printf 'days_week=%d\r\n' "$days" ;;
            3) printf 'nday_week=%d\r\n' $((u - 1)) ;;
            4) printf 'day=%d\r\n' "$d" ;;
            5) printf 'day=%d\r\nmonth=%d\r\n' "$d" $((m - 1)) ;;
        esac
        printf 'hour=%d\r\nmin=%d\r\nsec=%d' "$H" "$M" "$S"
    } >>"$folder/Scheduler.cfg"
}

start_scheduler() {
    XDG_CONFIG_HOME="$folder/config" XDG_RUNTIME_DIR="$folder/run" \
        COMPANION_STUB_LOG="$folder/starts.log" "$folder/scheduler" "$@" >"$folder/out.txt" &
    pid=$!
}

stop_scheduler() {
    kill -TERM "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}
