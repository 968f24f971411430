# Shared by the soak scripts: the run's length, the 1,000 schedules with the starts they must
# make, and the matching of those starts with the companion stub's log.

# parse_duration TEXT: sets $seconds (seconds, or a number followed by s, m or h; 2m to 24h).
parse_duration() {
    local duration=$1
    if ! [[ $duration =~ ^[0-9]+[smh]?$ ]]; then
        echo "soak: a duration is a whole number of seconds, or of s, m or h: 600, 10m, 24h" >&2
        return 2
    fi
    case $duration in
        *h) seconds=$((${duration%h} * 3600)) ;;
        *m) seconds=$((${duration%m} * 60)) ;;
        *s) seconds=${duration%s} ;;
        *) seconds=$duration ;;
    esac
    if ((seconds < 120 || seconds > 86400)); then
        echo "soak: the duration must lie between 2m and 24h" >&2
        return 2
    fi

}

# plan_soak SECONDS: 1,000 schedules of mixed types appended to $folder/Scheduler.cfg, some
# falling due every few seconds from $t0 to $end (both set here, epoch seconds), and every start
# they must make written to $expected (key, window start ms, window ms, group). Sets $count and
# $off (switched off). Needs add_schedule (headless_common.sh) and TZ=UTC.
plan_soak() {
    local seconds=$1
    : >"$expected"
    # Start away from a minute's edge, so no Hourly minute begins while the program starts up.
    while (($(date +%-S) < 3 || $(date +%-S) > 40)); do sleep 1; done
    now=$(date +%s)
    t0=$((now + 15))     # the program polls by then: writing 1,000 schedules takes a few seconds
    end=$((t0 + seconds))
    # Nor end near a minute's edge: an Hourly start in the last seconds would be half counted.
    ((end % 60 < 5)) && end=$((end + 5 - end % 60))
    ((end % 60 > 55)) && end=$((end + 65 - end % 60))

    count=0
    add() { # add TYPE EPOCH [KEY=VALUE...]
        add_schedule "$1" "$2" "/soak/$count.dvs" "${@:3}"
        count=$((count + 1))
    }
    expect() { # expect KEY WINDOW-START-SECONDS WINDOW-SECONDS GROUP
        echo "$1 $(($2 * 1000)) $(($3 * 1000)) $4" >>"$expected"
    }

    # Due within the run: one slot every few seconds (3 s for runs up to half an hour, so that
    # 600 slots at most span the run), the types taking turns; every fourth slot has a second
    # entry in the same second, and every tenth a switched-off entry that must never start.
    first=$((t0 + 3)) last=$((end - 3))
    step=$(((last - first) / 600 + 1))
    ((step < 3)) && step=3
    slot=0 off=0
    for ((due = first; due <= last; due += step, slot++)); do
        case $((slot % 8)) in
            1 | 7) type=0 ;;
            2) type=3 ;;
            4) type=4 ;;
            5) type=5 ;;
            *) type=2 ;;
        esac
        if ((type == 0 && due % 60 == 0)); then
            expect "$count" "$due" 1 once # the second before lies in another minute
        elif ((type == 0)); then
            # Once matches in the second before its own too: its window starts there.
            expect "$count" $((due - 1)) 2 once
        else
            expect "$count" "$due" 1 exact
        fi
        add "$type" "$due"
        if ((slot % 4 == 0)); then
            expect "$count" "$due" 1 exact
            add 3 "$due"
        fi
        if ((slot % 10 == 0)); then
            add 2 "$due" enable=0
            off=$((off + 1))
        fi
    done

    # Hourly: two entries for each minute of the hour except those the start-up overlaps; each
    # starts at the first poll of its minute, every hour.
    start_minutes=" $(date -d "@$now" +%-M) $(date -d "@$t0" +%-M) "
    for ((minute = 0; minute < 60; minute++)); do
        [[ $start_minutes == *" $minute "* ]] && continue
        at=$(((now / 3600) * 3600 + minute * 60))
        for _ in 1 2; do
            for ((b = at; b <= end; b += 3600)); do
                ((b >= t0 && b <= end - 2)) && expect "$count" "$b" 60 hourly
            done
            add 1 "$at"
        done
    done

    # The rest never falls due within a day: Once next year, Daily on one weekday three days on,
    # Weekly and Monthly three days on, Yearly forty days on (always another month).
    in3=$((now + 3 * 86400))
    weekday_bit=$((1 << ($(date -d "@$in3" +%u) - 1)))
    while ((count < 1000)); do
        spread=$((count * 37))
        case $((count % 5)) in
            0) add 0 $((now + 400 * 86400 + spread)) ;;
            1) add 2 $((in3 + spread % 86400)) days_week=$weekday_bit ;;
            2) add 3 $((in3 + spread % 86400)) ;;
            3) add 4 $((in3 + spread % 86400)) ;;
            4) add 5 $((now + 40 * 86400 + spread % 86400)) ;;
        esac
    done
    printf '\r\n' >>"$folder/Scheduler.cfg"
    if (($(date +%s) >= t0 - 1)); then
        echo "soak: writing the schedules took too long" >&2
        return 1
    fi

}

# match_starts STARTS_LOG: matches the stub's records of /soak/KEY.dvs with $expected and
# reports the delays; false on a missed, doubled or unexpected start.
match_starts() {
    echo "soak: $seconds s, $count schedules: $(grep -vcE " (hourly|run)$" "$expected") due at a second of the run," \
        "$(grep -c hourly "$expected") Hourly starts, $off switched off"
    awk '
        FILENAME == ARGV[1] {
            key = $1; n = ++occurrences[key]
            at[key, n] = $2; width[key, n] = $3; group[key, n] = $4; total++
            next
        }
        /^arg: \/soak\// { split(substr($2, 7), p, "."); key = p[1] }
        /^time: / && key != "" {
            started++
            # The occurrence whose window holds the start; the stub records its time after
            # being started, so a start may land a little after the window.
            hit = 0
            for (n = 1; n <= occurrences[key]; n++) {
                if ($2 >= at[key, n] && $2 < at[key, n] + width[key, n] + 2000) { hit = n }
            }
            if (!hit) { unexpected++ }
            else if (++starts[key, hit] > 1) { doubled++ }
            else { g = group[key, hit]; delays[g, ++m[g]] = $2 - at[key, hit] }
            key = ""
        }
        function sortDelays(g, count,    i, j, v) {
            for (i = 2; i <= count; i++) {
                v = delays[g, i]
                for (j = i - 1; j >= 1 && delays[g, j] > v; j--) { delays[g, j + 1] = delays[g, j] }
                delays[g, j + 1] = v
            }
        }
        function report(g, label,    c, p99) {
            c = m[g]
            if (!c) { return }
            sortDelays(g, c)
            p99 = int(c * 0.99 + 0.999999); if (p99 < 1) p99 = 1
            printf "  %-44s %5d starts: median %4d ms, 99th percentile %4d ms, maximum %4d ms\n",
                label, c, delays[g, int((c + 1) / 2)], delays[g, p99], delays[g, c]
        }
        END {
            for (k in occurrences) {
                for (n = 1; n <= occurrences[k]; n++) { if (!starts[k, n]) missed++ }
            }
            printf "starts expected %d, started %d, missed %d, doubled %d, never due %d\n",
                total, started, missed, doubled, unexpected
            print "delay after the due second:"
            report("exact", "Daily/Weekly/Monthly/Yearly (its second)")
            report("once", "Once (its two-second window)")
            report("hourly", "Hourly (its minute)")
            report("run", "Run Schedule (from the command)")
            exit missed || doubled || unexpected
        }' "$expected" "$1"
}
