#!/usr/bin/env bash
# grovex-make-manual on chapters made here: the contents name the page each heading is printed on, a chapter
# starts on a page of its own, and a missing picture fails the run without touching the last good PDF.
# Usage: make_manual_test.sh PATH/TO/grovex-make-manual
set -euo pipefail

tool=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
export QT_QPA_PLATFORM=offscreen

fail() { echo "make_manual_test: $*" >&2; exit 1; }

{
    echo "# Alpha chapter"
    echo
    for i in $(seq 70); do
        echo "Paragraph $i of the first chapter, long enough to fill a fair part of a line on the page."
        echo
    done
    echo "## Alpha closing section"
    echo
    echo "The last words of the first chapter."
} >"$dir/a.md"
printf '# Beta chapter\n\nShort.\n\n## Gamma section\n\n| Field | Unit |\n|---|---|\n| Site index | feet |\n' >"$dir/b.md"

"$tool" -o "$dir/manual.pdf" "$dir/a.md" "$dir/b.md" >/dev/null
pages=$(pdfinfo "$dir/manual.pdf" | awk '/^Pages:/ {print $2}')
[ "$pages" -ge 5 ] || fail "expected a title page, the contents and at least three pages of chapters, got $pages"

# The printed number of the page that holds a heading, read from its footer.
page_of() {
    local heading=$1 page text
    for page in $(seq 3 "$pages"); do
        text=$(pdftotext -f "$page" -l "$page" -layout "$dir/manual.pdf" -)
        if grep -qF -- "$heading" <<<"$text"; then
            grep -v '^\s*$' <<<"$text" | tail -1 | awk '{print $NF}'
            return
        fi
    done
}

contents=$(pdftotext -f 2 -l 2 -layout "$dir/manual.pdf" -)
grep -q '^ *Contents *$' <<<"$contents" || fail "page 2 is not the contents"
for heading in "Alpha chapter" "Alpha closing section" "Beta chapter" "Gamma section"; do
    listed=$(grep -E "^ *$heading +[0-9]+ *$" <<<"$contents" | awk '{print $NF}')
    [ -n "$listed" ] || fail "\"$heading\" is not in the contents"
    printed=$(page_of "$heading")
    [ "$listed" = "$printed" ] || fail "the contents give page $listed for \"$heading\", it is printed on page $printed"
done
[ "$(page_of "Alpha chapter")" = 1 ] || fail "the chapters do not start on page 1"
beta=$(page_of "Beta chapter")
[ "$beta" -gt "$(page_of "Alpha closing section")" ] || fail "the second chapter does not start on a new page"

# A missing picture: an error that names it, and the manual made before stays as it was.
cp "$dir/manual.pdf" "$dir/before.pdf"
printf '# Pictures\n\n![The main window](images/not-grabbed.png)\n' >"$dir/c.md"
if "$tool" -o "$dir/manual.pdf" "$dir/a.md" "$dir/c.md" >/dev/null 2>"$dir/err"; then
    fail "a missing picture did not fail the run"
fi
grep -q "images/not-grabbed.png" "$dir/err" || fail "the message does not name the missing picture: $(cat "$dir/err")"
cmp -s "$dir/manual.pdf" "$dir/before.pdf" || fail "a failed run changed the manual made before"
[ ! -e "$dir/manual.pdf.part" ] || fail "a failed run left a partial file"

# Usage errors.
if "$tool" "$dir/a.md" >/dev/null 2>&1; then fail "no output file was accepted"; fi
echo "grovex-make-manual: contents, chapter pages and missing pictures as expected ($pages pages)"
