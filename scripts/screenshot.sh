#!/usr/bin/env bash
# Makes docs/window.png, the picture of the window the README shows: the program under Xvfb with a
# few channels typed in, in English.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPROGRAM_SNAPSHOTS=ON >/dev/null
cmake --build build --target gui_snapshot Program translations >/dev/null
shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT
xvfb-run -a -s "-screen 0 1280x720x24" build/tools/bin/gui_snapshot English "$shots" >/dev/null 2>&1
cp "$shots/English-editing.png" docs/window.png
echo "docs/window.png"
