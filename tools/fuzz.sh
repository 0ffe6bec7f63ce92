#!/usr/bin/env bash
# Runs one libFuzzer target for a number of seconds: tools/fuzz.sh TARGET SECONDS [libFuzzer flags]
# (tools/fuzz.sh --build only builds every target).
# Builds build-fuzz (clang, AddressSanitizer and UndefinedBehaviorSanitizer) when needed, seeds the
# target from examples/ and ../shared/corpus/, keeps what it learns in build-fuzz/corpus/TARGET
# and writes any finding to build-fuzz/findings/TARGET/ (add it to fuzz/regressions/TARGET/).
set -euo pipefail
cd "$(dirname "$0")/.."

build_fuzz() {
    mkdir -p build-fuzz
    # Targets fuzzed at the same time build one after the other: two ninjas in one folder trip
    # over each other's build log.
    (
        flock 9
        if [[ ! -f build-fuzz/build.ninja ]]; then
            CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -G Ninja \
                -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLINTREL_FUZZ=ON -DLINTREL_SANITIZE=ON \
                -DLINTREL_BUILD_UI=OFF -DLINTREL_BUILD_TESTS=OFF >/dev/null
        fi
        cmake --build build-fuzz "$@" >/dev/null
    ) 9>build-fuzz/.build-lock
}

if [[ ${1-} == --build ]]; then
    build_fuzz
    exit
fi
if (($# < 2)); then
    echo "usage: tools/fuzz.sh TARGET SECONDS [libFuzzer flags]" >&2
    echo "targets: line_reader entity_walk clean_run fast_analysis version_probe" \
         "settings_record set_option list_drop" >&2
    exit 2
fi
target=$1
seconds=$2
shift 2

build_fuzz --target "fuzz_$target"

# Drawings are cut to 64 KiB: longer ones only slow every execution down.
max_len=65536
case $target in
    fast_analysis) max_len=1024 ;;  # 120 lines at most
    set_option | settings_record) max_len=1024 ;;
    list_drop) max_len=4096 ;;  # a few hundred names
esac
corpus=build-fuzz/corpus/$target
findings=build-fuzz/findings/$target
mkdir -p "$corpus" "$findings"
seeds=(examples fuzz/regressions/"$target")
[[ -d ../shared/corpus ]] && seeds+=(../shared/corpus)
existing=()
for seed in "${seeds[@]}"; do
    [[ -d $seed ]] && existing+=("$seed")
done
exec "build-fuzz/fuzz/fuzz_$target" -max_total_time="$seconds" -max_len="$max_len" -timeout=20 \
    -rss_limit_mb=2560 -print_final_stats=1 -artifact_prefix="$findings/" "$@" \
    "$corpus" "${existing[@]}"
