#!/bin/sh
# run.sh <build dir> [rounds]: the hand-over and list import benchmarks on a private audio server
# and session bus.
set -eu
build="${1:-build}"; rounds="${2:-10}"
build=$(cd "$build" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
dir=$(mktemp -d)
daemon="$here/../../tests/support/daemon.sh"
sh "$daemon" start "$dir/pulse" pulse >/dev/null
sh "$daemon" start "$dir/dbus" dbus >/dev/null
trap 'sh "$daemon" stop "$dir/dbus" dbus; sh "$daemon" stop "$dir/pulse" pulse >/dev/null; rm -rf "$dir"' EXIT
export PULSE_SERVER="unix:$dir/pulse/native" DBUS_SESSION_BUS_ADDRESS="unix:path=$dir/dbus/bus"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}" GST_REGISTRY="$dir/gst-registry.bin"
"$build/bench/desktop/bench_handover" "$build/lindenfold" "$rounds"
"$build/bench/desktop/bench_listimport" 10000 2>/dev/null
