#!/bin/sh
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer)
# into build-fuzz/ and runs each for a bounded time, starting from its seed corpus. An input
# that crashes is left as build-fuzz/crash-* (add it to fuzz/corpus/<target>/ once fixed: the
# normal suite runs every corpus file). The seed is fixed, so a run is the start of the same
# sequence of inputs on every machine: a longer run here covers what a shorter one in CI tries.
set -eu
cd "$(dirname "$0")/.."
seconds="${1:-50}"
targets="settings playlist theme skinimage tags"
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
    -DLINDENFOLD_FUZZ=ON -DBUILD_TESTING=OFF
for t in $targets; do
    cmake --build build-fuzz -j"$(nproc)" --target "fuzz_$t"
done
export QT_QPA_PLATFORM=offscreen
# a small quarantine: the image decoders' large short-lived buffers would otherwise count as
# memory in use against the limit
export ASAN_OPTIONS=detect_leaks=0:allocator_may_return_null=1:quarantine_size_mb=64
# the decoders' complaints about damaged input, printed thousands of times a second
export QT_LOGGING_RULES="default.warning=false;qt.gui.imageio=false"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
for t in $targets; do
    work="build-fuzz/corpus-$t"
    mkdir -p "$work"
    echo "fuzzing $t for $seconds s"
    (cd build-fuzz && "./fuzz/fuzz_$t" -seed=1 -max_total_time="$seconds" -rss_limit_mb=2048 -max_len=65536 \
        -print_final_stats=1 "corpus-$t" "../fuzz/corpus/$t")
done
