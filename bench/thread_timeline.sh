#!/usr/bin/env bash
# Where one run of lintrel-cli spends its time, thread by thread, sampled by perf.
#
#   bench/thread_timeline.sh BUILD_DIR DRAWING [LINTREL-CLI OPTIONS...]
#
# Runs BUILD_DIR/cli/lintrel-cli with the options given (after --defaults) on DRAWING once under
# `perf record`, writing a fresh copy in a temporary folder (`sync` run first), then prints a row
# per thread: how much of a core it used in each step of STEP_MS milliseconds (100 for all of
# one), its share of all samples, and the functions it spent most of them in. It shows which
# stretches of a run keep every core busy, which leave one idle, and what each thread does there.
# One run's figures move with the machine's load; compare rows within a timeline.
#
# Environment: STEP_MS (default 50), TOP (functions a thread, default 4), FREQUENCY (samples a
# second, default 2000), TMPDIR (where the copy goes; default the drawing's folder). Users other
# than root may sample only where the sysctl kernel.perf_event_paranoid is 1 or lower.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source-path=SCRIPTDIR source=engine_bench_lib.sh
source "$here/engine_bench_lib.sh"
if [[ $# -lt 2 || $1 == -h || $1 == --help ]]; then
    bench_usage "$0"
    exit 2
fi

cli=$(bench_cli "$1")
if [[ ! -f $2 ]]; then
    echo "no drawing $2" >&2
    exit 1
fi
drawing=$(realpath "$2")
shift 2
step_ms=${STEP_MS:-50}
top=${TOP:-4}
frequency=${FREQUENCY:-2000}
if ! command -v perf >/dev/null; then
    bench_install linux-perf "perf (Debian package linux-perf) for the timeline"
fi

work=$(mktemp -d "${TMPDIR:-$(dirname "$drawing")}/lintrel-timeline.XXXXXX")
trap 'rm -rf "$work"' EXIT
trap 'exit 130' INT TERM
# The copy is written beside its input, so the run reads a link to the drawing from the work folder.
ln -s "$drawing" "$work/drawing.dxf"
cli_args=("$@")
bench_use_defaults cli_args "$cli"
sync
perf record -q -F "$frequency" -o "$work/perf.data" -- "$cli" "${cli_args[@]}" -- \
    "$work/drawing.dxf" >/dev/null 2>"$work/err.txt" ||
    { echo "the run failed: $(tail -n 3 "$work/err.txt")" >&2; exit 1; }

echo "$(basename "$drawing"), ${cli_args[*]}: % of a core in steps of $step_ms ms, $frequency samples/s"
perf script -i "$work/perf.data" -F tid,time,ip,sym 2>/dev/null |
    awk -v step="$step_ms" -v frequency="$frequency" -v top="$top" '
        {
            tid = $1; time = $2 + 0
            symbol = $4; for (i = 5; i <= NF; ++i) symbol = symbol " " $i
            sub(/\(.*/, "", symbol)  # the arguments of a C++ function
            if (symbol == "") symbol = "[unknown]"
            if (!(tid in samples)) order[++threads] = tid
            if (count == 0) start = time
            ++count; ++samples[tid]; ++bySymbol[tid, symbol]
            at = int((time - start) * 1000 / step); ++inStep[tid, at]
            if (at > lastStep) lastStep = at
        }
        END {
            perStep = frequency * step / 1000
            for (k = 1; k <= threads; ++k) {
                tid = order[k]
                row = ""
                for (at = 0; at <= lastStep; ++at) row = row sprintf(" %3d", 100 * inStep[tid, at] / perStep)
                printf "thread %-7s%s   %4.1f%%\n", tid, row, 100 * samples[tid] / count
                # The busiest functions, by selection: a thread has few.
                delete taken
                for (n = 1; n <= top; ++n) {
                    best = ""
                    for (key in bySymbol) {
                        split(key, part, SUBSEP)
                        if (part[1] == tid && !(key in taken) && (best == "" || bySymbol[key] > bySymbol[best])) {
                            best = key; bestSymbol = part[2]
                        }
                    }
                    if (best == "") break
                    taken[best] = 1
                    printf "    %5.1f%%  %s\n", 100 * bySymbol[best] / samples[tid], substr(bestSymbol, 1, 100)
                }
            }
            printf "%d samples in %.3f s\n", count, (lastStep + 1) * step / 1000
        }'
