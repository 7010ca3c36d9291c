#!/usr/bin/env bash
# The archive against kills, rivals, read-only folders and damaged files:
# every case ends with the archive as it was before the failed step (or
# with every rival's import in it), a message, and no hang.
#   archive.sh GROUP KOVRA SOURCE_DIR WORK_DIR [ARCHIVE]
# GROUP: kill | rivals | read-only | damaged
# ARCHIVE: the archive's location (default: a file in WORK_DIR/GROUP).
set -u
group=$1 kovra=$2 src=$3 work=$4/$1
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data HOME=$work
archive=${5:-$work/archive.sqlite}
cases=$src/tests/cli/cases
failures=0

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
listings() {
  head -n 1 "$cases/two-listings.txt"
  sed -n 2p "$cases/two-listings.txt" | awk -v n="$1" -v p="$2" 'BEGIN { FS = OFS = "," }
    { for (i = 1; i <= n; i++) { $2 = p "-" i; print } }'
}

expect 0 "$kovra" archive import "$cases/changes-day1.txt" --archive "$archive"
listing >before.list

case $group in
kill)
  # Killed mid-import: the archive is as before, opens, and takes the file later.
  listings 100000 K >big.txt
  # Killed once the import has read the file twice (its hash, its load), so
  # in the transaction that writes it, at most 60 s on (Linux: /proc).
  read_twice=$((2 * $(stat -c %s big.txt)))
  "$kovra" archive import big.txt --archive "$archive" >/dev/null 2>&1 &
  pid=$!
  for _ in $(seq 6000); do
    read=$(awk '/^rchar:/ { print $2 }' "/proc/$pid/io" 2>/dev/null || echo 0)
    [ "${read:-0}" -gt "$read_twice" ] && break
    kill -0 $pid 2>/dev/null || break
    sleep 0.01
  done
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
esac

[ "$failures" = 0 ] && echo "archive $group: passed"
exit $((failures > 0))
