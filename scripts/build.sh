#!/bin/sh
# Configures and builds into build/ (or the directory given), leaving build/lindenfold.
set -eu
cd "$(dirname "$0")/.."
dir="${1:-build}"
# dash stops the script on a shift with nothing to shift
[ $# -eq 0 ] || shift
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build "$dir" -j"$(nproc)"
