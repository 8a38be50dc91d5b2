#!/bin/sh
# dbus.sh start|stop <dir>: a private session bus at unix:path=<dir>/bus.
set -eu
action="$1"; dir="$2"
mkdir -p "$dir"
case "$action" in
start)
    if [ -f "$dir/pid" ] && kill -0 "$(cat "$dir/pid")" 2>/dev/null; then exit 0; fi
    rm -f "$dir/bus"
    dbus-daemon --session --nofork --address="unix:path=$dir/bus" --print-pid=3 3>"$dir/pid" >"$dir/log" 2>&1 &
    for _ in $(seq 1 100); do
        [ -S "$dir/bus" ] && exit 0
        sleep 0.1
    done
    echo "dbus-daemon did not start"; cat "$dir/log"; exit 1 ;;
stop)
    if [ -f "$dir/pid" ]; then kill "$(cat "$dir/pid")" 2>/dev/null || true; rm -f "$dir/pid"; fi ;;
esac
