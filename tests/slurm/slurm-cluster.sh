#!/usr/bin/env bash
# A private one-node Slurm cluster in a folder, for tests. Needs root, munge and the Slurm daemons; no systemd.
#
#   slurm-cluster.sh start DIR   starts munged, slurmctld and slurmd with every file inside DIR and waits
#                                until the node is idle; client commands then need SLURM_CONF=DIR/slurm.conf
#   slurm-cluster.sh stop DIR    cancels what is still queued and stops the three daemons by their pid files
#
# DIR is made when missing and should be empty. The daemons use their own munge key and socket and
# two free TCP ports, so they do not disturb a system-wide munge or Slurm, nor another such cluster. Nothing is
# ever stopped by name: only the processes whose pids this script's daemons wrote into DIR.
set -euo pipefail
# Slurm variables of a surrounding job (or a user's defaults) must not steer the private cluster's clients.
while read -r name; do unset "$name"; done < <(compgen -e | grep -E '^(SLURM|SBATCH|SQUEUE|SINFO|SCANCEL)_')

readonly START_TIMEOUT=60 # seconds until the node must be idle
readonly STOP_TIMEOUT=10  # seconds the daemons get to exit after SIGTERM

die() {
    echo "slurm-cluster: $*" >&2
    exit 1
}

usage() {
    echo "usage: $0 start|stop DIR" >&2
    exit 2
}

# The pid in FILE when it names a live process whose command name is NAME (a stale file whose pid was
# reused by something else gives nothing).
daemon_pid() {
    local file=$1 name=$2 pid comm
    [ -s "$file" ] || return 1
    pid=$(tr -dc '0-9' <"$file")
    [ -n "$pid" ] || return 1
    comm=$(cat "/proc/$pid/comm" 2>/dev/null) || return 1
    [ "$comm" = "$name" ] || return 1
    echo "$pid"
}

# Sends SIGTERM to the daemons of DIR named by their pid files, waits for them all to exit, and sends SIGKILL
# to any still running after STOP_TIMEOUT seconds. They stop together: each takes a second or two.
stop_daemons() {
    local dir=$1 name pid i pids=() names=() left
    for name in slurmd slurmctld munged; do
        pid=$(daemon_pid "$dir/$name.pid" "$name") || continue
        kill -TERM "$pid" 2>/dev/null || continue
        pids+=("$pid")
        names+=("$name")
    done
    for ((i = 0; i < STOP_TIMEOUT * 20; i++)); do
        left=0
        for pid in "${pids[@]}"; do
            kill -0 "$pid" 2>/dev/null && left=1
        done
        [ $left -eq 0 ] && return 0
        sleep 0.05
    done
    local status=0
    for i in "${!pids[@]}"; do
        pid=${pids[$i]}
        kill -0 "$pid" 2>/dev/null || continue
        echo "slurm-cluster: ${names[$i]} (pid $pid) did not exit within ${STOP_TIMEOUT}s of SIGTERM;" \
            "sending SIGKILL" >&2
        kill -KILL "$pid" 2>/dev/null || true
        sleep 0.5
        if kill -0 "$pid" 2>/dev/null; then
            echo "slurm-cluster: ${names[$i]} (pid $pid) is still running" >&2
            status=1
        fi
    done
    return $status
}

stop_cluster() {
    local dir=$1 i
    [ -d "$dir" ] || return 0
    if [ -f "$dir/slurm.conf" ] && daemon_pid "$dir/slurmctld.pid" slurmctld >/dev/null; then
        export SLURM_CONF=$dir/slurm.conf
        # Jobs still queued or running would leave their slurmstepd and tasks behind the daemons.
        if [ -n "$(squeue -h -o %i 2>/dev/null)" ]; then
            scancel --quiet --partition=test 2>/dev/null || true
            for ((i = 0; i < 100; i++)); do
                [ -z "$(squeue -h -o %i 2>/dev/null)" ] && break
                sleep 0.1
            done
            local pid
            for pid in $(scontrol listpids 2>/dev/null | awk 'NR > 1 && $1 ~ /^[0-9]+$/ { print $1 }'); do
                kill -KILL "$pid" 2>/dev/null || true
            done
        fi
    fi
    stop_daemons "$dir"
}

# True when nothing listens on TCP PORT.
port_free() {
    local port=$1
    if command -v ss >/dev/null; then
        [ -z "$(ss -Htan "sport = :$port" 2>/dev/null)" ]
    else
        if (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
            return 1
        fi
    fi
}

# Two consecutive free ports in 20000-59999, starting from a place that depends on this shell's pid.
pick_ports() {
    local try port
    for ((try = 0; try < 200; try++)); do
        port=$((20000 + ((($$ + try * 7919) * 2) % 40000)))
        if port_free "$port" && port_free $((port + 1)); then
            echo "$port"
            return 0
        fi
    done
    die "found no two free TCP ports in 20000-59999"
}

show_log() {
    local file=$1
    if [ -s "$file" ]; then
        echo "--- last lines of $file:" >&2
        tail -n 20 "$file" >&2
    fi
}

start_cluster() {
    local dir=$1
    [ "$(id -u)" -eq 0 ] || die "the private cluster runs its daemons as root; run this as root"
    local tool
    for tool in munged munge slurmctld slurmd slurmstepd sinfo squeue scontrol sbatch; do
        command -v "$tool" >/dev/null ||
            die "$tool is not installed (the packages munge, slurmctld, slurmd and slurm-client provide it;" \
                "scripts/ensure-packages.sh installs them)"
    done
    mkdir -p "$dir"
    dir=$(cd "$dir" && pwd)
    # munged refuses a socket in a folder that not everyone can enter.
    chmod 0755 "$dir"

    # On any failure from here on, stop whatever was started and say why.
    CLUSTER_DIR=$dir
    trap 'status=$?; if [ $status -ne 0 ]; then stop_cluster "$CLUSTER_DIR" || true; fi' EXIT

    local host cpus port
    host=$(hostname -s)
    cpus=$(nproc)
    port=$(pick_ports)

    # munge: a key of our own, mode 0400, and a socket that only this cluster uses.
    rm -f "$dir/munge.key"
    dd if=/dev/urandom of="$dir/munge.key" bs=1024 count=1 status=none || die "could not write $dir/munge.key"
    chmod 0400 "$dir/munge.key"
    munged --key-file="$dir/munge.key" --socket="$dir/munge.sock" --pid-file="$dir/munged.pid" \
        --log-file="$dir/munged.log" --seed-file="$dir/munged.seed" ||
        { show_log "$dir/munged.log"; die "munged did not start"; }
    munge -n -S "$dir/munge.sock" | unmunge -S "$dir/munge.sock" >/dev/null ||
        { show_log "$dir/munged.log"; die "munged started but does not encode and decode credentials"; }

    mkdir -p "$dir/state" "$dir/spool"
    cat >"$dir/slurm.conf" <<EOF
# A one-node test cluster; every file it uses is in $dir.
ClusterName=grovextest
# The daemons talk over the loopback address only.
SlurmctldHost=$host(127.0.0.1)
SlurmctldPort=$port
SlurmdPort=$((port + 1))
AuthType=auth/munge
AuthInfo=socket=$dir/munge.sock
CredType=cred/munge
SlurmUser=root
SlurmdUser=root
StateSaveLocation=$dir/state
SlurmdSpoolDir=$dir/spool
SlurmctldPidFile=$dir/slurmctld.pid
SlurmdPidFile=$dir/slurmd.pid
SlurmctldLogFile=$dir/slurmctld.log
SlurmdLogFile=$dir/slurmd.log
PlugStackConfig=$dir/plugstack.conf
# No cgroups and no systemd: processes are tracked through /proc, tasks are not bound.
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
JobAcctGatherType=jobacct_gather/none
AccountingStorageType=accounting_storage/none
JobCompType=jobcomp/none
SwitchType=switch/none
MpiDefault=none
SelectType=select/cons_tres
SelectTypeParameters=CR_CPU
# Schedule at once rather than within 3 s, and cancel a job whose dependency can no longer be met (a merge
# after a failed array task) instead of keeping it pending for ever.
SchedulerType=sched/builtin
SchedulerParameters=batch_sched_delay=0
DependencyParameters=kill_invalid_depend
ReturnToService=2
# Short waits keep a test run short: finished jobs leave the queue after a few seconds, and sbatch --wait
# polls every 2 s while MinJobAge is at most 5.
MinJobAge=5
KillWait=2
SlurmctldTimeout=30
SlurmdTimeout=30
InactiveLimit=0
NodeName=$host NodeAddr=127.0.0.1 CPUs=$cpus State=UNKNOWN
PartitionName=test Nodes=ALL Default=YES MaxTime=INFINITE State=UP
EOF
    : >"$dir/plugstack.conf"
    export SLURM_CONF=$dir/slurm.conf

    slurmctld -c -i -f "$dir/slurm.conf" ||
        { show_log "$dir/slurmctld.log"; die "slurmctld did not start"; }
    slurmd -f "$dir/slurm.conf" ||
        { show_log "$dir/slurmd.log"; die "slurmd did not start"; }

    local i state=""
    for ((i = 0; i < START_TIMEOUT * 4; i++)); do
        state=$(sinfo -h -N -n "$host" -o %t 2>/dev/null | head -1 || true)
        [ "$state" = idle ] && break
        # Both daemons have written their pid files a few seconds after the start.
        if [ $i -ge 20 ]; then
            daemon_pid "$dir/slurmctld.pid" slurmctld >/dev/null ||
                { show_log "$dir/slurmctld.log"; die "slurmctld exited during the start"; }
            daemon_pid "$dir/slurmd.pid" slurmd >/dev/null ||
                { show_log "$dir/slurmd.log"; die "slurmd exited during the start"; }
        fi
        sleep 0.25
    done
    if [ "$state" != idle ]; then
        show_log "$dir/slurmctld.log"
        show_log "$dir/slurmd.log"
        die "node $host is '${state:-unknown}', not idle, ${START_TIMEOUT}s after the start"
    fi
    trap - EXIT
    echo "slurm-cluster: node $host idle with $cpus CPUs; ports $port and $((port + 1)); SLURM_CONF=$dir/slurm.conf"
}

[ $# -eq 2 ] || usage
case $1 in
start) start_cluster "$2" ;;
stop)
    stop_cluster "$2" || die "some daemons of $2 did not stop"
    ;;
*) usage ;;
esac
