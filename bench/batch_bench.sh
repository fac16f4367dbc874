#!/usr/bin/env bash
# Speed and memory of `grovex-cli batch` from outside the process, as a user runs it: a generated stand table
# of bare land (CSV in), the default regime (to age 25), summaries only, SQLite out.
#
#   bench/batch_bench.sh [--stands N] [--million] [BUILD_DIR]
#
# Prints, for one thread and for two, the stands per second (the median of five runs) and the largest resident
# memory, and the ratio of the two rates; with --million also a run of 1,000,000 stands on two threads. Goals: at least
# 4,000 stands per second on one thread, two threads at least 1.8 times one, a million stands within
# 3 minutes, and at most 200 MB resident whatever the count.
set -euo pipefail

stands=20000
million=false
while [ $# -gt 0 ]; do
    case "$1" in
    --stands) stands=$2; shift 2 ;;
    --million) million=true; shift ;;
    *) break ;;
    esac
done
build=${1:-build/default}
cli=$build/src/cli/grovex-cli
make_stands=$build/tools/grovex-make-stands
for program in "$cli" "$make_stands"; do
    [ -x "$program" ] || { echo "$program is missing: build first (make build)" >&2; exit 2; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One run: "seconds max-resident-kB".
measureOnce() {
    local table=$1 threads=$2
    rm -f "$work/out.sqlite"*
    /usr/bin/time -f "%e %M" -o "$work/time" "$cli" batch "$table" --out "$work/out.sqlite" -j "$threads" --quiet \
        2>/dev/null >/dev/null || true
    cat "$work/time"
}

# The median of `runs` runs (the machine may be shared: one run says little), and the largest memory.
measure() {
    local table=$1 threads=$2 runs=${3:-5}
    for _ in $(seq "$runs"); do measureOnce "$table" "$threads"; done |
        sort -n | awk -v n="$runs" '{ s[NR] = $1; if ($2 > m) m = $2 } END { print s[int((n + 1) / 2)], m }'
}

report() {
    local count=$1 threads=$2 seconds=$3 kilobytes=$4
    awk -v n="$count" -v j="$threads" -v s="$seconds" -v k="$kilobytes" \
        'BEGIN { printf "%9d stands, -j %d: %7.2f s, %8.0f stands/s, %6.1f MB resident\n", n, j, s, n / s, k / 1024 }'
}

"$make_stands" --count "$stands" --seed 1 --existing-share 0 --out "$work/stands.csv"
read -r one oneMemory < <(measure "$work/stands.csv" 1)
read -r two twoMemory < <(measure "$work/stands.csv" 2)
report "$stands" 1 "$one" "$oneMemory"
report "$stands" 2 "$two" "$twoMemory"
awk -v a="$one" -v b="$two" 'BEGIN { printf "two threads: %.2f times one\n", a / b }'

if $million; then
    "$make_stands" --count 1000000 --seed 1 --existing-share 0 --out "$work/million.csv"
    read -r seconds memory < <(measure "$work/million.csv" 2 1)
    report 1000000 2 "$seconds" "$memory"
fi
