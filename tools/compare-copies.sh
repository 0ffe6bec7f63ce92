#!/usr/bin/env bash
# Cleans every corpus drawing and example with two builds of lintrel-cli and compares the copies
# byte for byte, under three option families: the defaults, the entity rules only, and everything
# ticked. For checking that a change leaves the output as it was.
#   tools/compare-copies.sh OLD_CLI NEW_CLI [EXTRA_FLAGS_FOR_NEW...]
set -euo pipefail
cd "$(dirname "$0")/.."
old=$1 new=$2
shift 2
corpus=${LINTREL_CORPUS_DIR:-../shared/corpus}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

drawings=(examples/*.dxf)
if [[ -d $corpus ]]; then
    drawings+=("$corpus"/*.dxf)
fi
everything=(--join --remove-duplicates --delete-text --delete-mtext --delete-dimensions
            --delete-xlines --delete-lines-by-linetype --delete-circles-by-linetype
            --delete-arcs-by-linetype --delete-points --delete-by-size)
declare -A families=(
    [defaults]="--defaults"
    [rules-only]="--defaults --set Check7=0 --set Check9=0"
    [everything]="--defaults ${everything[*]}"
)

compared=0 copies=0 differing=0
for family in "${!families[@]}"; do
    read -ra flags <<<"${families[$family]}"
    for drawing in "${drawings[@]}"; do
        for side in old new; do
            mkdir -p "$work/$side"
            rm -f "$work/$side"/*
            cli=$old extra=()
            if [[ $side == new ]]; then
                cli=$new extra=("$@")
            fi
            "$cli" "${flags[@]}" "${extra[@]}" --settings "$work/settings.ini" \
                --output-dir "$work/$side" "$drawing" >/dev/null 2>&1 || true
        done
        compared=$((compared + 1))
        copies=$((copies + $(find "$work/new" -type f | wc -l)))
        if ! diff -rq "$work/old" "$work/new" >/dev/null; then
            differing=$((differing + 1))
            echo "differs ($family): $drawing"
        fi
    done
done
echo "$compared runs compared ($copies copies written), $differing differing"
((differing == 0))
