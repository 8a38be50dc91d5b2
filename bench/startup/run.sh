#!/bin/sh
# run.sh <build dir> [runs]: start-up time and idle memory of lindenfold and, when installed,
# of qmmp and audacious, each on a fresh black-rooted Xvfb with a private warm HOME.
set -eu
build="${1:-build}"; runs="${2:-7}"
display=":58"
home=$(mktemp -d)
Xvfb "$display" -screen 0 1280x800x24 -br -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$home"' EXIT
sleep 1
export DISPLAY="$display" HOME="$home" XDG_RUNTIME_DIR="$home" PULSE_SERVER=unix:/nonexistent
bench="$build/bench/startup/startup_bench"
"$bench" "$runs" "$build/lindenfold"
for peer in qmmp audacious; do
    if command -v "$peer" >/dev/null; then "$bench" "$runs" "$peer"; fi
done
