#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program from build/bin.
set -euo pipefail
cd "$(dirname "$0")/.."
"$(pwd)/scripts/install-deps.sh"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build -j "$(nproc)"
if [ -x build/bin/Program ]; then
    exec build/bin/Program "$@"
fi
exec build/bin/program-cli --help
