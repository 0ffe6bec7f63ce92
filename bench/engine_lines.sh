#!/usr/bin/env bash
# The line analysis end to end: duplicate removal and joining on large drawings.
#
#   bench/engine_lines.sh BUILD_DIR [CASE...]
#
# Cases (all by default, in this order):
#   rules      the realistic drawing below with the entity rules alone (Check7 and Check9 off)
#   realistic  a nesting sheet of 1,000,000 LINE records: edges in pieces (touching, small gaps,
#              overlaps), duplicates, near-duplicates, pieces on edges, slanted lines, with
#              circles, arcs, text, points and dimensions around them
#   one-line   1,000,000 pieces of one horizontal line, end to end, shuffled
#   grid       a 1000 x 1000 grid of lines cut at every second crossing (1,000,000 pieces that
#              share their coordinates), shuffled
#   identical  1,000,000 identical lines (IDENTICAL_DIRECTION: horizontal, vertical, slanted)
#   slanted    200,000 collinear slanted pieces, end to end, shuffled
#
# Each drawing is generated in a temporary folder, then `cp FILE COPY` (to a new file) and
#   BUILD_DIR/cli/lintrel-cli --set Check7=1 --set Check9=1 --set Check10=1 --set Check11=1 -- FILE
# (with --defaults in front when lintrel-cli has it, so that settings saved on this machine do
# not count) are timed REPS times each (default 3), each output removed and `sync` run, untimed,
# before the next command. The script prints for each case the median times, their ratio,
# lintrel-cli's throughput as a fraction of cp's, its peak resident memory and the join and
# duplicate counts it reported, and at the end one table of them all. Each drawing is removed
# once no case needs it any more.
#
# Environment: REPS, THREADS (passed on as --threads; the default is lintrel-cli's own), LIMIT
# (seconds before a run of lintrel-cli is stopped with Ctrl-C; default 900; a case that runs out
# of time is reported and its other runs are skipped),
# IDENTICAL_DIRECTION, and for quick trials smaller drawings: LINES (default 1000000),
# GRID (default 1000), SLANTED_LINES (default 200000).
set -euo pipefail

all_cases=(rules realistic one-line grid identical slanted)
if [[ $# -lt 1 || $1 == -h || $1 == --help ]]; then
    awk 'NR > 1 && /^#/ { sub(/^# ?/, ""); print; next } NR > 1 { exit }' "$0"
    exit 2
fi

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source-path=SCRIPTDIR source=engine_bench_lib.sh
source "$here/engine_bench_lib.sh"

cli=$(bench_cli "$1")
shift
cases=("$@")
if [[ ${#cases[@]} -eq 0 ]]; then
    cases=("${all_cases[@]}")
fi
reps=${REPS:-3}
limit=${LIMIT:-900}
direction=${IDENTICAL_DIRECTION:-horizontal}
lines=${LINES:-1000000}
grid=${GRID:-1000}
slanted_lines=${SLANTED_LINES:-200000}
bench_ensure_gnu_time

generator_args() {
    case $1 in
        rules | realistic) echo "--kind lines --lines $lines" ;;
        one-line) echo "--kind one-line --lines $lines" ;;
        grid) echo "--kind grid --grid $grid" ;;
        identical) echo "--kind identical --lines $lines --direction $direction" ;;
        slanted) echo "--kind slanted --lines $slanted_lines" ;;
        *)
            echo "unknown case '$1' (cases: ${all_cases[*]})" >&2
            return 1
            ;;
    esac
}
for name in "${cases[@]}"; do
    generator_args "$name" >/dev/null
done

work=$(mktemp -d "${TMPDIR:-/tmp}/lintrel-lines.XXXXXX")
trap 'rm -rf "$work"' EXIT
trap 'exit 130' INT TERM

threads=()
if [[ -n ${THREADS:-} ]]; then
    threads=(--threads "$THREADS")
fi
# The options of a case: the entity rules alone, or with duplicates removed and lines joined.
case_args() {
    local -n into=$2
    if [[ $1 == rules ]]; then
        into=(--set Check7=0 --set Check9=0)
    else
        into=(--set Check7=1 --set Check9=1 --set Check10=1 --set Check11=1)
    fi
    into+=("${threads[@]}")
    bench_use_defaults "$2" "$cli"
}
summary=()

drawing_of="" cli_args=()
for name in "${cases[@]}"; do
    case_args "$name" cli_args
    generated=$(generator_args "$name")
    drawing=$work/drawing.dxf
    copy=$work/copy.dxf
    output=$work/drawing-Cut.dxf
    if [[ $generated != "$drawing_of" ]]; then
        rm -f "$drawing"
        read -r -a gen <<<"$generated"
        echo "== $name: generating ..."
        bench_generate "$drawing" "$copy" "${gen[@]}"
        bytes=$BENCH_BYTES line_records=$BENCH_LINE_RECORDS
        drawing_of=$generated
    else
        echo "== $name: the drawing of the case before"
    fi

    cp_times=() cli_times=() cli_cpu=() cli_rss=() outcome=finished
    for ((i = 1; i <= reps; i++)); do
        bench_run "$work/time.txt" "$limit" /dev/null "$work/cp.err" cp "$drawing" "$copy"
        cp_times+=("$BENCH_SECONDS")
        rm -f "$copy"
        sync
        bench_run "$work/time.txt" "$limit" "$work/cli.out" "$work/cli.err" "$cli" "${cli_args[@]}" -- "$drawing"
        rm -f "$output"
        sync
        if [[ $BENCH_STATUS -eq 124 || $BENCH_STATUS -eq 130 ]]; then
            outcome="stopped after ${limit} s"
            cli_rss+=("$BENCH_RSS_KB")
            echo "   run $i of $reps: cp ${cp_times[-1]} s   lintrel-cli stopped after $limit s"
            break
        elif [[ $BENCH_STATUS -ne 0 ]]; then
            outcome="failed with status $BENCH_STATUS"
            cli_rss+=("$BENCH_RSS_KB")
            echo "   lintrel-cli ended with status $BENCH_STATUS:" >&2
            tail -n 5 "$work/cli.err" >&2
            break
        fi
        cli_times+=("$BENCH_SECONDS") cli_cpu+=("$BENCH_CPU") cli_rss+=("$BENCH_RSS_KB")
        printf '   run %d of %d: cp %7.3f s   lintrel-cli %8.3f s\n' "$i" "$reps" "${cp_times[-1]}" "${cli_times[-1]}"
    done

    cp_median=$(bench_median "${cp_times[@]}")
    peak=$(bench_max "${cli_rss[@]:-0}")
    if [[ $outcome == finished ]]; then
        cli_median=$(bench_median "${cli_times[@]}")
        counts=$(grep -E '結合数|ダブり線数' "$work/cli.out" | tr -s ' \t' ' ' | paste -sd ';' - || true)
        echo "   cp $cp_median s, lintrel-cli $cli_median s (median): ratio $(bench_ratio "$cli_median" "$cp_median")," \
            "throughput $(bench_ratio "$cp_median" "$cli_median") of cp's, peak $peak KB"
        [[ -n $counts ]] || counts="no join or duplicate counts found in the output of lintrel-cli"
        echo "   reported: $counts"
        summary+=("$(printf '%-10s %7s %9s %9.3f %10.3f %9.3f %8s %10s %9s' "$name" "$(bench_mb "$bytes")" \
            "$line_records" "$cp_median" "$cli_median" "$(bench_median "${cli_cpu[@]}")" \
            "$(bench_ratio "$cli_median" "$cp_median")" "$(bench_ratio "$cp_median" "$cli_median")" "$peak")")
    else
        echo "   lintrel-cli $outcome; peak $peak KB"
        summary+=("$(printf '%-10s %7s %9s %9.3f %10s %9s %8s %10s %9s' "$name" "$(bench_mb "$bytes")" \
            "$line_records" "$cp_median" "-" "-" "-" "-" "$peak")  lintrel-cli $outcome")
    fi
done

echo
echo "The clean-up end to end (rules: the entity rules alone; the others: Check7, Check9, Check10," \
    "Check11 on), ${THREADS:-the default} threads, medians of $reps runs"
printf '%-10s %7s %9s %9s %10s %9s %8s %10s %9s\n' case MB LINEs "cp s" "cli s" "cli cpu s" cli/cp \
    fraction "peak KB"
printf '%s\n' "${summary[@]}"
echo "(cli cpu s: user + system time of lintrel-cli; load average at the end: $(cut -d' ' -f1-3 /proc/loadavg))"
