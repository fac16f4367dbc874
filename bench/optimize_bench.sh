#!/usr/bin/env bash
# The regime search's speed and the cost of valuing a run: the benchmarks of grovex-optimize-bench, then the
# instructions of N projections to age 40 without and with a RunRecorder and their valuation, counted by
# callgrind (which, unlike a clock, a shared machine does not disturb).
#
# bench/optimize_bench.sh [BUILD_DIR] [N]     (defaults: build/default, 200)
set -euo pipefail
build=${1:-build/default}
runs=${2:-200}
bench="$build/bench/grovex-optimize-bench"
"$bench" --benchmark_repetitions=3 --benchmark_report_aggregates_only=true
if ! command -v valgrind > /dev/null; then
    echo "valgrind is missing: no instruction counts" >&2
    exit 0
fi
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
count() {
    valgrind --tool=callgrind --callgrind-out-file="$tmp/$1.out" "$bench" --instructions "$1" "$runs" 2>&1 |
        sed -n 's/.*Collected : \([0-9]*\).*/\1/p'
}
plain=$(count projection)
valued=$(count valued)
awk -v p="$plain" -v v="$valued" -v n="$runs" 'BEGIN {
    printf "instructions per projection: %.0f; valued: %.0f; added: %.1f %%\n", p / n, v / n, 100 * (v - p) / p }'
