#!/usr/bin/env bash
# A batch run split over a Slurm job array gives the same results as one run over the whole stand table.
#
#   slurm_batch_test.sh GROVEX_CLI SOURCE_DIR
#
# Starts a private one-node cluster (slurm-cluster.sh), submits the shipped examples/slurm/grovex-batch.sbatch
# as a 4-task array and the shipped merge.sh as a job that depends on it, and meanwhile runs the same stand
# table in one process. Then it checks that every task exited 0, that each shard holds exactly the rows
# i % 4 == K of the table, and that the merged database and the single run hold the same rows in the tables
# stand, regime, result and stand_summary (apart from timings and run numbers).
#
# The array runs as task ids 1-4, not 0-3: a shard number taken from the task id alone, without subtracting
# the lowest id, then fails.
#
# Exit status: 0 passed, 1 failed, 77 skipped (only when not root: the daemons need root).
set -euo pipefail

if [ $# -ne 2 ]; then
    echo "usage: $0 GROVEX_CLI SOURCE_DIR" >&2
    exit 2
fi
cli=$(realpath "$1")
src=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)
# Slurm variables of a surrounding job (or a user's defaults) must not steer the private cluster's clients.
while read -r name; do unset "$name"; done < <(compgen -e | grep -E '^(SLURM|SBATCH|SQUEUE|SINFO|SCANCEL)_')
readonly SHARDS=4
readonly FIRST_TASK=1
readonly TIME_LIMIT=240 # seconds from the start until every job and the single run must be done; CTest
                        # stops the test at 300 s, too late to stop the cluster

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

if [ "$(id -u)" -ne 0 ]; then
    echo "SKIP: the private Slurm cluster runs munged, slurmctld and slurmd as root; this test is not root"
    exit 77
fi
for tool in munged munge slurmctld slurmd slurmstepd sbatch squeue sinfo scontrol sqlite3; do
    command -v "$tool" >/dev/null ||
        fail "$tool is not installed; scripts/ensure-packages.sh installs munge, slurmctld, slurmd," \
            "slurm-client and sqlite3"
done
[ -x "$cli" ] || fail "$cli is not an executable"
help=$("$cli" --help 2>&1) || fail "$cli --help failed: $help"
for command in batch merge; do
    grep -Eq "^ +$command( |$)" <<<"$help" || fail "$cli has no '$command' command"
done

tmp=$(mktemp -d "${TMPDIR:-/tmp}/grovex-slurm.XXXXXX")
# munged wants every folder above its socket open to everyone.
chmod 0755 "$tmp"
cluster=$tmp/cluster
work=$tmp/work
mkdir -p "$work"
started=$(date +%s%N)
deadline=$((SECONDS + TIME_LIMIT))

show_failure_logs() {
    local file
    for file in "$work"/task-*.out "$work"/task-*.err "$work"/merge.out "$work"/merge.err \
        "$cluster/slurmctld.log" "$cluster/slurmd.log"; do
        [ -s "$file" ] || continue
        echo "--- last lines of ${file#"$tmp"/}:" >&2
        tail -n 15 "$file" >&2
    done
}

cleanup() {
    local status=$?
    trap - EXIT
    set +e
    [ -n "${single_pid:-}" ] && kill "$single_pid" 2>/dev/null
    [ $status -ne 0 ] && show_failure_logs
    bash "$here/slurm-cluster.sh" stop "$cluster" || status=1
    local seconds=$((($(date +%s%N) - started) / 1000000))
    echo "slurm_batch: cluster start to stop took $((seconds / 1000)).$(printf %03d $((seconds % 1000))) s"
    if [ "${GROVEX_KEEP_TMP:-}" = 1 ]; then
        echo "slurm_batch: kept $tmp"
    else
        rm -rf "$tmp"
    fi
    exit $status
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

stands=$src/examples/stands/stands.csv
if [ ! -f "$stands" ]; then
    stands=$work/stands.csv
    cat >"$stands" <<'EOF'
stand_id,site,planted,survival,existing_age,trees,owner
B01,50,500,80,,,North tract
B02,55,600,85,,,North tract
B03,60,700,90,,,"Smith, J."
B04,65,800,95,,,South tract
B05,70,900,88,,,South tract
B06,75,1000,92,,,
B07,80,750,85,,,"Quoted ""east"" field"
B08,58,650,82,,,North tract
B09,66,850,90,,,
B10,72,550,94,,,South tract
E01,55,,,10,400,North tract
E02,60,,,12,500,"Smith, J."
E03,65,,,14,600,
E04,70,,,16,700,South tract
E05,75,,,18,450,
E06,80,,,20,550,North tract
E07,62,,,11,650,
E08,68,,,13,480,South tract
E09,58,,,15,520,
E10,74,,,17,610,"Smith, J."
EOF
fi
echo "slurm_batch: stand table $stands"

bash "$here/slurm-cluster.sh" start "$cluster"
export SLURM_CONF=$cluster/slurm.conf

# The whole table in one process, on this machine, while the cluster works.
"$cli" batch "$stands" --out "$work/single.sqlite" --quiet >"$work/single.log" 2>&1 &
single_pid=$!

export GROVEX_CLI=$cli GROVEX_OUT_PREFIX=shard-
last_task=$((FIRST_TASK + SHARDS - 1))
array_job=$(sbatch --parsable --array="$FIRST_TASK-$last_task" --chdir="$work" --output=task-%a.out \
    --error=task-%a.err "$src/examples/slurm/grovex-batch.sbatch" "$stands") ||
    fail "sbatch did not accept the array job"
array_job=${array_job%%;*}
echo "slurm_batch: array job $array_job, tasks $FIRST_TASK-$last_task"
# afterok: the merge runs only when every task exited 0; otherwise the cluster cancels it (and sbatch --wait
# may still exit 0, so the tasks' own last lines are what tells whether they succeeded).
merge_status=0
timeout $((deadline > SECONDS ? deadline - SECONDS : 1)) \
    sbatch --wait --quiet --dependency="afterok:$array_job" --chdir="$work" --output=merge.out --error=merge.err \
    "$src/examples/slurm/merge.sh" merged.sqlite || merge_status=$?

[ $merge_status -ne 124 ] || fail "the array and the merge did not end within ${TIME_LIMIT}s of the start"
for ((task = FIRST_TASK; task <= last_task; task++)); do
    grep -q "^grovex-batch: array task $task finished with status 0$" "$work/task-$task.out" 2>/dev/null ||
        fail "array task $task did not finish with status 0 (see task-$task.out and task-$task.err below)"
done
echo "slurm_batch: all $SHARDS array tasks exited 0"
[ $merge_status -eq 0 ] || fail "the merge job ended with status $merge_status"
[ -s "$work/merged.sqlite" ] || fail "the merge job wrote no merged.sqlite"

while kill -0 "$single_pid" 2>/dev/null && [ $SECONDS -lt $deadline ]; do
    sleep 0.2
done
kill -0 "$single_pid" 2>/dev/null && fail "the single batch run did not end within ${TIME_LIMIT}s"
wait "$single_pid" || { cat "$work/single.log" >&2; fail "the single batch run failed"; }
single_pid=

cd "$work"

# Each shard holds the rows i % N == K of the table, where K is the task id minus the lowest id.
sqlite3 -batch :memory: ".import --csv '$stands' input" \
    "SELECT stand_id, (rowid - 1) % $SHARDS FROM input ORDER BY 1" >expected-shards.txt
[ -s expected-shards.txt ] || fail "could not read the stand ids of $stands"
for ((task = FIRST_TASK; task <= last_task; task++)); do
    sqlite3 -batch "shard-$task.sqlite" "SELECT stand_id, $((task - FIRST_TASK)) FROM stand" ||
        fail "could not read shard-$task.sqlite"
done | sort >found-shards.txt
sort -o expected-shards.txt expected-shards.txt
diff expected-shards.txt found-shards.txt >&2 ||
    fail "the shards do not split the stands as row index % $SHARDS (expected < > found, stand_id|shard)"
echo "slurm_batch: $(wc -l <found-shards.txt) stands, each in shard (row index % $SHARDS)"

# Prints the rows of TABLE in DB ordered by its primary key, one quoted line each, leaving out the columns
# that say when or in which run a row was written.
dump_table() {
    local db=$1 table=$2 columns keys
    columns=$(sqlite3 -batch "$db" "SELECT group_concat('\"' || replace(name, '\"', '\"\"') || '\"', ', ')
        FROM pragma_table_info('$table') WHERE name NOT IN ('elapsed_us', 'run_no')")
    [ -n "$columns" ] || fail "$db has no table $table"
    keys=$(sqlite3 -batch "$db" "SELECT group_concat('\"' || replace(name, '\"', '\"\"') || '\"', ', ')
        FROM (SELECT name FROM pragma_table_info('$table') WHERE pk > 0 ORDER BY pk)")
    echo "-- $table ($columns)"
    sqlite3 -batch -cmd '.mode quote' "$db" "SELECT $columns FROM \"$table\" ORDER BY ${keys:-$columns}"
}

for table in stand regime result stand_summary; do
    dump_table single.sqlite "$table" >"single-$table.txt"
    dump_table merged.sqlite "$table" >"merged-$table.txt"
    rows=$(sqlite3 -batch single.sqlite "SELECT count(*) FROM \"$table\"")
    [ "$rows" -gt 0 ] || fail "the single run wrote no rows into $table"
    diff "single-$table.txt" "merged-$table.txt" >&2 ||
        fail "table $table differs between the single run (<) and the merged shards (>)"
    echo "slurm_batch: $table: $rows rows identical in merged.sqlite and single.sqlite"
done
echo "slurm_batch: passed"
