# Helpers shared by the benchmark scripts in bench/; sourced, not run.
# shellcheck shell=bash
# The BENCH_* variables are this file's results, read by the scripts that source it.
# shellcheck disable=SC2034

# GNU time gives the peak memory ("Maximum resident set size"); Debian ships it as `time`.
bench_ensure_gnu_time() {
    if [[ -x /usr/bin/time ]] && /usr/bin/time -v true 2>/dev/null; then
        return
    fi
    bench_install time "GNU time (Debian package time) for the peak-memory figures"
}

# bench_install PACKAGE WHAT: installs a Debian package a script needs, saying what it is for.
bench_install() {
    echo "installing $2" >&2
    local sudo=()
    if [[ $(id -u) -ne 0 ]]; then
        sudo=(sudo)
    fi
    "${sudo[@]}" apt-get install -y -qq "$1" >/dev/null
}

# bench_usage SCRIPT: prints the comment at the head of SCRIPT, its usage.
bench_usage() {
    awk 'NR > 1 && /^#/ { sub(/^# ?/, ""); print; next } NR > 1 { exit }' "$1"
}

# bench_cli PATH: the command-line front end of a build folder, or an explanation and exit.
bench_cli() {
    local cli="$1/cli/lintrel-cli"
    if [[ ! -x $cli ]]; then
        echo "no $cli: build the command-line front end first, e.g." >&2
        echo "  cmake -S . -B $1 -DCMAKE_BUILD_TYPE=Release && cmake --build $1 -j2 --target lintrel-cli" >&2
        exit 1
    fi
    printf '%s\n' "$cli"
}

# bench_use_defaults ARRAY CLI: puts --defaults in front of the options when the front end has it,
# so that settings saved by the window on this machine do not change what is measured.
bench_use_defaults() {
    local -n args=$1
    # grep reads all of it: with -q it would stop early, and the broken pipe fail the test.
    if "$2" --help 2>/dev/null | grep -- '--defaults' >/dev/null; then
        args=(--defaults "${args[@]}")
    fi
}

# bench_run RSS_FILE LIMIT_SECONDS OUT_FILE ERR_FILE COMMAND...
# Runs the command once under GNU time, stopped with Ctrl-C (SIGINT) after LIMIT_SECONDS.
# Sets BENCH_SECONDS (wall clock), BENCH_CPU (user + system seconds, which other work on a shared
# machine disturbs less than the wall clock), BENCH_RSS_KB (peak resident set) and BENCH_STATUS.
bench_run() {
    local rss_file=$1 limit=$2 out=$3 err=$4
    shift 4
    local start end
    start=$EPOCHREALTIME
    BENCH_STATUS=0
    /usr/bin/time -v -o "$rss_file" timeout -s INT -k 10 "$limit" "$@" >"$out" 2>"$err" ||
        BENCH_STATUS=$?
    end=$EPOCHREALTIME
    BENCH_SECONDS=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", b - a }')
    BENCH_CPU=$(awk -F': ' '/User time|System time/ { t += $2 } END { printf "%.3f", t }' "$rss_file")
    BENCH_RSS_KB=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$rss_file")
    BENCH_RSS_KB=${BENCH_RSS_KB:-0}
}

# bench_count_records FILE: the LINE records and all records of the entity section, as "LINES RECORDS".
bench_count_records() {
    awk '/^ENTITIES\r?$/ { inside = 1; next }
         inside && previous ~ /^  0\r?$/ {
             if ($0 ~ /^ENDSEC\r?$/) { inside = 0 } else { records++; if ($0 ~ /^LINE\r?$/) lines++ }
         }
         { previous = $0 }
         END { print lines + 0, records + 0 }' "$1"
}

# bench_generate DRAWING COPY GENERATOR_ARGS...: writes the drawing with the generator beside this
# file, tells its size, records and generation time, and copies it once untimed so that both
# timed commands start from the same page cache. Sets BENCH_BYTES and BENCH_LINE_RECORDS.
bench_generate() {
    local drawing=$1 copy=$2 start records
    shift 2
    start=$EPOCHREALTIME
    python3 "$(dirname "${BASH_SOURCE[0]}")/engine_drawing_generator.py" "$@" "$drawing" 2>/dev/null
    BENCH_BYTES=$(stat -c %s "$drawing")
    read -r BENCH_LINE_RECORDS records < <(bench_count_records "$drawing")
    echo "  $(bench_mb "$BENCH_BYTES") MB, $records entity records of which" \
        "$BENCH_LINE_RECORDS LINE," \
        "generated in $(awk -v a="$start" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.1f", b - a }') s"
    cp "$drawing" "$copy"
    rm -f "$copy"
    sync
}

# bench_median VALUES...: the middle value (the lower middle of an even count).
bench_median() {
    printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

# bench_best VALUES...: the smallest value.
bench_best() {
    printf '%s\n' "$@" | sort -g | head -n 1
}

# bench_max VALUES...: the largest value.
bench_max() {
    printf '%s\n' "$@" | sort -g | tail -n 1
}

# bench_mb BYTES: the size in MB (10^6 bytes) with one decimal.
bench_mb() {
    awk -v b="$1" 'BEGIN { printf "%.1f", b / 1e6 }'
}

# bench_ratio A B: A / B with two decimals.
bench_ratio() {
    awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "n/a" }'
}

# bench_rate BYTES SECONDS: throughput in MB/s.
bench_rate() {
    awk -v b="$1" -v s="$2" 'BEGIN { if (s > 0) printf "%.0f", b / 1e6 / s; else print "n/a" }'
}
