#!/bin/sh
# Configures and builds into build/ (or the directory given), leaving build/lindenfold.
set -eu
cd "$(dirname "$0")/.."
dir="${1:-build}"
shift 2>/dev/null || true
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build "$dir" -j"$(nproc)"
