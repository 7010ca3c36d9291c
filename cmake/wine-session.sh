#!/bin/sh
# Keeps one wine session up while the cross-built tests run.  Wine starts its
# services with the first program of a session and stops them after the
# last, which costs seconds per test; an idle cmd.exe reading a pipe that
# stays open through the run spares every test that start.  The pipe's
# writer ends after an hour, so a run that never reaches "stop" cleans up
# after itself.  WINEPREFIX and the rest come from the environment.
#   wine-session.sh start|stop PIDFILE WINE
set -u
step=$1 pidfile=$2 wine=$3

case $step in
start)
  # setsid: sleep and wine form one process group, ended together by "stop".
  setsid sh -c 'sleep 3600 | "$0" cmd' "$wine" </dev/null >/dev/null 2>&1 &
  echo $! >"$pidfile"
  # Returns once the session is up, so the first tests find it running.
  "$wine" cmd /c exit </dev/null >/dev/null 2>&1
  ;;
stop)
  if [ -f "$pidfile" ]; then
    kill -- "-$(cat "$pidfile")" 2>/dev/null
    rm -f "$pidfile"
  fi
  ;;
esac
exit 0
