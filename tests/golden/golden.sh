#!/usr/bin/env bash
# Pinned outputs: runs grovex-cli as a user would and compares every output byte for byte with the file kept
# beside this script. `golden.sh CLI` checks; `golden.sh CLI --update` rewrites the files on purpose, after a
# change that is meant to alter the output (check every difference with `git diff` before committing).
set -euo pipefail

cli=$(realpath "$1")
update=${2:-}
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$source_dir"

# name | arguments; the output is the command's stdout, or the file it writes to $OUT.
runs=(
    "bare-land.txt|project --title 'Golden bare land'"
    "existing-stand.txt|project --existing-age 12 --trees 600 --site 65 --basal-area 90 --target-basal-area 120"
    "tree-list.txt|project --treelist examples/stands/treelists/plot-a.dat --target-age 30"
    "cubic-inside-bark.csv|project --units cubic --bark inside --min-dbh 8 --top 5 --target-age 30 --format csv"
    "cords-doyle.txt|project --planted 700 --survival 85 --site 70 --rotation 40 --target-age 35 --units cords --rule doyle --min-dbh 10"
    "custom-equations.json|project --units custom --equation Pulp,0.5,0.002,5 --equation Saw,-2,0.0025,10 --format json"
    "thinnings.txt|play tests/golden/macros/thinnings.txt"
    "fertilization.txt|play tests/golden/macros/fertilization.txt"
    "thin-fertilize-next.txt|play tests/data/macro_thin_fertilize_next.txt"
    "thinnings.gmc|macro build tests/golden/macros/thinnings.txt -o \$OUT"
    "plot-a-saved.dat|treelist examples/stands/treelists/plot-a.dat --save \$OUT"
)

failed=0
for run in "${runs[@]}"; do
    name=${run%%|*}
    args=${run#*|}
    export OUT="$work/$name"
    if [[ $args == *'$OUT'* ]]; then
        eval "\"$cli\" $args" >/dev/null
    else
        eval "\"$cli\" $args" >"$OUT"
    fi
    if [ "$update" = "--update" ]; then
        cp "$OUT" "$here/expected/$name"
        echo "rewrote tests/golden/expected/$name"
    elif ! cmp -s "$OUT" "$here/expected/$name"; then
        echo "$name differs from tests/golden/expected/$name:"
        diff <(tr -d '\r' <"$here/expected/$name") <(tr -d '\r' <"$OUT") | head -20 || true
        failed=1
    fi
done
exit $failed
