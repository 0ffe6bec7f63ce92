#!/usr/bin/env bash
# lintrel-cli -j: how much faster several files at a time clean a folder than one at a time.
#
#   bench/cli_jobs.sh BUILD_DIR [JOBS...]
#
# Generates two folders under TMPDIR (default /tmp): many small drawings (FILES of them, default
# 200, of LINES line records each, default 2000) and a few large ones (4 of 20 MB, every entity
# type). On each it times, REPS times (default 3), `lintrel-cli --defaults --quiet -j N` for N = 1
# and each of JOBS (default 2 and the machine's cores), and prints the median times and each
# median's ratio to -j 1's (below 1: faster). Everything it writes is removed at the end.
set -euo pipefail

if [[ $# -lt 1 || $1 == -h || $1 == --help ]]; then
    awk 'NR > 1 && /^#/ { sub(/^# ?/, ""); print; next } NR > 1 { exit }' "$0"
    exit 2
fi

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source-path=SCRIPTDIR source=engine_bench_lib.sh
source "$here/engine_bench_lib.sh"

cli=$(bench_cli "$1")
shift
jobs=("$@")
if ((${#jobs[@]} == 0)); then
    jobs=(2 "$(nproc)")
fi
reps=${REPS:-3}
files=${FILES:-200}
lines=${LINES:-2000}
bench_ensure_gnu_time

work=$(mktemp -d "${TMPDIR:-/tmp}/lintrel-jobs.XXXXXX")
trap 'rm -rf "$work"' EXIT
trap 'exit 130' INT TERM

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

# The median seconds of REPS runs of lintrel-cli -j N on the drawings of one folder.
median_seconds() {
    local folder=$1 n=$2 times=()
    for ((r = 1; r <= reps; r++)); do
        rm -f "$folder"/*-Cut.dxf
        bench_run "$work/time.txt" 600 /dev/null "$work/cli.err" \
            "$cli" --defaults --quiet -j "$n" "$folder"/[0-9]*.dxf
        [[ $BENCH_STATUS -eq 0 ]] || { echo "lintrel-cli failed: $(cat "$work/cli.err")" >&2; exit 1; }
        times+=("$BENCH_SECONDS")
    done
    bench_median "${times[@]}"
}

for folder in small large; do
    base=$(median_seconds "$work/$folder" 1)
    printf '%-6s -j 1   %7.3f s   ratio 1.00\n' "$folder" "$base"
    for n in "${jobs[@]}"; do
        t=$(median_seconds "$work/$folder" "$n")
        printf '%-6s -j %-3s %7.3f s   ratio %s\n' "$folder" "$n" "$t" "$(bench_ratio "$t" "$base")"
    done
done
