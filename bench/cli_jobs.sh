#!/usr/bin/env bash
# lintrel-cli -j: how much faster several files at a time clean a folder than one at a time.
#
#   bench/cli_jobs.sh BUILD_DIR [JOBS...]
#
# Generates two folders under TMPDIR (default /tmp): many small drawings (FILES of them, default
# 200, of LINES line records each, default 2000) and a few large ones (4 of 20 MB, every entity
# type). On each it times, REPS times (default 5), `lintrel-cli --defaults --quiet -j N` for N = 1
# and each of JOBS (default 2 and 4), and prints the median times and each
# median's ratio to -j 1's (below 1: faster). Everything it writes is removed at the end.
# EQUAL_THREADS=1 gives every setting the same threads in all: -j N runs with --threads
# (cores / N), so that a busy machine does not favour the setting with more threads.
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=engine_bench_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/engine_bench_lib.sh"

if (($# == 0)) || [[ $1 == -h || $1 == --help ]]; then
    bench_usage "$0"
    exit 2
fi
cli=$(bench_cli "$1")
jobs=("${@:2}")
((${#jobs[@]})) || jobs=(2 4)
here=$(dirname "${BASH_SOURCE[0]}")
bench_ensure_gnu_time

work=$(mktemp -d "${TMPDIR:-/tmp}/lintrel-jobs.XXXXXX")
trap 'rm -rf "$work"' EXIT
trap 'exit 130' INT TERM
files=${FILES:-200}
lines=${LINES:-2000}
echo "generating $files drawings of $lines lines and 4 drawings of 20 MB in $work ..."
mkdir -p "$work/small" "$work/large"
python3 "$here/engine_drawing_generator.py" --kind lines --lines "$lines" "$work/small/0.dxf"
for ((i = 1; i < files; i++)); do
    cp "$work/small/0.dxf" "$work/small/$i.dxf"
done
for i in 1 2 3 4; do
    python3 "$here/engine_drawing_generator.py" --kind mixed --size-mb 20 --seed "$i" \
        "$work/large/$i.dxf"
done

# Seconds of one lintrel-cli -j N on the drawings of a folder.
seconds() {
    local folder=$1 n=$2 threads=()
    if [[ ${EQUAL_THREADS-} == 1 ]]; then
        threads=(--threads $(($(nproc) / n > 0 ? $(nproc) / n : 1)))
    fi
    rm -f "$folder"/*-Cut.dxf
    bench_run "$work/time.txt" 600 /dev/null "$work/cli.err" \
        "$cli" --defaults --quiet -j "$n" "${threads[@]}" "$folder"/[0-9]*.dxf
    [[ $BENCH_STATUS -eq 0 ]] || { echo "lintrel-cli failed: $(cat "$work/cli.err")" >&2; exit 1; }
    echo "$BENCH_SECONDS"
}

# The settings in turn within each repetition, so that a change in the machine's load touches
# them all alike.
counts=(1 "${jobs[@]}")
for folder in small large; do
    declare -A times=()
    for ((r = 1; r <= ${REPS:-5}; r++)); do
        for n in "${counts[@]}"; do
            times[$n]+="$(seconds "$work/$folder" "$n") "
        done
    done
    # shellcheck disable=SC2086 # the times are words on purpose
    base=$(bench_median ${times[1]})
    for n in "${counts[@]}"; do
        # shellcheck disable=SC2086
        t=$(bench_median ${times[$n]})
        printf '%-6s -j %-3s median %7.3f s   ratio to -j 1: %s\n' "$folder" "$n" "$t" \
            "$(bench_ratio "$t" "$base")"
    done
    unset times
done
