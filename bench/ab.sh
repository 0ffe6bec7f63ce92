#!/usr/bin/env bash
# An A/B comparison of two builds of lintrel-cli on one drawing, against cp to a new file.
#
#   bench/ab.sh BUILD_A BUILD_B DRAWING [LINTREL-CLI OPTIONS...]
#
# Runs, REPS times (default 7), in turn: cp DRAWING to a new file, then build A's and build B's
# lintrel-cli with the options given (after --defaults), A first in odd rounds and B first in even
# ones. Each output is removed and `sync` run, untimed, before the next command, so that every
# command writes a fresh file. Prints the median and best wall-clock times, each as a multiple of
# cp's median, the median processor time (user + system), the peak resident memory, and B's
# medians as fractions of A's: on a shared machine the processor time moves less with the load
# than the wall-clock time. Both builds must write the same copy; the script checks it once, byte
# for byte, and stops when they differ.
#
# Environment: REPS, TMPDIR (where the copies go; default the drawing's folder), CP_EACH=1 (cp
# runs before each build's run, not only once a round, so that every run follows a cp as in
# engine_lines.sh rather than the other build's run, which leaves the memory it freed warm).
set -euo pipefail

if [[ $# -lt 3 || $1 == -h || $1 == --help ]]; then
    awk 'NR > 1 && /^#/ { sub(/^# ?/, ""); print; next } NR > 1 { exit }' "$0"
    exit 2
fi
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source-path=SCRIPTDIR source=engine_bench_lib.sh
source "$here/engine_bench_lib.sh"

cli_a=$(bench_cli "$1")
cli_b=$(bench_cli "$2")
drawing=$(realpath "$3")
shift 3
reps=${REPS:-7}
bench_ensure_gnu_time

work=$(mktemp -d "${TMPDIR:-$(dirname "$drawing")}/lintrel-ab.XXXXXX")
trap 'rm -rf "$work"' EXIT
trap 'exit 130' INT TERM
# The copy is written beside its input, so each build reads a link to the drawing from the work folder.
input=$work/drawing.dxf
output=$work/drawing-Cut.dxf
ln -s "$drawing" "$input"
cli_args=("$@")
bench_use_defaults cli_args "$cli_a"

"$cli_a" "${cli_args[@]}" -- "$input" >/dev/null && mv "$output" "$work/a.dxf"
"$cli_b" "${cli_args[@]}" -- "$input" >/dev/null && mv "$output" "$work/b.dxf"
if ! cmp -s "$work/a.dxf" "$work/b.dxf"; then
    echo "the copies of A and B differ: $(cmp "$work/a.dxf" "$work/b.dxf" 2>&1 | head -n 1)" >&2
    exit 1
fi
rm -f "$work/a.dxf" "$work/b.dxf"
sync

# NAME COMMAND...: one run; appends its times and peak memory to NAME_times, NAME_cpu, NAME_rss
timed() {
    local -n times=$1_times cpu=$1_cpu rss=$1_rss
    shift
    bench_run "$work/time.txt" 900 /dev/null "$work/err.txt" "$@"
    [[ $BENCH_STATUS -eq 0 ]] || { echo "$* failed: $(tail -n 3 "$work/err.txt")" >&2; exit 1; }
    times+=("$BENCH_SECONDS") cpu+=("$BENCH_CPU") rss+=("$BENCH_RSS_KB")
    rm -f "$output" "$work/copy.dxf"
    sync
}
# shellcheck disable=SC2034 # read through the names timed() and the table below make of them
cp_times=() cp_cpu=() cp_rss=() a_times=() a_cpu=() a_rss=() b_times=() b_cpu=() b_rss=()
for ((i = 1; i <= reps; i++)); do
    # B goes first every other round: on some machines the second of two like runs is the faster.
    order=(a b)
    if ((i % 2 == 0)); then
        order=(b a)
    fi
    for who in "${order[@]}"; do
        if [[ $who == "${order[0]}" || ${CP_EACH:-0} == 1 ]]; then
            timed cp cp "$drawing" "$work/copy.dxf"
        fi
        declare -n cli=cli_$who
        timed "$who" "$cli" "${cli_args[@]}" -- "$input"
    done
    printf '  run %d of %d: cp %6.3f s   A %6.3f s   B %6.3f s\n' "$i" "$reps" "${cp_times[-1]}" \
        "${a_times[-1]}" "${b_times[-1]}"
done

cp_median=$(bench_median "${cp_times[@]}")
echo "$(basename "$drawing"), ${cli_args[*]}: medians of $reps runs (load average $(cut -d' ' -f1-3 /proc/loadavg))"
printf '%-4s %9s %9s %8s %8s %9s %9s\n' "" "median s" "best s" "×cp" "best×cp" "cpu s" "peak KB"
for who in cp a b; do
    declare -n t=${who}_times c=${who}_cpu r=${who}_rss
    median=$(bench_median "${t[@]}") best=$(bench_best "${t[@]}")
    printf '%-4s %9.3f %9.3f %8s %8s %9.3f %9s\n' "${who^^}" "$median" "$best" \
        "$(bench_ratio "$median" "$cp_median")" "$(bench_ratio "$best" "$cp_median")" \
        "$(bench_median "${c[@]}")" "$(bench_max "${r[@]}")"
done
echo "B/A: $(bench_ratio "$(bench_median "${b_times[@]}")" "$(bench_median "${a_times[@]}")")" \
    "(processor time: $(bench_ratio "$(bench_median "${b_cpu[@]}")" "$(bench_median "${a_cpu[@]}")"))"
