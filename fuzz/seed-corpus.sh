#!/usr/bin/env bash
# Builds the seed corpus of every fuzz harness from the files under tests/data and fuzz/regressions.
# Usage: fuzz/seed-corpus.sh BUILD_DIR CORPUS_DIR   (BUILD_DIR holds src/cli/grovex-cli)
set -euo pipefail

build_dir=$1
corpus=$2
data=$(cd "$(dirname "$0")/../tests/data" && pwd)
stands=$(cd "$(dirname "$0")/../examples/stands" && pwd)
cli="$build_dir/src/cli/grovex-cli"

# shellcheck source=fuzz/harnesses.sh
source "$(dirname "$0")/harnesses.sh"
for harness in $(fuzz_harnesses); do
    mkdir -p "$corpus/$harness"
done

cp "$data"/*.gvx "$corpus/document/"
# A document with tables, and a macro file, made by the command line from the text files under tests/data.
ASAN_OPTIONS=detect_leaks=0 "$cli" project --save "$corpus/document/projected.gvx" >/dev/null
ASAN_OPTIONS=detect_leaks=0 "$cli" macro build "$data/macro_thin_fertilize_next.txt" \
    -o "$corpus/macro_file/thin_fertilize_next.gmc"
cp "$data"/*.txt "$corpus/macro_text/"
cp "$data"/*.txt "$corpus/macro_play/"
cp "$data"/*.dat "$corpus/tree_list_file/"

# Paste seeds: the selection choices the harness reads first, then clipboard text as Copy makes it.
printf '\x05\x01\x01\x00\x00\x00'"2\tT1\t5.00\t31.0\t1\r\n2\tT2\t6.00\t32.0\t2" >"$corpus/tree_list_paste/cell_rows"
printf '\x05\x02\x00\x01\x03\x03'"1\tP9\t0.25" >"$corpus/tree_list_paste/header_block"
for file in "$data"/*.dat; do
    { printf '\x1d\x00\x00\x00'; tr '\n' '\r' <"$file"; } >"$corpus/tree_list_paste/$(basename "$file")"
done
printf '\x03\x02'"12.50\t45.00\t100.00\t0.00\r\n6.20\t38.10\t80.00\t20.00" >"$corpus/tree_list_state_paste/two_rows"
printf '\x00'"8.00\t40.00\t50.00\t0.00|" >"$corpus/tree_list_state_paste/append_row"

# Stand tables: the example table, and small ones with quoted fields, CR LF line ends and a byte order mark.
cp "$stands/stands.csv" "$corpus/stand_table/"
printf 'stand_id,site,note\nA-1,65,"a ""quoted"", field"\nA-2,,"two\nlines"\n' >"$corpus/stand_table/quoted.csv"
printf 'Stand_ID,existing_age,trees,basal_area,treelist,owner\r\nE-1,12,600,90,,M. Ortega\r\n\r\nT-1,,,,plot-a.dat,\r\n' \
    >"$corpus/stand_table/crlf.csv"

# Prices: the example file, and one with every unit and cost.
cp "$(dirname "$0")/../examples/prices/"*.json "$corpus/prices/"
printf '%s' '{"discount_rate": 0.04, "currency": "EUR", "tons_per_cubic_foot": 0.03, "products": [
 {"name": "a", "min_dbh": 1, "max_dbh": 4, "unit": "cord", "price": 20},
 {"name": "b", "min_dbh": 5, "max_dbh": 6, "unit": "cubic_feet", "top": 3, "bark": "inside", "price": 0.4},
 {"name": "c", "min_dbh": 7, "max_dbh": 8, "unit": "ton", "top": 4, "price": 12},
 {"name": "d", "min_dbh": 9, "max_dbh": 10, "unit": "mbf_international", "price": 200},
 {"name": "e", "min_dbh": 11, "max_dbh": 12, "unit": "mbf_scribner", "price": 210},
 {"name": "f", "min_dbh": 13, "unit": "mbf_doyle", "price": 220}],
 "costs": {"establishment": 300, "annual": -3, "thinning": 10, "harvest": 5,
           "fertilization": {"per_application": 20, "per_pound_nitrogen": 0.5, "phosphorus": 30}}}' \
    >"$corpus/prices/every_key.json"
printf '\xEF\xBB\xBFstand_id,title,planted,survival\nB-1,\xC3\x85sa,700,85\n' >"$corpus/stand_table/bom.csv"

# Two regimes in the other volume units, for the macro harnesses: cords and Doyle board feet to a basal area,
# and one custom equation.
initialization='ProjectInit\nstart Input1\ntitle text ""\nnyears int 50\nqexist int 0\nsite real 70\ntp real 700\n'
initialization+='ps real 0.85\nqdrain int 0\nqhdwd int 0\n'
printf "$initialization"'pcrit int 2\ntarget real 120\nvtype int 2\nvoltyp int 2\nvoldbh[0] int 10\nend Input1\n'\
'Project\nProjectEnd\nProject\nstart Input2\nnext\nend Input2\nProjectEnd\n' >"$corpus/macro_play/cords_basal_area.txt"
{
    printf "$initialization"'pcrit int 1\ntarget real 30\nvtype int 3\n'
    for i in 1 2 3; do
        printf 'volnam text "-blank-" index %d\nvola[i] real 0 index %d\nvolb[i] real 0 index %d\n' $(((i - 1) * 15)) "$i" "$i"
        printf 'voldbh[i] int 1 index %d\n' "$i"
    done
    printf 'volnam text "Pulp" index 0\nvoldbh[i] int 5 index 1\nvola[i] real 1.5 index 1\nvolb[i] real 0.002 index 1\n'
    printf 'end Input1\nProject\nProjectEnd\n'
} >"$corpus/macro_play/custom_equation.txt"

# Regime seeds: the stand row the harness reads first (bare land, two existing stands, a young poorly drained
# stand, two bad values), then a macro as text or as a macro file.
for row in 0 1 2 3 4 5; do
    for file in "$corpus/macro_play"/*.txt "$corpus/macro_file/thin_fertilize_next.gmc"; do
        { printf "\\x0$row"; cat "$file"; } >"$corpus/regime_merge/row$row-$(basename "$file")"
    done
done

# Inputs that once found a fault, kept so that every run tries them again.
regressions=$(cd "$(dirname "$0")/regressions" && pwd)
for folder in "$regressions"/*/; do
    cp "$folder"* "$corpus/$(basename "$folder")/"
done

# The default screen font: height 18, weight 400, "Courier New".
printf '\x00\x00\x00\x00\x00\x00\x12\x00\x00\x00\x00\x00\x00\x00\x00\x04\x35\x02\x00\x00\x90\x01\x00\x00\x00\x00\x00\x00' \
    >"$corpus/font_record/default"
{ printf 'Courier New'; head -c 21 /dev/zero; } >>"$corpus/font_record/default"
