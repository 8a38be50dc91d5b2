#!/bin/sh
# Builds and runs the whole suite twice: the normal build and a sanitizer build
# (AddressSanitizer + UndefinedBehaviorSanitizer); then runs each fuzz target for a while.
set -eu
cd "$(dirname "$0")/.."
scripts/build.sh build
(cd build && ctest --output-on-failure --timeout 600)
scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DLINDENFOLD_SANITIZE=ON
(cd build-asan && ctest --output-on-failure --timeout 900)
sh scripts/fuzz.sh 45
