#!/usr/bin/env bash
# Makes the Debian package from a Release build of the programs alone (no tests) in build-package/,
# and checks it with lintian, failing on errors. Prints the package's path on its last line:
# build-package/fieldcom-programmer_VERSION_ARCH.deb. PACKAGE_BUILD_DIR picks another folder;
# --no-lintian skips the check. PACKAGE_WITH_TESTS=1 also builds the tests and runs them before
# packing, so the suite checks the very binaries that are shipped (the CI does this).
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${PACKAGE_BUILD_DIR:-build-package}

# The distribution's hardening flags (stack protector, fortify, relro, bind now), without debug info.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
cxxflags=${cxxflags//-g /}
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
tests=OFF
[ "${PACKAGE_WITH_TESTS:-0}" = 1 ] && tests=ON
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPROGRAM_BUILD_TESTS=$tests -DPROGRAM_BENCH=OFF \
      "${launcher[@]}" -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$dir" -j "${JOBS:-$(nproc)}"
if [ $tests = ON ]; then
    ctest --test-dir "$dir" --output-on-failure -j "${JOBS:-$(nproc)}"
fi
rm -f "$dir"/fieldcom-programmer_*.deb
(cd "$dir" && cpack -G DEB >/dev/null)
deb=$(ls "$dir"/fieldcom-programmer_*.deb)
if [ "${1:-}" != "--no-lintian" ]; then
    echo "-- lintian $deb"
    lintian --fail-on error "$deb"
fi
echo "$deb"
