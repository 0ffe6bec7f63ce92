#!/usr/bin/env bash
# Throughput and peak memory of the clean-up engine on a large realistic drawing.
#
#   bench/engine_throughput.sh BUILD_DIR [SIZE_MB]
#
# Generates a drawing of SIZE_MB megabytes (default 120; CR LF, every entity type, Shift-JIS
# text) in a temporary folder, then times, in one run, REPS times each (default 5):
#   cp FILE COPY
#   BUILD_DIR/cli/lintrel-cli --set Check7=0 --set Check9=0 -- FILE
# (the entity rules with their default options, the line analysis off; --defaults goes in front
# when lintrel-cli has it, so that settings saved on this machine do not count) and prints the
# best and median times, the throughput of lintrel-cli as a fraction of cp's, and the peak
# resident memory of lintrel-cli, also on a drawing a tenth of the size to show that it does not
# grow with the file. Everything it writes lives under TMPDIR (default /tmp) and is removed at
# the end.
#
# Environment: REPS (runs of each command), THREADS (passed on as --threads; the default is
# lintrel-cli's own), LIMIT (seconds before a run is stopped, default 600).
set -euo pipefail

if [[ $# -lt 1 || $# -gt 2 || $1 == -h || $1 == --help ]]; then
    awk 'NR > 1 && /^#/ { sub(/^# ?/, ""); print; next } NR > 1 { exit }' "$0"
    exit 2
fi

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source-path=SCRIPTDIR source=engine_bench_lib.sh
source "$here/engine_bench_lib.sh"

cli=$(bench_cli "$1")
size_mb=${2:-120}
reps=${REPS:-5}
limit=${LIMIT:-600}
bench_ensure_gnu_time

work=$(mktemp -d "${TMPDIR:-/tmp}/lintrel-throughput.XXXXXX")
trap 'rm -rf "$work"' EXIT
trap 'exit 130' INT TERM

drawing=$work/drawing.dxf
copy=$work/copy.dxf
output=$work/drawing-Cut.dxf
cli_args=(--set Check7=0 --set Check9=0)
if [[ -n ${THREADS:-} ]]; then
    cli_args+=(--threads "$THREADS")
fi
bench_use_defaults cli_args "$cli"

echo "generating a ${size_mb} MB drawing in $work ..."
bench_generate "$drawing" "$copy" --kind mixed --size-mb "$size_mb"
bytes=$BENCH_BYTES

cp_times=() cp_cpu=() cp_rss=() cli_times=() cli_cpu=() cli_rss=()
for ((i = 1; i <= reps; i++)); do
    bench_run "$work/time.txt" "$limit" /dev/null "$work/cp.err" cp "$drawing" "$copy"
    [[ $BENCH_STATUS -eq 0 ]] || { echo "cp failed ($BENCH_STATUS): $(cat "$work/cp.err")" >&2; exit 1; }
    cp_times+=("$BENCH_SECONDS") cp_cpu+=("$BENCH_CPU") cp_rss+=("$BENCH_RSS_KB")
    rm -f "$copy"
    sync

    bench_run "$work/time.txt" "$limit" "$work/cli.out" "$work/cli.err" "$cli" "${cli_args[@]}" -- "$drawing"
    if [[ $BENCH_STATUS -ne 0 ]]; then
        echo "lintrel-cli ended with status $BENCH_STATUS after $BENCH_SECONDS s:" >&2
        tail -n 5 "$work/cli.err" >&2
        exit 1
    fi
    [[ -s $output ]] || { echo "lintrel-cli wrote no $output" >&2; exit 1; }
    cli_times+=("$BENCH_SECONDS") cli_cpu+=("$BENCH_CPU") cli_rss+=("$BENCH_RSS_KB")
    out_bytes=$(stat -c %s "$output")
    rm -f "$output"
    sync
    printf '  run %d of %d: cp %6.3f s   lintrel-cli %6.3f s\n' "$i" "$reps" "${cp_times[-1]}" "${cli_times[-1]}"
done

# Peak memory on a drawing a tenth of the size: the engine holds one record, never the file.
small=$work/small.dxf
small_mb=$(awk -v s="$size_mb" 'BEGIN { printf "%.1f", s / 10 }')
python3 "$here/engine_drawing_generator.py" --kind mixed --size-mb "$small_mb" --seed 2 "$small" 2>/dev/null
bench_run "$work/time.txt" "$limit" /dev/null /dev/null "$cli" "${cli_args[@]}" -- "$small"
small_rss=$BENCH_RSS_KB
small_bytes=$(stat -c %s "$small")
rm -f "$small" "$work/small-Cut.dxf"

cp_best=$(bench_best "${cp_times[@]}") cp_median=$(bench_median "${cp_times[@]}")
cli_best=$(bench_best "${cli_times[@]}") cli_median=$(bench_median "${cli_times[@]}")

echo
echo "Clean-up engine throughput (entity rules on, line analysis off), ${THREADS:-the default}" \
    "threads, $reps runs each;" \
    "$(bench_mb "$bytes") MB in, $(bench_mb "$out_bytes") MB out"
printf '%-12s %9s %9s %8s %8s %9s %9s %14s\n' "" "median s" "best s" "×cp" "best×cp" "MB/s" "cpu s" "peak KB"
printf '%-12s %9.3f %9.3f %8s %8s %9s %9s %14s\n' cp "$cp_median" "$cp_best" 1.00 \
    "$(bench_ratio "$cp_best" "$cp_median")" "$(bench_rate "$bytes" "$cp_median")" \
    "$(bench_median "${cp_cpu[@]}")" "$(bench_max "${cp_rss[@]}")"
printf '%-12s %9.3f %9.3f %8s %8s %9s %9s %14s\n' lintrel-cli "$cli_median" "$cli_best" \
    "$(bench_ratio "$cli_median" "$cp_median")" "$(bench_ratio "$cli_best" "$cp_median")" \
    "$(bench_rate "$bytes" "$cli_median")" "$(bench_median "${cli_cpu[@]}")" \
    "$(bench_max "${cli_rss[@]}") / $small_rss"
echo "(peak KB of lintrel-cli: on this drawing / on one a tenth of its size, $(bench_mb "$small_bytes") MB;" \
    "load average at the end: $(cut -d' ' -f1-3 /proc/loadavg))"
echo
echo "lintrel-cli's report of the last run:"
sed 's/^/  /' "$work/cli.out"
