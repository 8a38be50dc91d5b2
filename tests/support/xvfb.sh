#!/bin/sh
# xvfb.sh start|stop <display> <dir>: a private X server for tests that need real windows.
set -eu
action="$1"; display="$2"; dir="$3"
mkdir -p "$dir"
case "$action" in
start)
    if [ -f "$dir/pid" ] && kill -0 "$(cat "$dir/pid")" 2>/dev/null; then exit 0; fi
    Xvfb "$display" -screen 0 1920x1080x24 -nolisten tcp >"$dir/log" 2>&1 &
    echo $! >"$dir/pid"
    for _ in $(seq 1 100); do
        if DISPLAY="$display" xdpyinfo >/dev/null 2>&1; then exit 0; fi
        sleep 0.1
    done
    echo "Xvfb did not start on $display"; cat "$dir/log"; exit 1 ;;
stop)
    if [ -f "$dir/pid" ]; then kill "$(cat "$dir/pid")" 2>/dev/null || true; rm -f "$dir/pid"; fi ;;
esac
