#!/usr/bin/env bash
# Builds the fuzz harnesses and runs them, one per core, each on its corpus under build/fuzz/corpus.
#
#   fuzz/run-fuzzers.sh --seconds 1                                the short smoke run of CI
#   fuzz/run-fuzzers.sh --runs 10000000 --seconds 1800 [HARNESS...]  the long runs: ten million inputs
#                                                                   each, or half an hour if that is less
#
# A finding fails the script with the harness's report; the input that caused it is saved under
# build/fuzz/artifacts/HARNESS/. Each run ends with a line "HARNESS: N executions in S s".
set -euo pipefail

cd "$(dirname "$0")/.."
# shellcheck source=fuzz/harnesses.sh
source fuzz/harnesses.sh
limit=()
while [ $# -ge 2 ]; do
    case "$1" in
    --seconds) limit+=(-max_total_time="$2") ;;
    --runs) limit+=(-runs="$2") ;;
    *) break ;;
    esac
    shift 2
done
if [ ${#limit[@]} -eq 0 ]; then
    echo "usage: $0 [--seconds N] [--runs N] [HARNESS...]" >&2
    exit 2
fi
harnesses=("$@")
if [ ${#harnesses[@]} -eq 0 ]; then
    mapfile -t harnesses < <(fuzz_harnesses)
fi

# The harnesses of the fuzz preset (optimized, for long runs), or of another preset that builds them with
# GROVEX_FUZZ, such as the sanitized tree for CI's short run: FUZZ_PRESET=asan.
preset=${FUZZ_PRESET:-fuzz}
build=build/$preset
[ -f "$build/build.ninja" ] || cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" >/dev/null

corpus=$build/corpus
fuzz/seed-corpus.sh "$build" "$build/seeds"
export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

# Runs one harness; on a finding prints the end of its report and fails.
run_harness() {
    local harness=$1 log start runs
    mkdir -p "$corpus/$harness" "$build/artifacts/$harness"
    log=$build/artifacts/$harness/last-run.log
    start=$(date +%s)
    if ! "$build/fuzz/${harness}_fuzz" "${limit[@]}" -print_final_stats=1 -rss_limit_mb=4096 \
        -artifact_prefix="$build/artifacts/$harness/" "$corpus/$harness" "$build/seeds/$harness" >"$log" 2>&1; then
        tail -n 60 "$log" >&2
        echo "$harness: FINDING (see $log)" >&2
        return 1
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "$harness: $runs executions in $(($(date +%s) - start)) s"
}

# The harnesses run side by side, FUZZ_JOBS at a time (one per core unless set); every one runs to its end,
# and the script fails when any of them found something.
jobs=${FUZZ_JOBS:-$(nproc)}
running=0
failed=0
for harness in "${harnesses[@]}"; do
    if [ "$running" -ge "$jobs" ]; then
        wait -n || failed=1
        running=$((running - 1))
    fi
    run_harness "$harness" &
    running=$((running + 1))
done
while [ "$running" -gt 0 ]; do
    wait -n || failed=1
    running=$((running - 1))
done
exit "$failed"
