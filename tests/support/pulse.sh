#!/bin/sh
# A private PulseAudio with a null sink for the tests: pulse.sh start|stop <dir>
# Everything it keeps (runtime dir, state, socket, PID file) lives under <dir>.
set -u

cmd=${1:-}
dir=${2:-}
if [ -z "$cmd" ] || [ -z "$dir" ]; then
    echo "usage: $0 start|stop <dir>" >&2
    exit 2
fi

sink=lindenfold_null
socket="$dir/native"
pidfile="$dir/runtime/pid"

stop_daemon() {
    [ -f "$pidfile" ] || return 0
    pid=$(cat "$pidfile" 2>/dev/null)
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
        kill "$pid" 2>/dev/null
        i=0
        while kill -0 "$pid" 2>/dev/null && [ $i -lt 50 ]; do
            sleep 0.1
            i=$((i + 1))
        done
        kill -9 "$pid" 2>/dev/null
    fi
    rm -f "$pidfile" "$socket"
}

case "$cmd" in
start)
    mkdir -p "$dir/runtime" "$dir/state" "$dir/home"
    chmod 700 "$dir/runtime"
    stop_daemon # a daemon left over from an aborted run
    # PulseAudio refuses a runtime dir it does not own and, as root, a HOME it cannot use
    export XDG_RUNTIME_DIR="$dir/runtime"
    export PULSE_STATE_PATH="$dir/state"
    export PULSE_RUNTIME_PATH="$dir/runtime"
    export HOME="$dir/home"
    unset PULSE_SERVER
    # the daemon writes its PID to $PULSE_RUNTIME_PATH/pid; the null sink is left as a user's
    # sink is, rewinds and all
    if ! pulseaudio --daemonize=yes --system=no --disallow-exit --exit-idle-time=-1 -n \
        --use-pid-file=yes --disable-shm=yes --log-target=file:"$dir/pulse.log" \
        --load="module-null-sink sink_name=$sink" \
        --load="module-native-protocol-unix socket=$socket auth-anonymous=1" \
        </dev/null >/dev/null 2>&1; then
        echo "PulseAudio did not start; log follows" >&2
        cat "$dir/pulse.log" >&2 2>/dev/null
        exit 1
    fi
    i=0
    until pactl -s "unix:$socket" info >/dev/null 2>&1; do
        i=$((i + 1))
        if [ $i -gt 150 ]; then
            echo "PulseAudio did not start; log follows" >&2
            cat "$dir/pulse.log" >&2 2>/dev/null
            stop_daemon
            exit 1
        fi
        sleep 0.1
    done
    pactl -s "unix:$socket" set-default-sink "$sink"
    echo "PulseAudio ready at unix:$socket (pid $(cat "$pidfile"))"
    ;;
stop)
    stop_daemon
    ;;
*)
    echo "usage: $0 start|stop <dir>" >&2
    exit 2
    ;;
esac
