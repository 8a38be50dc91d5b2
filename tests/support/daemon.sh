#!/bin/sh
# daemon.sh start|stop <dir> <service> [display]: a private pulse (only sink the null sink
# "lindenfold_null", socket <dir>/native), dbus (<dir>/bus), xvfb (on <display>) or weston
# (socket <dir>/lindenfold-test) for the tests and benchmarks, its PID and log in <dir>.
set -eu
action="$1"; dir="$2"; service="$3"
case "$service" in
# PulseAudio wants a runtime dir and, as root, a HOME of its own; the sink keeps its rewinds
pulse) ready="pactl -s unix:$dir/native info"
    set -- env -u PULSE_SERVER HOME="$dir" XDG_RUNTIME_DIR="$dir" PULSE_STATE_PATH="$dir" PULSE_RUNTIME_PATH="$dir" \
        pulseaudio --daemonize=no --system=no --disallow-exit --exit-idle-time=-1 -n --use-pid-file=no \
        --disable-shm=yes "--load=module-null-sink sink_name=lindenfold_null" \
        "--load=module-native-protocol-unix socket=$dir/native auth-anonymous=1" ;;
dbus) ready="test -S $dir/bus"; set -- dbus-daemon --session --nofork --address="unix:path=$dir/bus" ;;
xvfb) ready="DISPLAY=${4:-} xdpyinfo"; set -- Xvfb "${4:-}" -screen 0 1920x1080x24 -nolisten tcp ;;
weston) ready="test -S $dir/lindenfold-test"; set -- env XDG_RUNTIME_DIR="$dir" weston --use-pixman \
    --backend=headless-backend.so --socket=lindenfold-test --idle-time=0 --no-config --width=800 --height=600 ;;
*) echo "unknown service $service"; exit 2 ;;
esac
if [ "$action" = stop ]; then
    pid=$(cat "$dir/pid" 2>/dev/null) || exit 0; rm -f "$dir/pid"
    kill "$pid" 2>/dev/null || exit 0
    for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || exit 0; sleep 0.1; done
    exec kill -9 "$pid"
fi
[ -f "$dir/pid" ] && kill -0 "$(cat "$dir/pid")" 2>/dev/null && exit 0
rm -rf "$dir" # sockets left by an aborted run
mkdir -p -m 700 "$dir"
"$@" >"$dir/log" 2>&1 &
echo $! >"$dir/pid"
for _ in $(seq 1 150); do sh -c "$ready" >/dev/null 2>&1 && exit 0; sleep 0.1; done
echo "$service did not start"; cat "$dir/log"; exit 1
