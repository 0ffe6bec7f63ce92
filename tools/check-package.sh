#!/usr/bin/env bash
# Checks the Debian package with the tools Debian checks its own with: the desktop entry, the
# AppStream data, lintian (no error), the files it holds and both man pages.
# Usage: tools/check-package.sh [BUILD_DIR]   (default build; the package is made there first)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

cmake --build "$build" --target package >/dev/null
deb=$(ls "$build"/lintrel_*_amd64.deb | tail -n 1)
echo "== $deb"
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"

echo "== desktop-file-validate"
desktop-file-validate "$unpacked/usr/share/applications/lintrel.desktop"

echo "== appstreamcli validate --no-net (the one metainfo file the package holds)"
appstreamcli validate --no-net "$unpacked"/usr/share/metainfo/*.metainfo.xml

echo "== lintian"
# Errors fail the check; warnings are listed (the README says why each stays).
lintian --tag-display-limit 0 --fail-on error "$deb"

echo "== dpkg-deb -c"
contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
missing=0
for path in \
    ./usr/bin/lintrel ./usr/bin/lintrel-cli ./usr/lib/lintrel/modules/lintrel-pictures.so \
    ./usr/share/doc/lintrel/マニュアル.htm ./usr/share/doc/lintrel/copyright \
    ./usr/share/doc/lintrel/changelog.gz \
    ./usr/share/applications/lintrel.desktop \
    ./usr/share/icons/hicolor/scalable/apps/lintrel.svg \
    ./usr/share/icons/hicolor/{16x16,32x32,48x48,64x64,128x128,256x256}/apps/lintrel.png \
    ./usr/share/man/man1/lintrel.1.gz ./usr/share/man/man1/lintrel-cli.1.gz \
    ./usr/share/bash-completion/completions/lintrel-cli; do
    if ! grep -qxF -- "$path" <<<"$contents"; then
        echo "missing from the package: $path" >&2
        missing=1
    fi
done
((missing == 0))
echo "all $(wc -l <<<"$contents") entries present"

echo "== man -l"
for page in lintrel lintrel-cli; do
    rendered=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l --warnings \
        "$unpacked/usr/share/man/man1/$page.1.gz" 2>&1)
    if grep -q 'warning' <<<"$rendered" || ! grep -q '^NAME' <<<"$rendered"; then
        echo "man -l $page.1.gz did not render cleanly:" >&2
        echo "$rendered" >&2
        exit 1
    fi
    echo "$page(1): $(wc -l <<<"$rendered") lines"
done
echo "== bash completion"
# What Tab offers after the words, from the packaged completion and program.
offers() {
    PATH="$unpacked/usr/bin:$PATH" bash -c '
        source /usr/share/bash-completion/bash_completion
        source "$1"
        shift
        compopt() { :; }  # a builtin that works only while bash itself completes
        COMP_WORDS=(lintrel-cli "$@")
        COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
        COMP_LINE="${COMP_WORDS[*]}"
        COMP_POINT=${#COMP_LINE}
        _lintrel_cli lintrel-cli "${COMP_WORDS[-1]}" "${COMP_WORDS[-2]}"
        printf "%s\n" "${COMPREPLY[@]}" | LC_ALL=C sort' _ \
        "$unpacked/usr/share/bash-completion/completions/lintrel-cli" "$@"
}
expect_offers() {  # WANTED WORDS...
    local wanted=$1 got
    shift
    got=$(offers "$@" | paste -sd ' ')
    if [[ $got != "$wanted" ]]; then
        echo "lintrel-cli ${*@Q} <Tab> offers \"$got\", not \"$wanted\"" >&2
        exit 1
    fi
}
mkdir -p "$unpacked/try/sub" && touch "$unpacked/try/plan.dxf" "$unpacked/try/notes.txt"
(
    cd "$unpacked/try"
    expect_offers "--jobs --join --join-gap --join-offset" --jo
    expect_offers "--quiet" --qu
    expect_offers "Check10= Check11= Check12= Check13= Check1=" --set Check1
    expect_offers "all linetype" --points ""
    expect_offers "" -j ""
    expect_offers "" --join-gap ""
    expect_offers "plan.dxf sub" ""
)
echo "flags, --set names, --points values and *.dxf files are offered"

echo "== the package passes"
