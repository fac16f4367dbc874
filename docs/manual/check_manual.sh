#!/usr/bin/env bash
# The user manual as the build made it: a PDF of many pages holding every chapter and every picture.
# Usage: check_manual.sh Grovex.pdf PICTURE.png...
set -euo pipefail

pdf=$1
shift
min_pages=25
chapters=("About GROVEX" "Getting started" "The Initialize Stand sheet" "Thinning, fertilization and the next target"
          "Reading and keeping the results" "Tree lists" "Macros" "The command line" "Troubleshooting")

fail() { echo "check_manual: $*" >&2; exit 1; }

for tool in pdfinfo pdftotext pdfimages; do
    command -v "$tool" >/dev/null || fail "$tool is missing (package poppler-utils; scripts/ensure-packages.sh installs it)"
done
[ -s "$pdf" ] || fail "$pdf was not made"
[ "$(head -c 5 "$pdf")" = "%PDF-" ] || fail "$pdf does not start as a PDF"

pages=$(pdfinfo "$pdf" 2>/dev/null | awk '/^Pages:/ {print $2}') || fail "pdfinfo cannot read $pdf"
[ "$pages" -ge "$min_pages" ] || fail "$pdf has $pages pages, fewer than $min_pages"

text=$(pdftotext -layout "$pdf" -)
for chapter in "${chapters[@]}"; do
    # Once in the contents and once as the chapter's heading.
    count=$(grep -cF -- "$chapter" <<<"$text" || true)
    [ "$count" -ge 2 ] || fail "chapter \"$chapter\" is not both in the contents and in the text"
done
for field in "Site Index" "Percent Survival" "Row Interval" "Scribner" "Pounds of nitrogen"; do
    grep -qF "$field" <<<"$text" || fail "the dialog field \"$field\" is not described"
done

for picture in "$@"; do
    [ "$(head -c 8 "$picture" | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ] || fail "$picture is not a PNG"
done
images=$(pdfimages -list "$pdf" | awk 'NR > 2 && $3 == "image"' | wc -l)
[ "$images" -ge "$#" ] || fail "$pdf holds $images pictures, fewer than the $# grabbed"

echo "$pdf: $pages pages, $images pictures"
