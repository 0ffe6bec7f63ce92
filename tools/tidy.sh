#!/usr/bin/env bash
# Runs clang-tidy with the checks of .clang-tidy over our sources in build/compile_commands.json;
# any finding fails it. It takes several minutes on two cores, so it is run by hand before a
# commit rather than by CI. Arguments narrow it to paths matching a pattern: tools/tidy.sh engine/run
set -euo pipefail
cd "$(dirname "$0")/.."
tools/bootstrap.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"  # Qt's generated headers must exist before the window is read
root=$(pwd)
files="^$root/(engine|preview|cli|settings|filelist|ui|app|tests)/"
if (($# > 0)); then
    files="^$root/($(IFS='|'; echo "$*"))"
fi
run-clang-tidy-14 -p build -j "$(nproc)" -quiet "$files"
