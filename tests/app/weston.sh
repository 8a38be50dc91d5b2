#!/bin/sh
# weston.sh start|stop <dir>: a headless Wayland compositor; <dir> is its XDG_RUNTIME_DIR and
# its socket <dir>/lindenfold-test.
set -eu
action="$1"; dir="$2"
mkdir -p "$dir"
chmod 700 "$dir"
case "$action" in
start)
    if [ -f "$dir/pid" ] && kill -0 "$(cat "$dir/pid")" 2>/dev/null; then exit 0; fi
    rm -f "$dir/lindenfold-test" "$dir/lindenfold-test.lock"
    XDG_RUNTIME_DIR="$dir" weston --backend=headless-backend.so --use-pixman --socket=lindenfold-test \
        --idle-time=0 --no-config --width=800 --height=600 >"$dir/log" 2>&1 &
    echo $! >"$dir/pid"
    for _ in $(seq 1 100); do
        [ -S "$dir/lindenfold-test" ] && exit 0
        sleep 0.1
    done
    echo "weston did not start"; cat "$dir/log"; exit 1 ;;
stop)
    if [ -f "$dir/pid" ]; then kill "$(cat "$dir/pid")" 2>/dev/null || true; rm -f "$dir/pid"; fi ;;
esac
