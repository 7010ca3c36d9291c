#!/bin/sh
# A throw-away PostgreSQL server for the archive's tests:
#   postgres.sh start|stop|halt|resume STATE
#
# start: a cluster made by initdb in a fresh folder under /tmp, listening
# only on a Unix socket in that folder (no TCP port), run by an
# unprivileged user (nobody when started by root; the folder is theirs).
# Its superuser is "kovra"; the role "broker" may log in and owns nothing:
# each test makes a database of its own owned by broker and works as
# broker, as an office's archive does.  STATE then holds "socket=FOLDER";
# without PostgreSQL installed it holds "skip=WHY" and the tests skip,
# unless KOVRA_CI=1, where the start fails with the server's log.
# stop: ends that server and removes its folder.
# halt / resume: stops the server (immediately, as a crash would) and
# starts it again on the same data (the fault tests).
# The data is thrown away at the end, so the server does not wait for the
# disk (fsync off) unless KOVRA_PG_DURABLE=1 (the benchmarks, which compare
# with a file that does, and the tests that crash a server of their own: a
# server that does not wait may lose what it committed just before).
set -u
action=$1
state=$2

value() { sed -n "s/^$1=//p" "$state" 2>/dev/null; }

as_owner() {
    if [ "$(id -u)" = 0 ]; then runuser -u nobody -- "$@"; else "$@"; fi
}

bindir() {
    for d in $(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V -r); do
        [ -x "$d/initdb" ] && [ -x "$d/pg_ctl" ] && { echo "$d"; return; }
    done
    command -v initdb >/dev/null && dirname "$(command -v initdb)"
}

server() { # pg_ctl ACTION: as the folder's owner
    dir=$(value dir)
    as_owner "$(value bin)/pg_ctl" -D "$dir/data" -l "$dir/log" -w -t 60 "$@" >/dev/null 2>&1
}

stop() {
    [ -f "$state" ] || return 0
    dir=$(value dir)
    if [ -n "$dir" ] && [ -f "$dir/data/postmaster.pid" ]; then
        server stop -m immediate
    fi
    case "$dir" in /tmp/kovra-pg.*) rm -rf "$dir" ;; esac
    rm -f "$state"
}

fail() {
    echo "postgres.sh: $1" >&2
    if [ -n "${dir:-}" ] && [ -f "$dir/log" ]; then
        echo "---- the server's log ----" >&2
        tail -n 60 "$dir/log" >&2
    fi
    stop
    if [ "${KOVRA_CI:-}" = 1 ]; then
        exit 1
    fi
    echo "skip=$1" >"$state"
    echo "postgres.sh: the PostgreSQL tests will be skipped" >&2
    exit 0
}

case $action in
stop) stop; exit 0 ;;
halt) server stop -m immediate; exit $? ;;
resume) server start; exit $? ;;
esac

stop # what an earlier run that broke off left behind
bin=$(bindir)
[ -n "$bin" ] || fail "PostgreSQL is not installed (Debian: postgresql)"
command -v psql >/dev/null || fail "psql is not installed (Debian: postgresql-client)"
dir=$(mktemp -d /tmp/kovra-pg.XXXXXX) || fail "no folder in /tmp"
printf 'dir=%s\nbin=%s\n' "$dir" "$bin" >"$state"
[ "$(id -u)" = 0 ] && chown nobody "$dir"
chmod 700 "$dir"

as_owner "$bin/initdb" -D "$dir/data" -U kovra --auth=trust -E UTF8 --locale=C --no-sync \
    >"$dir/initdb.log" 2>&1 || { cat "$dir/initdb.log" >&2; fail "initdb failed"; }
cat >>"$dir/data/postgresql.conf" <<EOF
listen_addresses = ''
unix_socket_directories = '$dir'
max_connections = 60
shared_buffers = 64MB
log_min_messages = warning
EOF
if [ "${KOVRA_PG_DURABLE:-}" != 1 ]; then
    printf 'fsync = off\nsynchronous_commit = off\nfull_page_writes = off\n' >>"$dir/data/postgresql.conf"
fi
server start || fail "the server did not start"
psql -h "$dir" -U kovra -d postgres -v ON_ERROR_STOP=1 -q -c "CREATE ROLE broker LOGIN" >/dev/null 2>&1 ||
    fail "the role broker cannot be made"
echo "socket=$dir" >>"$state"
echo "postgres.sh: PostgreSQL on the socket in $dir (roles kovra, broker)"
