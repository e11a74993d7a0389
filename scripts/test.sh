#!/usr/bin/env bash
# Installs what is missing, then runs the whole test suite three ways: a Release build of what ships
# (the Debian package is then made from those same binaries and checked with lintian), the suite again
# under AddressSanitizer and UndefinedBehaviorSanitizer in a debug build, and a short bounded run of
# every fuzz target.
set -euo pipefail
shopt -s nullglob
cd "$(dirname "$0")/.."
root=$(pwd)
jobs=$(nproc)
fuzz_runs=${FUZZ_RUNS:-20000}

"$root/scripts/install-deps.sh"

echo "== release build and tests, then the Debian package of those binaries, checked with lintian"
PACKAGE_BUILD_DIR=build-release PACKAGE_WITH_TESTS=1 JOBS=$jobs "$root/scripts/package.sh"

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

echo "== all tests passed"
