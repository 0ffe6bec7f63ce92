#!/usr/bin/env bash
# Installs the Debian packages Lintrel builds and runs with, when any is missing.
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config          # compiler and build
    libgtest-dev libgmock-dev                 # tests
    libbenchmark-dev                          # benchmarks in bench/
    libcli11-dev nlohmann-json3-dev           # lintrel-cli: arguments and the JSON report
    qt6-base-dev libgl-dev                    # the window
    qt6-svg-dev                               # SVG pictures of the preview
    libpng-dev                                # PNG pictures of the preview, written for speed
    fonts-noto-cjk                            # Japanese captions where MS fonts are absent
    xvfb xauth                                # the window without a display (tests, screenshots)
    python3 time                              # example drawings and benchmark scripts
    librsvg2-bin help2man                     # icons and man pages, made by the build
    dpkg-dev lintian appstream desktop-file-utils man-db bash-completion  # tools/check-package.sh
    clang-tidy                                # tools/tidy.sh
    clang-14 libclang-rt-14-dev               # fuzz targets (libFuzzer)
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
        missing+=("$package")
done
if ((${#missing[@]} == 0)); then
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo=()
if ((EUID != 0)); then
    sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
