#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite three ways: a plain debug build,
# the same suite under AddressSanitizer and UndefinedBehaviorSanitizer, and a short bounded run of every
# fuzz target; then builds the Debian package and checks it with lintian.
set -euo pipefail
shopt -s nullglob
cd "$(dirname "$0")/.."
root=$(pwd)
jobs=$(nproc)
fuzz_runs=${FUZZ_RUNS:-20000}

"$root/scripts/install-deps.sh"

echo "== plain build and tests"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPROGRAM_SANITIZE=ON -DPROGRAM_BENCH=OFF >/dev/null
cmake --build build-asan -j "$jobs"
ctest --test-dir build-asan --output-on-failure -j "$jobs"

echo "== fuzz targets, $fuzz_runs runs each"
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPROGRAM_FUZZ=ON -DPROGRAM_BUILD_GUI=OFF \
      -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build-fuzz -j "$jobs"
for fuzzer in build-fuzz/bin/fuzz_*; do
    name=$(basename "$fuzzer")
    corpus="build-fuzz/corpus/$name"
    mkdir -p "$corpus"
    seeds="$root/fuzz/seeds/${name#fuzz_}"
    [ -d "$seeds" ] || seeds=""
    echo "-- $name"
    "$fuzzer" -runs="$fuzz_runs" -max_len=4096 "$corpus" $seeds 2>&1 | tail -n 2
done

echo "== Debian package, checked with lintian"
"$root/scripts/package.sh"

echo "== all tests passed"
