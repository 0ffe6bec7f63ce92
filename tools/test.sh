#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, and runs every test: once as built,
# once under AddressSanitizer and UndefinedBehaviorSanitizer; then the tests that start threads
# under ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/bootstrap.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
for variant in build build-asan; do
    flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DLINTREL_WERROR=ON)
    if [[ $variant == build-asan ]]; then
        flags=(-DCMAKE_BUILD_TYPE=Debug -DLINTREL_SANITIZE=ON -DLINTREL_WERROR=ON)
    fi
    cmake -S . -B "$variant" -G Ninja "${flags[@]}" >/dev/null
    cmake --build "$variant" -j "$jobs"
    (cd "$variant" && ctest --output-on-failure -j "$jobs")
done
# The Debian package, made from the first build and checked as Debian checks packages.
tools/check-package.sh build

# ThreadSanitizer over the tests that start threads: the helper thread, the analysis, the read in
# parts, the output in two or in parts and the clean run, without the long walks through the real drawings;
# and the preview's model, whose reads parse on one thread and build on another once awaited.
# Address randomisation is off for it: on kernels with wide randomisation its runtime cannot map
# its shadow memory.
threaded='HelperThread|FastAnalysis|BucketSort|TurnLane|ReadLineRecords|OutputReplay|CleanRun|LinePass|ThreadCount|StreamInParts|PlacedPart'
threaded+='|BatchQueue|ModelReadAhead|RunDecisions|^Model[./]|^EntityPieces\.|^Fields\.|^RecordReader\.|^Text[./]|^DrawingFile\.'
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLINTREL_TSAN=ON \
    -DLINTREL_BUILD_UI=OFF >/dev/null
setarch "$(uname -m)" -R cmake --build build-tsan -j "$jobs" \
    --target lintrel_engine_tests lintrel_analysis_tests lintrel_preview_model_tests
(cd build-tsan && setarch "$(uname -m)" -R ctest --output-on-failure -j "$jobs" -R "$threaded" \
    -E 'RealDrawings|ForRealDrawings')

# Every fuzz target for 40 seconds under ASan and UBSan, two at a time (the whole check stays
# within half an hour on two cores); its findings fail CI.
fuzz_targets=(line_reader entity_walk clean_run fast_analysis version_probe settings_record
              set_option list_drop)
tools/fuzz.sh --build
for ((i = 0; i < ${#fuzz_targets[@]}; i += 2)); do
    pids=()
    for target in "${fuzz_targets[@]:i:2}"; do
        tools/fuzz.sh "$target" 40 >"build-fuzz/$target.log" 2>&1 &
        pids+=($!)
    done
    for pid in "${pids[@]}"; do
        wait "$pid" || { echo "fuzzing found a fault; see build-fuzz/*.log"; exit 1; }
    done
done
