#!/usr/bin/env bash
# Builds the seed corpus of every fuzz harness from the files under tests/data and fuzz/regressions.
# Usage: fuzz/seed-corpus.sh BUILD_DIR CORPUS_DIR   (BUILD_DIR holds src/cli/grovex-cli)
set -euo pipefail

build_dir=$1
corpus=$2
data=$(cd "$(dirname "$0")/../tests/data" && pwd)
cli="$build_dir/src/cli/grovex-cli"

for harness in document macro_file macro_text macro_play tree_list_file tree_list_paste tree_list_state_paste font_record; do
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

# Inputs that once found a fault, kept so that every run tries them again.
regressions=$(cd "$(dirname "$0")/regressions" && pwd)
for folder in "$regressions"/*/; do
    cp "$folder"* "$corpus/$(basename "$folder")/"
done

# The default screen font: height 18, weight 400, "Courier New".
printf '\x00\x00\x00\x00\x00\x00\x12\x00\x00\x00\x00\x00\x00\x00\x00\x04\x35\x02\x00\x00\x90\x01\x00\x00\x00\x00\x00\x00' \
    >"$corpus/font_record/default"
{ printf 'Courier New'; head -c 21 /dev/zero; } >>"$corpus/font_record/default"
