#!/bin/sh
# run.sh <build dir> [seconds]: playback CPU for a current playlist of 1 and of 10,000 tracks.
set -eu
build="${1:-build}"; seconds="${2:-8}"
here=$(cd "$(dirname "$0")" && pwd)
dir=$(mktemp -d)
daemon="$here/../../tests/support/daemon.sh"
sh "$daemon" start "$dir/pulse" pulse >/dev/null
trap 'sh "$daemon" stop "$dir/pulse" pulse >/dev/null; rm -rf "$dir"' EXIT
export PULSE_SERVER="unix:$dir/pulse/native" QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
export GST_REGISTRY="$dir/gst-registry.bin"
for n in 1 10000 1 10000; do
    "$build/bench/playback/playback_bench" "$n" "$seconds" 2>/dev/null | grep tracks
done
