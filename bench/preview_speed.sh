#!/usr/bin/env bash
# The preview against the dry run on the realistic drawing of 1,000,000 LINE records.
#
#   bench/preview_speed.sh BUILD_DIR
#
# BUILD_DIR must be configured with -DLINTREL_BUILD_BENCH=ON and hold preview_bench and
# lintrel-cli. Generates the drawing in a temporary folder, then, REPS times each (default 3), each
# pair in turn, the second first in every other round:
#   preview_bench dry DRAWING       the dry run alone (baseline)
#   preview_bench preview DRAWING   dry run, model and first picture; at 1x, 10x, 1000x 20 renders
#                                   of the view afresh, 20 redraws of it as the window repaints,
#                                   and 20 redraws panned by a few pixels each
#   lintrel-cli --dry-run ...            and   lintrel-cli --dry-run --preview DIR --preview-format png ...
# and prints the medians, the ratios first picture / dry run, PNG / dry run, the peak memory
# ratio, and the render, redraw and pan figures of the last preview run.
# Environment: REPS, LINES (default 1000000).
set -euo pipefail
if [[ $# -ne 1 ]]; then
    awk 'NR > 1 && /^#/ { sub(/^# ?/, ""); print; next } NR > 1 { exit }' "$0"
    exit 2
fi
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source-path=SCRIPTDIR source=engine_bench_lib.sh
source "$here/engine_bench_lib.sh"
bench_ensure_gnu_time
build=$1
cli=$(bench_cli "$build")
tool="$build/bench/preview_bench"
reps=${REPS:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
drawing="$work/realistic.dxf"
echo "realistic drawing of ${LINES:-1000000} LINE records:"
bench_generate "$drawing" "$work/copy.dxf" --kind lines --lines "${LINES:-1000000}"
mkdir "$work/pictures"
export QT_QPA_PLATFORM=offscreen
# Duplicates removed and lines joined, nothing else: what preview_bench runs too.
options=(--dry-run)
for box in Check1 Check2 Check3 Check4 Check5 Check6 Check8 Check10 Check11 Check12 Check13 \
    TEXT文字削除 MTEXT文字削除; do
    options+=(--set "$box=0")
done
options+=(--set Check7=1 --set Check9=1 --set Text5=0.01 --set Text9=0.5)
bench_use_defaults options "$cli"

dry=() first=() clidry=() png=() dry_rss=() preview_rss=()
# Each pair runs the other way round every other round: on some machines a program that starts
# right after one which freed much memory finds its fresh pages cheaper, which favoured the
# second of a pair.
for ((k = 0; k < reps; ++k)); do
    steps=(dry preview clidry png)
    if ((k % 2 == 1)); then
        steps=(preview dry png clidry)
    fi
    for step in "${steps[@]}"; do
        case $step in
        dry)
            bench_run "$work/rss" 900 "$work/out" "$work/err" "$tool" dry "$drawing"
            dry+=("$(awk '/^dry run/ { print $3 }' "$work/out")")
            dry_rss+=("$BENCH_RSS_KB")
            ;;
        preview)
            bench_run "$work/rss" 900 "$work/preview-out" "$work/err" "$tool" preview "$drawing"
            first+=("$(awk '/^first picture/ { print $3 }' "$work/preview-out")")
            preview_rss+=("$BENCH_RSS_KB")
            ;;
        clidry)
            bench_run "$work/rss" 900 "$work/out" "$work/err" "$cli" "${options[@]}" -- "$drawing"
            clidry+=("$BENCH_SECONDS")
            ;;
        png)
            rm -f "$work/pictures"/*  # a fresh picture each time, not one written over
            bench_run "$work/rss" 900 "$work/out" "$work/err" "$cli" "${options[@]}" \
                --preview "$work/pictures" --preview-format png -- "$drawing"
            png+=("$BENCH_SECONDS")
            ;;
        esac
    done
done
d=$(bench_median "${dry[@]}") f=$(bench_median "${first[@]}")
c=$(bench_median "${clidry[@]}") p=$(bench_median "${png[@]}")
dr=$(bench_median "${dry_rss[@]}") pr=$(bench_median "${preview_rss[@]}")
echo "dry run ${d} s, first picture ${f} s: ratio $(bench_ratio "$f" "$d") (goal <= 3)"
echo "lintrel-cli --dry-run ${c} s, with --preview png ${p} s: ratio $(bench_ratio "$p" "$c") (goal <= 2)"
echo "peak memory: dry run ${dr} kB, preview ${pr} kB: ratio $(bench_ratio "$pr" "$dr") (goal <= 2.5)"
grep -E '^(render|redraw|pan)' "$work/preview-out"
