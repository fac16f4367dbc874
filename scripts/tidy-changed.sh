#!/usr/bin/env bash
# Runs the checks of .clang-tidy over the C++ sources that changed, and fails on any finding.
#
#   scripts/tidy-changed.sh [BUILD_DIR [BASE]]
#
# BUILD_DIR holds compile_commands.json (default: build/default). Changed means: not committed yet, or
# committed since BASE. Without a BASE: committed since origin/main; else, when C++ sources are being edited,
# those alone; else (a clean checkout, as CI has) the last commit. A changed header stands for the sources of
# its folder.
# Sources the build does not compile (the fuzz harnesses) are left out.
set -euo pipefail

cd "$(dirname "$0")/.."
build=${1:-build/default}
if [ ! -f "$build/compile_commands.json" ]; then
    echo "tidy-changed: no $build/compile_commands.json; configure with: cmake --preset default" >&2
    exit 2
fi

edited() {
    git status --porcelain --untracked-files=all -- '*.cpp' '*.h' | grep -q .
}

base=${2:-HEAD~1}
if [ $# -lt 2 ]; then
    head=$(git rev-parse HEAD)
    since=$head
    git rev-parse -q --verify origin/main >/dev/null && since=$(git merge-base origin/main HEAD)
    if [ "$since" != "$head" ]; then
        base=$since
    elif edited; then
        base=HEAD
    fi
fi
git rev-parse -q --verify "$base" >/dev/null || base=$(git hash-object -t tree /dev/null)

changed() {
    git diff --name-only --diff-filter=d "$base" -- '*.cpp' '*.h'
    git ls-files --others --exclude-standard -- '*.cpp' '*.h'
}

# The sources of the changed files: a source itself, a header the sources beside it.
sources() {
    local file
    while read -r file; do
        case "$file" in
        *.cpp) echo "$file" ;;
        *.h) find "$(dirname "$file")" -maxdepth 1 -name '*.cpp' ;;
        esac
    done
}

# Only what the build compiles has the flags clang-tidy needs.
compiled() {
    python3 -c '
import json, os, sys
known = {os.path.realpath(e["file"]) for e in json.load(open(sys.argv[1]))}
for line in sys.stdin:
    path = os.path.realpath(line.strip())
    if path in known:
        print(path)
' "$build/compile_commands.json"
}

mapfile -t files < <(changed | sources | sort -u | compiled)
if [ ${#files[@]} -eq 0 ]; then
    echo "tidy-changed: no C++ source changed since $(git rev-parse --short "$base")"
    exit 0
fi
echo "tidy-changed: ${#files[@]} source(s) changed since $(git rev-parse --short "$base")"
# One clang-tidy per file and core; the count it prints of warnings it did not show is noise.
printf '%s\n' "${files[@]}" |
    xargs -P "$(nproc)" -n 1 clang-tidy -p "$build" --quiet --warnings-as-errors='*' 2>&1 |
    { grep -Ev '^[0-9]+ warnings?( and [0-9]+ errors?)? generated\.$' || true; }
