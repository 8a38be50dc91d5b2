#!/bin/sh
# run.sh <build dir> [rounds]: the hand-over and list import benchmarks on a private audio server
# and session bus.
set -eu
build="${1:-build}"; rounds="${2:-10}"
build=$(cd "$build" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
dir=$(mktemp -d)
sh "$here/../support/pulse.sh" start "$dir/pulse" >/dev/null
sh "$here/../support/dbus.sh" start "$dir/dbus" >/dev/null
trap 'sh "$here/../support/dbus.sh" stop "$dir/dbus"; sh "$here/../support/pulse.sh" stop "$dir/pulse" >/dev/null; rm -rf "$dir"' EXIT
export PULSE_SERVER="unix:$dir/pulse/native" DBUS_SESSION_BUS_ADDRESS="unix:path=$dir/dbus/bus"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}" GST_REGISTRY="$dir/gst-registry.bin"
"$build/bench/desktop/bench_handover" "$build/lindenfold" "$rounds"
"$build/bench/desktop/bench_listimport" 10000 2>/dev/null
