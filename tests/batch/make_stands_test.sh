#!/usr/bin/env bash
# grovex-make-stands: the same seed gives the same bytes, here and on every machine (the checksum below was
# taken once and must only change on purpose), and every row is a well-formed CSV row of the header's width.
# Usage: make_stands_test.sh PATH/TO/grovex-make-stands
set -euo pipefail
tool=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$tool" --count 1000 --seed 42 >"$work/a.csv"
"$tool" --count 1000 --seed 42 --out "$work/b.csv"
cmp -s "$work/a.csv" "$work/b.csv" || fail "the same seed gave different bytes on stdout and with --out"
"$tool" --count 1000 --seed 43 | cmp -s - "$work/a.csv" && fail "seeds 42 and 43 gave the same table"
sum=$(sha256sum <"$work/a.csv" | cut -d' ' -f1)
[[ $sum == b9b7dab874c0c0a8bac998a764d95be3e4d0c3cbaf6f02342941a5dae3083547 ]] ||
    fail "--count 1000 --seed 42 is not the table it used to be (sha256 $sum)"

[[ $(head -n1 "$work/a.csv") == "stand_id,site,planted,survival,existing_age,trees,basal_area,owner,region" ]] ||
    fail "unexpected header: $(head -n1 "$work/a.csv")"
[[ $(wc -l <"$work/a.csv") -eq 1001 ]] || fail "expected the header and 1000 rows"
# Drop quoted cells (with their doubled quotes), then count the separators left: 8 on every line.
awk '{ line = $0; gsub(/"([^"]|"")*"/, "", line); if (gsub(/,/, "", line) != 8 || index(line, "\"")) { if (bad++ < 5) print NR": "$0 } }
     END { exit bad > 0 }' "$work/a.csv" || fail "rows above do not have 9 well-quoted fields"

for bad in "" "--count -1" "--count 10x" "--count 5 --existing-share 1.5" "--count 5 --bogus 1"; do
    # shellcheck disable=SC2086
    if "$tool" $bad >/dev/null 2>&1; then fail "accepted: $bad"; else [[ $? -eq 2 ]] || fail "status for: $bad"; fi
done
echo "make_stands_test: ok"
