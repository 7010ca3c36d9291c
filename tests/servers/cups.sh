#!/bin/sh
# A throw-away CUPS server for the printer tests: cups.sh start|stop STATE
#
# start: a cupsd of its own (configuration, spool and log in a fresh folder
# under /tmp, listening on a socket there, nothing of the machine's CUPS
# touched) with two queues: "kovra-pdf", a cups-pdf queue, the default, and
# "kovra-office", a queue whose driver offers duplex and trays.  Both hold
# every job, so the tests read a job's name and options from the queue and
# nothing is printed or written anywhere.  STATE then holds the line
# "socket=PATH" (what CUPS_SERVER is set to); without CUPS installed it
# holds "skip=WHY" and the tests skip, unless KOVRA_CI=1, where the start
# fails with cupsd's log.
# stop: ends that cupsd and removes its folder.
set -u
action=$1
state=$2
here=$(cd "$(dirname "$0")" && pwd)

stop() {
    [ -f "$state" ] || return 0
    dir=$(sed -n 's/^dir=//p' "$state")
    if [ -n "$dir" ] && [ -f "$dir/cupsd.pid" ]; then
        pid=$(cat "$dir/cupsd.pid")
        kill "$pid" 2>/dev/null
        i=0
        while kill -0 "$pid" 2>/dev/null && [ $i -lt 50 ]; do sleep 0.1; i=$((i + 1)); done
        kill -9 "$pid" 2>/dev/null
    fi
    case "$dir" in /tmp/kovra-cups.*) rm -rf "$dir" ;; esac
    rm -f "$state"
}

fail() {
    echo "cups.sh: $1" >&2
    if [ -n "${dir:-}" ] && [ -f "$dir/log/error_log" ]; then
        echo "---- cupsd's log ----" >&2
        tail -n 60 "$dir/log/error_log" >&2
    fi
    if [ "${KOVRA_CI:-}" = 1 ]; then
        stop
        exit 1
    fi
    stop
    echo "skip=$1" >"$state"
    echo "cups.sh: the printer tests will be skipped" >&2
    exit 0
}

if [ "$action" = stop ]; then
    stop
    exit 0
fi

stop # what an earlier run that broke off left behind
cupsd=$(command -v cupsd || echo /usr/sbin/cupsd)
[ -x "$cupsd" ] || fail "cupsd is not installed (Debian: cups)"
[ -f /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd ] || fail "cups-pdf is not installed (Debian: printer-driver-cups-pdf)"
command -v lpadmin >/dev/null || fail "lpadmin is not installed (Debian: cups-client)"

dir=$(mktemp -d /tmp/kovra-cups.XXXXXX) || fail "no folder in /tmp"
echo "dir=$dir" >"$state"
mkdir -p "$dir/etc/ppd" "$dir/spool/tmp" "$dir/cache" "$dir/run" "$dir/log"
socket=$dir/cups.sock
user=$(id -un)
group=$(id -gn)
if [ "$(id -u)" = 0 ]; then
    # cupsd started by root runs its filters as lp; they read the spool.
    user=lp
    group=lp
    chmod 755 "$dir"
    chown -R root:lp "$dir/spool" "$dir/cache" "$dir/run"
    chmod 770 "$dir/spool" "$dir/cache" "$dir/run"
    chmod 1770 "$dir/spool/tmp"
fi

cat >"$dir/etc/cups-files.conf" <<EOF
ServerRoot $dir/etc
RequestRoot $dir/spool
TempDir $dir/spool/tmp
CacheDir $dir/cache
StateDir $dir/run
ErrorLog $dir/log/error_log
AccessLog $dir/log/access_log
PageLog $dir/log/page_log
ServerBin /usr/lib/cups
DataDir /usr/share/cups
DocumentRoot /usr/share/cups/doc-root
User $user
Group $group
SystemGroup $(id -gn)
FileDevice Yes
Printcap $dir/run/printcap
EOF
cat >"$dir/etc/cupsd.conf" <<EOF
LogLevel debug
Listen $socket
Browsing No
DefaultShared No
WebInterface No
PreserveJobHistory Yes
PreserveJobFiles No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF

"$cupsd" -f -c "$dir/etc/cupsd.conf" -s "$dir/etc/cups-files.conf" >"$dir/log/stdout" 2>&1 &
echo $! >"$dir/cupsd.pid"
i=0
while [ ! -S "$socket" ]; do
    kill -0 "$(cat "$dir/cupsd.pid")" 2>/dev/null || { cat "$dir/log/stdout" >&2; fail "cupsd did not start"; }
    [ $i -lt 100 ] || fail "cupsd does not listen on $socket"
    sleep 0.1
    i=$((i + 1))
done

export CUPS_SERVER=$socket
lpadmin -p kovra-pdf -E -v cups-pdf:/ -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd \
    -o job-hold-until-default=indefinite >/dev/null 2>&1 || fail "the cups-pdf queue cannot be made"
lpadmin -p kovra-office -E -v file:///dev/null -P "$here/kovra-office.ppd" \
    -o job-hold-until-default=indefinite >/dev/null 2>&1 || fail "the office queue cannot be made"
lpadmin -d kovra-pdf >/dev/null 2>&1 || fail "the default queue cannot be set"
lpstat -d 2>/dev/null | grep -q kovra-pdf || fail "the server has no default queue"
echo "socket=$socket" >>"$state"
echo "cups.sh: cupsd on $socket, queues kovra-pdf (default) and kovra-office"
