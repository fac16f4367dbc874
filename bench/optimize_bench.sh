#!/usr/bin/env bash
# The regime search's speed and the cost of valuing a run: the benchmarks of grovex-optimize-bench, then the
# instructions of N projections to age 40 without and with a RunRecorder and their valuation, counted by
# callgrind (which, unlike a clock, a shared machine does not disturb).
#
# bench/optimize_bench.sh [BUILD_DIR] [N]     (defaults: build/default, 200)
# The instruction counts end with the same comparison for a batch of 400 generated stands.
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

# The same for whole runs as `grovex-cli batch` projects them (the macro player, the tables and the results
# database included): 400 generated stands on one thread, without and with --prices.
cli="$build/src/cli/grovex-cli"
"$build/tools/grovex-make-stands" --count 400 --seed 7 >"$tmp/stands.csv"
batch() {
    rm -f "$tmp"/results.sqlite*
    valgrind --tool=callgrind --callgrind-out-file="$tmp/batch.out" "$cli" batch "$tmp/stands.csv" \
        --out "$tmp/results.sqlite" -j 1 --quiet "$@" 2>&1 | sed -n 's/.*Collected : \([0-9]*\).*/\1/p'
}
source_dir=$(cd "$(dirname "$0")/.." && pwd)
plainBatch=$(batch)
valuedBatch=$(batch --prices "$source_dir/examples/prices/southern-pine.json")
awk -v p="$plainBatch" -v v="$valuedBatch" 'BEGIN {
    printf "batch of 400 stands: %.0f instructions; with --prices: %.0f; added: %.1f %%\n", p, v, 100 * (v - p) / p }'
