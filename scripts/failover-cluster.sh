#!/bin/bash
# A PostgreSQL primary and its hot standby on this machine, for trying a failover: streaming
# replication with synchronous commit, so that a commit the primary acknowledged is on the
# standby too. Both listen only on a socket in DIR (no TCP port is taken).
#
#   failover-cluster.sh up DIR PRIMARY_PORT STANDBY_PORT   initdb, start, pg_basebackup -R, start
#   failover-cluster.sh kill DIR                          the primary stops at once, as in a crash
#   failover-cluster.sh promote DIR                       the standby becomes the primary
#   failover-cluster.sh standby-stop DIR                  the standby stops: commits wait for it
#   failover-cluster.sh standby-start DIR                 the standby starts and catches up again
#   failover-cluster.sh down DIR                          both stopped, their data removed
#
# Connect with: postgresql:///postgres?host=DIR&port=P1,P2&target_session_attrs=read-write
# The superuser is the user running the script; run as root, the servers run as postgres.
# Exit code 3: no PostgreSQL server programs on this machine.
set -euo pipefail

bin=${PG_BIN:-$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1)}
if [ -z "$bin" ] || [ ! -x "$bin/initdb" ]; then
    echo "failover-cluster: initdb not found (install postgresql, or set PG_BIN)" >&2
    exit 3
fi
super=$(id -un)

as_owner() {
    if [ "$(id -u)" = 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

command=${1:?usage: failover-cluster.sh up|kill|promote|standby-stop|standby-start|down DIR ...}
dir=$(realpath -m "${2:?the folder of the two clusters}")

# Waits until the primary streams to the standby synchronously.
await_sync() {
    local primary_port
    primary_port=$(sed -n 's/^port = //p' "$dir/primary/postgresql.conf" | tail -1)
    for _ in $(seq 60); do
        state=$("$bin/psql" -h "$dir" -p "$primary_port" -d postgres -Atc \
            "SELECT sync_state FROM pg_stat_replication" 2>/dev/null || true)
        [ "$state" = sync ] && return 0
        sleep 0.5
    done
    echo "failover-cluster: the standby did not become synchronous (see $dir/*.log)" >&2
    return 1
}

case "$command" in
up)
    primary_port=${3:?primary port}
    standby_port=${4:?standby port}
    mkdir -p "$dir"
    [ "$(id -u)" = 0 ] && chown postgres: "$dir"
    # --no-sync: clusters for a trial, whose files need not reach the disk before they start.
    as_owner "$bin/initdb" -D "$dir/primary" -U "$super" --auth=trust --no-locale -E UTF8 --no-sync \
        >"$dir/initdb.log"
    cat >>"$dir/primary/postgresql.conf" <<EOF
port = $primary_port
listen_addresses = ''
unix_socket_directories = '$dir'
wal_level = replica
max_wal_senders = 4
synchronous_commit = on
synchronous_standby_names = '*'
EOF
    as_owner "$bin/pg_ctl" -D "$dir/primary" -l "$dir/primary.log" -w start >/dev/null
    as_owner "$bin/pg_basebackup" -h "$dir" -p "$primary_port" -U "$super" -D "$dir/standby" -R -X stream \
        --checkpoint=fast --no-sync
    # Promoted, the standby runs alone until a new standby is built: it waits for none.
    cat >>"$dir/standby/postgresql.conf" <<EOF
port = $standby_port
synchronous_standby_names = ''
EOF
    as_owner "$bin/pg_ctl" -D "$dir/standby" -l "$dir/standby.log" -w start >/dev/null
    await_sync
    ;;
kill)
    as_owner "$bin/pg_ctl" -D "$dir/primary" stop -m immediate >/dev/null
    ;;
promote)
    as_owner "$bin/pg_ctl" -D "$dir/standby" promote -w >/dev/null
    ;;
standby-stop)
    as_owner "$bin/pg_ctl" -D "$dir/standby" stop -m fast -w >/dev/null
    ;;
standby-start)
    as_owner "$bin/pg_ctl" -D "$dir/standby" -l "$dir/standby.log" -w start >/dev/null
    await_sync
    ;;
down)
    for cluster in primary standby; do
        if [ -f "$dir/$cluster/postmaster.pid" ]; then
            as_owner "$bin/pg_ctl" -D "$dir/$cluster" stop -m immediate >/dev/null 2>&1 || true
        fi
        rm -rf "${dir:?}/$cluster"
    done
    ;;
*)
    echo "failover-cluster: unknown command $command" >&2
    exit 2
    ;;
esac
