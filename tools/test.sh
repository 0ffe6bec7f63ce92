#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, and runs every test: once as built,
# once under AddressSanitizer and UndefinedBehaviorSanitizer.
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
