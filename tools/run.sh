#!/usr/bin/env bash
# Installs what is missing, builds, and cleans the example drawings: in the window when a display
# is present, else with lintrel-cli, writing the copies into build/examples-cleaned/.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/bootstrap.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"

out=build/examples-cleaned
mkdir -p "$out"
if [[ -n ${DISPLAY:-}${WAYLAND_DISPLAY:-} ]]; then
    exec build/app/lintrel examples/*.dxf
fi
build/cli/lintrel-cli --defaults --output-dir "$out" examples/*.dxf
echo "Cleaned copies: $out/"
