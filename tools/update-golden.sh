#!/usr/bin/env bash
# Rewrites the golden files of the whole-run test (tests/golden/) from the current build of
# lintrel-cli. Run it only when a change of output is meant, and review the diff it leaves.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target lintrel-cli
tests/golden/whole-run.sh build/cli/lintrel-cli examples build/tests/golden/actual --update
git status --short tests/golden
