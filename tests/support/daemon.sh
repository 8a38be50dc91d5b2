#!/bin/sh
# daemon.sh start <dir> <ready> <command...> | stop <dir>: a service for the tests (an X server,
# a bus, a compositor) in the background, its PID and log in <dir>; start returns once the shell
# test <ready> holds.
set -eu
action="$1"; dir="$2"
case "$action" in
start)
    ready="$3"; shift 3
    if [ -f "$dir/pid" ] && kill -0 "$(cat "$dir/pid")" 2>/dev/null; then exit 0; fi
    rm -rf "$dir" # sockets left by an aborted run
    mkdir -p -m 700 "$dir"
    "$@" >"$dir/log" 2>&1 &
    echo $! >"$dir/pid"
    for _ in $(seq 1 150); do
        if sh -c "$ready" >/dev/null 2>&1; then exit 0; fi
        sleep 0.1
    done
    echo "$1 did not start"; cat "$dir/log"; exit 1 ;;
stop)
    [ -f "$dir/pid" ] || exit 0
    pid=$(cat "$dir/pid"); rm -f "$dir/pid"
    kill "$pid" 2>/dev/null || exit 0
    for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || exit 0; sleep 0.1; done
    kill -9 "$pid" ;;
esac
