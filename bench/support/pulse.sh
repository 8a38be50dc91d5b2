#!/bin/sh
# pulse.sh start|stop <dir>: a private PulseAudio whose only sink is the null sink
# "lindenfold_null", its socket <dir>/native; started as the tests start theirs.
set -eu
action="$1"; dir="$2"
daemon="$(dirname "$0")/../../tests/support/daemon.sh"
[ "$action" = stop ] && exec sh "$daemon" stop "$dir"
# PulseAudio refuses a runtime dir it does not own and, as root, a HOME it cannot use
exec sh "$daemon" start "$dir" "pactl -s unix:$dir/native info" \
    env -u PULSE_SERVER HOME="$dir" XDG_RUNTIME_DIR="$dir" PULSE_STATE_PATH="$dir" PULSE_RUNTIME_PATH="$dir" \
    pulseaudio --daemonize=no --system=no --disallow-exit --exit-idle-time=-1 -n \
    --use-pid-file=no --disable-shm=yes "--load=module-null-sink sink_name=lindenfold_null" \
    "--load=module-native-protocol-unix socket=$dir/native auth-anonymous=1"
