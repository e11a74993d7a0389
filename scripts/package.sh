#!/usr/bin/env bash
# Makes the Debian package from a Release build of the programs alone (no tests) in build-package/,
# and checks it with lintian, failing on errors. Prints the package's path on its last line:
# build-package/fieldcom-programmer_VERSION_ARCH.deb. PACKAGE_BUILD_DIR picks another folder;
# --no-lintian skips the check. The sources of each library are compiled together (a unity build);
# for so few compiles, precompiling Qt's headers would cost more than it saves.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${PACKAGE_BUILD_DIR:-build-package}

# The distribution's hardening flags (stack protector, fortify, relro, bind now), without debug info.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
cxxflags=${cxxflags//-g /}
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPROGRAM_BUILD_TESTS=OFF -DPROGRAM_BENCH=OFF \
      -DPROGRAM_PCH=OFF -DCMAKE_UNITY_BUILD=ON -DCMAKE_UNITY_BUILD_BATCH_SIZE=16 "${launcher[@]}" \
      -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$dir" -j "${JOBS:-$(nproc)}"
rm -f "$dir"/fieldcom-programmer_*.deb
(cd "$dir" && cpack -G DEB >/dev/null)
deb=$(ls "$dir"/fieldcom-programmer_*.deb)
if [ "${1:-}" != "--no-lintian" ]; then
    echo "-- lintian $deb"
    lintian --fail-on error "$deb"
fi
echo "$deb"
