#!/usr/bin/env bash
# Starts or stops a Firebird server for the tests, without systemd.
#   firebird-server.sh start <pidfile>   starts in the background, waits until localhost:3050 answers
#   firebird-server.sh stop <pidfile>    stops the server started with that pidfile
set -euo pipefail

SERVER=/usr/sbin/firebird
PASSWORD=plovertin
action=${1:?start or stop}
pidfile=${2:?pid file}

ready() {
  fbsvcmgr localhost:service_mgr -user SYSDBA -password "$PASSWORD" -info_server_version \
    >/dev/null 2>&1
}

case "$action" in
  start)
    if pidof "$SERVER" >/dev/null; then
      echo "firebird-server: a server is already running (pid $(pidof "$SERVER")); using it"
      : > "$pidfile"
    else
      log=${pidfile%.pid}.log
      setpriv --reuid=firebird --regid=firebird --init-groups "$SERVER" >"$log" 2>&1 &
      echo $! > "$pidfile"
    fi
    for _ in $(seq 1 100); do
      if ready; then echo "firebird-server: ready"; exit 0; fi
      sleep 0.1
    done
    echo "firebird-server: the server did not answer on localhost:3050" >&2
    exit 1
    ;;
  stop)
    pid=$(cat "$pidfile" 2>/dev/null || true)
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
      kill -TERM "$pid"
      for _ in $(seq 1 30); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
      kill -KILL "$pid" 2>/dev/null || true
    fi
    rm -f "$pidfile"
    ;;
  *) echo "firebird-server: unknown action $action" >&2; exit 2 ;;
esac
