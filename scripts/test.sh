#!/usr/bin/env bash
# Installs what is missing, checks that includes point down the floors (scripts/check-includes.py),
# then runs the whole test suite: a Release build of what ships, made into the
# Debian package and checked with lintian, and installed and run (a write and a read against the virtual
# radio); every test in a debug build under AddressSanitizer and UndefinedBehaviorSanitizer; and a short
# bounded run of every fuzz target.
#
# Speed: each build compiles a library's sources together in a few large files (a unity build), and the
# tests, which mostly wait on serial lines and timers, run while lintian and the fuzz build use the
# idle processor beside them at a low priority, so the tests' timing stays undisturbed.
set -euo pipefail
shopt -s nullglob
cd "$(dirname "$0")/.."
root=$(pwd)
jobs=$(nproc)
fuzz_runs=${FUZZ_RUNS:-20000}
unity=(-DCMAKE_UNITY_BUILD=ON -DCMAKE_UNITY_BUILD_BATCH_SIZE=16)
stage() { echo "== $* (at ${SECONDS} s)"; }

"$root/scripts/install-deps.sh"

stage "includes point down the floors, and no source file is over 450 lines"
python3 "$root/scripts/check-includes.py" "$root"
# Small files with one job: a source file that passes 450 lines is split before it lands.
git -C "$root" ls-files '*.cpp' '*.h' | (cd "$root" && xargs awk 'FNR == 451 { print FILENAME ": over 450 lines"; long = 1 }
    END { exit long }')

stage "Release build of what ships, and its Debian package"
PACKAGE_BUILD_DIR=build-release JOBS=$jobs "$root/scripts/package.sh" --no-lintian
deb=$(ls build-release/fieldcom-programmer_*.deb)
echo "-- the Release programs, installed, and a write and read between them"
home=$(mktemp -d)
HOME=$home XDG_CONFIG_HOME=$home/.config QT_QPA_PLATFORM=offscreen "$root/tests/install/check_install.sh" build-release
rm -rf "$home"

stage "debug build under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPROGRAM_SANITIZE=ON -DPROGRAM_BENCH=OFF \
      "${unity[@]}" >/dev/null
cmake --build build-asan -j "$jobs"

beside_the_tests() {
    echo "-- lintian $deb"
    lintian --fail-on error "$deb"
    echo "-- fuzz build"
    cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPROGRAM_FUZZ=ON -DPROGRAM_BUILD_GUI=OFF \
          -DCMAKE_CXX_COMPILER=clang++ "${unity[@]}" >/dev/null
    cmake --build build-fuzz -j "$jobs"
}
beside_log=build-asan/beside-the-tests.log
( renice -n 15 -p $BASHPID >/dev/null; beside_the_tests ) >"$beside_log" 2>&1 &
beside=$!

stage "tests under AddressSanitizer and UndefinedBehaviorSanitizer"
tests_ok=1
ctest --test-dir build-asan --output-on-failure -j $((jobs * 2)) || tests_ok=0

stage "lintian and the fuzz build"
beside_ok=1
wait $beside || beside_ok=0
cat "$beside_log"
[ $tests_ok = 1 ] && [ $beside_ok = 1 ] || { echo "== FAILED"; exit 1; }

stage "fuzz targets, $fuzz_runs runs each"
for fuzzer in build-fuzz/bin/fuzz_*; do
    name=$(basename "$fuzzer")
    corpus="build-fuzz/corpus/$name"
    mkdir -p "$corpus"
    seeds="$root/fuzz/seeds/${name#fuzz_}"
    [ -d "$seeds" ] || seeds=""
    echo "-- $name"
    "$fuzzer" -runs="$fuzz_runs" -max_len=4096 "$corpus" $seeds 2>&1 | tail -n 2
done

stage "all tests passed"
