#!/bin/sh
# dbus.sh start|stop <dir>: a private session bus at unix:path=<dir>/bus.
set -eu
action="$1"; dir="$2"
daemon="$(dirname "$0")/../../tests/support/daemon.sh"
[ "$action" = stop ] && exec sh "$daemon" stop "$dir"
exec sh "$daemon" start "$dir" "test -S $dir/bus" \
    dbus-daemon --session --nofork --address="unix:path=$dir/bus"
