#!/bin/bash
# Merges the shard databases that grovex-batch.sbatch wrote into one results database. Run it in the folder
# that holds the shards, or submit it to run once every array task has succeeded:
#
#   jobid=$(sbatch --parsable grovex-batch.sbatch stands.csv)
#   sbatch --dependency=afterok:$jobid merge.sh            # writes results.sqlite
#   sbatch --dependency=afterok:$jobid merge.sh out.sqlite # or another name
#
# afterok waits for every task of the array and runs the merge only when all of them exited 0. If a task
# failed, cancel the merge job (scancel), rerun the array, then submit this again. A task in which some
# stands failed exits 3: when those stands are to stay failed, run this by hand (bash merge.sh).
#
# Environment: GROVEX_CLI and GROVEX_OUT_PREFIX as for grovex-batch.sbatch.
#
#SBATCH --job-name=grovex-merge
#SBATCH --ntasks=1
#SBATCH --time=01:00:00
#SBATCH --output=grovex-merge-%j.out
#SBATCH --error=grovex-merge-%j.err

set -eu

cli=${GROVEX_CLI:-grovex-cli}
out=${1:-results.sqlite}
prefix=${GROVEX_OUT_PREFIX:-results-shard-}

shopt -s nullglob
shards=("$prefix"*.sqlite)
if [ ${#shards[@]} -eq 0 ]; then
    echo "grovex-merge: no ${prefix}*.sqlite in $(pwd)" >&2
    exit 1
fi

echo "grovex-merge: ${#shards[@]} shards -> $out"
exec "$cli" merge "$out" "${shards[@]}"
