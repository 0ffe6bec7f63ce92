#!/usr/bin/env bash
# Cleans the example drawings with lintrel-cli under each option family and compares the cleaned
# copies and the printed report with the golden files kept beside this script. On a mismatch the
# actual files stay in WORK_DIR and the message says where. With --update the golden files are
# rewritten from this run instead (tools/update-golden.sh; only when a change of output is meant).
#
#   whole-run.sh LINTREL_CLI EXAMPLES_DIR WORK_DIR [--update]
set -euo pipefail
cli=$(realpath "$1")
examples=$2
work=$3
update=${4:-}
golden=$(cd "$(dirname "$0")" && pwd)

# Each family: a folder name, then the options it runs with (on top of the defaults).
families=(
    "defaults|"
    "every-rule-with-tolerances|--join-gap 0.5 --duplicate-offset 0.01 --max-straight-length 0.5"
    "blank-texts-only|--delete-blank-text --delete-blank-mtext --join-gap 0.5 --duplicate-offset 0.01 --points linetype"
    "xlines-only|--no-join --no-remove-duplicates --no-delete-text --no-delete-mtext --no-delete-dimensions --no-delete-lines-by-linetype --no-delete-circles-by-linetype --no-delete-arcs-by-linetype --no-delete-points --no-delete-by-size"
)

rm -rf "$work"
mismatches=0
for family in "${families[@]}"; do
    name=${family%%|*}
    read -r -a options <<<"${family#*|}"
    run="$work/$name"
    mkdir -p "$run/cut" "$run/config"
    cp "$examples"/*.dxf "$run/"
    # Relative paths and a masked elapsed time, so that the report is the same on every machine.
    (cd "$run" && XDG_CONFIG_HOME="$run/config" "$cli" --defaults "${options[@]}" --output-dir cut \
        *.dxf 2>/dev/null) | sed -E 's/^[0-9]+\.[0-9] Sec$/x.x Sec/' >"$run/cut/report.txt"
    if [[ $update == --update ]]; then
        rm -rf "${golden:?}/$name"
        cp -r "$run/cut" "$golden/$name"
        echo "rewrote $golden/$name"
    elif ! diff -r "$golden/$name" "$run/cut" >/dev/null; then
        echo "MISMATCH in family $name: the actual output is in $run/cut, the golden one in" \
            "$golden/$name (diff -r $golden/$name $run/cut)"
        mismatches=$((mismatches + 1))
    fi
done
if ((mismatches > 0)); then
    echo "If the change is meant, run tools/update-golden.sh and review the diff."
    exit 1
fi
