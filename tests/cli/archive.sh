#!/usr/bin/env bash
# The archive against kills, rivals, read-only folders and damaged files:
# every case ends with the archive as it was before the failed step (or
# with every rival's import in it), a message, and no hang.
#   archive.sh GROUP KOVRA SOURCE_DIR WORK_DIR [PG_STATE]
# GROUP: kill | rivals | read-only | damaged (a file), kill | rivals | crowd |
# fault (on PostgreSQL)
# PG_STATE: the state file of the test PostgreSQL server
# (tests/servers/postgres.sh): the archive is a fresh database there;
# without it a file in WORK_DIR/GROUP.
set -u
group=$1 kovra=$2 src=$3 work=$4/$1 pg_state=${5:-}
[ -z "$pg_state" ] || work=$4/pg-$1
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data HOME=$work
archive=$work/archive.sqlite
cases=$src/tests/cli/cases
servers=$src/tests/servers
failures=0

# fresh_database STATE NAME: an empty database owned by broker; its URI.
fresh_database() {
  local socket
  socket=$(sed -n 's/^socket=//p' "$1")
  psql -h "$socket" -U kovra -d postgres -q -v ON_ERROR_STOP=1 -c "DROP DATABASE IF EXISTS $2 WITH (FORCE)" \
    -c "CREATE DATABASE $2 OWNER broker" >/dev/null || exit 1
  echo "postgresql:///$2?host=$socket&user=broker"
}
# rows URI: the rows of the archive's tables, one line.
rows() {
  psql "$1" -At -c "SELECT (SELECT count(*) FROM imports), (SELECT count(*) FROM listings),
    (SELECT count(*) FROM versions), (SELECT count(*) FROM presence), (SELECT count(*) FROM notes)"
}
if [ -n "$pg_state" ]; then
  if grep -q '^skip=' "$pg_state" 2>/dev/null; then
    echo "SKIPPED: $(sed -n 's/^skip=//p' "$pg_state")"
    exit 0
  fi
  archive=$(fresh_database "$pg_state" "sh_${group}")
fi

fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
# expect STATUS CMD...: runs CMD within 60 s; stdout and stderr land in out, err.
expect() {
  local want=$1; shift
  timeout 60 "$@" >out 2>err; local rc=$?
  [ "$rc" = "$want" ] || fail "exit $rc, expected $want: $* :: $(head -c 300 err)"
}
said() { grep -qF -- "$1" err || fail "no message '$1' in: $(head -c 300 err)"; }
listing() { timeout 60 "$kovra" archive list --archive "$archive"; }
# listings N PREFIX: an export file of N listings numbered PREFIX-1 ... (Shift-JIS as its source).
# listings N PREFIX [FIRST]: … numbered from FIRST (default 1).
listings() {
  head -n 1 "$cases/two-listings.txt"
  sed -n 2p "$cases/two-listings.txt" | awk -v n="$1" -v p="$2" -v f="${3:-1}" 'BEGIN { FS = OFS = "," }
    { for (i = f; i < f + n; i++) { $2 = p "-" i; print } }'
}
# wait_in_transaction PID FILE: until PID read FILE twice (its hash, its
# load), so it is in the transaction that writes it, at most 60 s (Linux: /proc).
wait_in_transaction() {
  local read_twice=$((2 * $(stat -c %s "$2"))) read
  for _ in $(seq 6000); do
    read=$(awk '/^rchar:/ { print $2 }' "/proc/$1/io" 2>/dev/null || echo 0)
    [ "${read:-0}" -gt "$read_twice" ] && break
    kill -0 "$1" 2>/dev/null || break
    sleep 0.01
  done
}

expect 0 "$kovra" archive import "$cases/changes-day1.txt" --archive "$archive"
listing >before.list

case $group in
kill)
  # Killed mid-import: the archive is as before, opens, and takes the file later.
  listings 100000 K >big.txt
  "$kovra" archive import big.txt --archive "$archive" >/dev/null 2>&1 &
  pid=$!
  wait_in_transaction $pid big.txt
  kill -0 $pid 2>/dev/null || fail "the import ended before it could be killed"
  kill -9 $pid; wait $pid 2>/dev/null
  listing >after.list || fail "the archive does not open after the kill"
  cmp -s before.list after.list || fail "the killed import left something: $(cat after.list)"
  expect 0 "$kovra" archive import big.txt --archive "$archive"
  grep -q "^import" out || fail "the file was not imported after the kill: $(cat out)"
  ;;

rivals)
  # Two files at once from two programs, and one of them twice: both files
  # land once, the second copy is told it is the same.
  listings 30000 X >x.txt
  listings 30000 Y >y.txt
  pids=()
  for f in x.txt y.txt y.txt; do
    "$kovra" archive import "$f" --archive "$archive" >"$f.$RANDOM.out" 2>&1 &
    pids+=($!)
  done
  for p in "${pids[@]}"; do wait "$p" || fail "an import failed: $(cat ./*.out)"; done
  [ "$(cat ./*.out | grep -c '^import')" = 2 ] || fail "not two imports: $(cat ./*.out)"
  [ "$(cat ./*.out | grep -c '^same')" = 1 ] || fail "not one same: $(cat ./*.out)"
  [ "$(listing | wc -l)" = 3 ] || fail "the archive does not hold three imports: $(listing)"
  ;;

read-only)
  # A folder nobody may write to: the import is refused with the archive's
  # message, and the archive stays as it was; a new archive cannot be made.
  as_user=()
  if [ "$(id -u)" = 0 ]; then as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups); fi
  mkdir ro && cp "$archive" ro/archive.sqlite && cp ro/archive.sqlite ro.keep
  chmod 555 ro && chmod 444 ro/archive.sqlite
  expect 1 "${as_user[@]}" "$kovra" archive import "$cases/changes-day2.txt" --archive ro/archive.sqlite
  said "アーカイブ"
  cmp -s ro/archive.sqlite ro.keep || fail "the read-only archive changed"
  expect 1 "${as_user[@]}" "$kovra" archive import "$cases/changes-day2.txt" --archive ro/new.sqlite
  said "を開けません"
  [ ! -e ro/new.sqlite ] || fail "an archive was made in the read-only folder"
  chmod 755 ro
  ;;

damaged)
  # A file that is no archive is refused and left as it was; a file that
  # stops on a bad line imports nothing.
  head -c 5000 /dev/urandom >garbage.sqlite && cp garbage.sqlite garbage.keep
  expect 1 "$kovra" archive import "$cases/changes-day2.txt" --archive garbage.sqlite
  said "壊れているか"
  cmp -s garbage.sqlite garbage.keep || fail "the damaged file changed"
  expect 1 "$kovra" archive import "$cases/bad-code-on-line-3.txt" --archive "$archive"
  said "行目で読込を中止しました"
  listing >after.list
  cmp -s before.list after.list || fail "a file with a bad line left something: $(cat after.list)"
  ;;
crowd)
  # A whole office at once: four files that share half their listings and
  # one file twice, imported together, end as the four imported one after
  # the other; then eight brokers note one listing a hundred times each.
  for k in 1 2 3 4; do listings 10000 C $((k * 5000)) >c$k.txt; done
  pids=()
  for f in c1.txt c2.txt c3.txt c4.txt c4.txt; do
    "$kovra" archive import "$f" --archive "$archive" >"$f.$RANDOM.out" 2>&1 &
    pids+=($!)
  done
  for p in "${pids[@]}"; do wait "$p" || fail "an import failed: $(cat ./*.out)"; done
  [ "$(cat ./*.out | grep -c '^import')" = 4 ] || fail "not four imports: $(cat ./*.out)"
  [ "$(cat ./*.out | grep -c '^same')" = 1 ] || fail "not one same: $(cat ./*.out)"
  one_by_one=$(fresh_database "$pg_state" sh_crowd_one_by_one)
  for f in "$cases/changes-day1.txt" c1.txt c2.txt c3.txt c4.txt; do
    timeout 60 "$kovra" archive import "$f" --archive "$one_by_one" >/dev/null 2>&1 || fail "$f one by one"
  done
  [ "$(rows "$archive")" = "$(rows "$one_by_one")" ] ||
    fail "rows at once $(rows "$archive"), one by one $(rows "$one_by_one")"
  for b in 1 2 3 4 5 6 7 8; do
    (for n in $(seq 100); do
      "$kovra" archive note C-10000 "broker $b note $n" --archive "$archive" || echo "note $b $n failed" >>notes.failed
    done) &
  done
  wait
  [ ! -e notes.failed ] || fail "notes failed: $(head -3 notes.failed)"
  [ "$("$kovra" archive note C-10000 --archive "$archive" | wc -l)" = 800 ] || fail "not 800 notes"
  ;;

fault)
  # The server stops in the middle of an import (a server of its own, so
  # no other test loses its server): the import fails with the message,
  # and once the server is back the archive is as before and takes the file.
  own=$work/own.state
  # Durable, as an office's server: what it committed outlives the crash.
  KOVRA_PG_DURABLE=1 sh "$servers/postgres.sh" start "$own" >/dev/null 2>&1 || fail "no server of its own"
  archive=$(fresh_database "$own" sh_fault)
  expect 0 "$kovra" archive import "$cases/changes-day1.txt" --archive "$archive"
  listing >before.list
  listings 100000 F >big.txt
  "$kovra" archive import big.txt --archive "$archive" >import.out 2>import.err &
  pid=$!
  wait_in_transaction $pid big.txt
  kill -0 $pid 2>/dev/null || fail "the import ended before the server stopped"
  sh "$servers/postgres.sh" halt "$own" || fail "the server did not stop"
  timeout 60 tail --pid=$pid -f /dev/null
  wait $pid; rc=$?
  [ "$rc" = 1 ] || fail "the import ended with $rc: $(cat import.err)"
  grep -q "に接続できません" import.err || fail "no message: $(cat import.out import.err)"
  sh "$servers/postgres.sh" resume "$own" || fail "the server did not start again"
  listing >after.list || fail "the archive does not open after the restart"
  cmp -s before.list after.list || fail "the failed import left something: $(cat after.list)"
  expect 0 "$kovra" archive import big.txt --archive "$archive"
  grep -q "^import" out || fail "the file was not imported after the restart: $(cat out)"
  sh "$servers/postgres.sh" stop "$own"
  ;;
esac

[ "$failures" = 0 ] && echo "archive $group: passed"
exit $((failures > 0))
