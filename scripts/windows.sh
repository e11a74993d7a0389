#!/usr/bin/env bash
# The Windows build, made on this Debian machine: installs what it needs, builds Qt for 64-bit Windows
# once with MinGW-w64 (kept per Qt version in ~/.cache/fieldcom-programmer/), cross-builds the programs
# into build-windows/, runs the tests under Wine against the Linux virtual radio, and makes the installer
# build-windows/fieldcom-programmer-VERSION-win64.exe and a zip of the same.
#
#   scripts/windows.sh            everything
#   scripts/windows.sh --qt-only  only the cross Qt (the slow first stage), then stop
#
# The first run on a machine pays for Qt's build (tens of minutes on two cores); every later run reuses
# the cache. JOBS sets the build's parallelism (default: every processor); the Qt build runs at the
# lowest priority so that other work on the machine goes first.
set -euo pipefail
shopt -s nullglob
cd "$(dirname "$0")/.."
root=$(pwd)
jobs=${JOBS:-$(nproc)}
stage() { echo "== $* (at ${SECONDS} s)"; }

qt_only=0
for arg in "$@"; do
    case $arg in
        --qt-only) qt_only=1 ;;
        *) echo "usage: scripts/windows.sh [--qt-only]" >&2; exit 2 ;;
    esac
done

triple=x86_64-w64-mingw32
toolchain=$root/packaging/windows/mingw-w64-x86_64.cmake
host_cmake_dir=/usr/lib/x86_64-linux-gnu/cmake

stage "packages for the cross build, Wine and the installer"
"$root/scripts/install-deps.sh"
packages=(g++-mingw-w64-x86-64-posix wine wine64 nsis dpkg-dev perl zip)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# The installer NSIS makes is a 32-bit program, which the 64-bit Wine alone cannot start.
dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "install ok installed" || missing+=(wine32:i386)
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    if [[ " ${missing[*]} " == *" wine32:i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
        $sudo dpkg --add-architecture i386
        $sudo apt-get update
    fi
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get install -y --no-install-recommends "${missing[@]}" || {
        $sudo apt-get update
        $sudo apt-get install -y --no-install-recommends "${missing[@]}"
    }
fi

# The cross Qt is Debian's own Qt source, the same version as the installed Qt whose moc, rcc and uic
# it uses, built once per version.
qt_version=$(dpkg-query -W -f='${Version}' libqt6core6 | sed 's/[+~-].*//')
cache=${XDG_CACHE_HOME:-$HOME/.cache}/fieldcom-programmer
qt_prefix=$cache/qt-$qt_version-mingw
qt_work=$cache/qt-$qt_version-mingw-work

fetch_qt_source() {
    # A private apt configuration with deb-src entries made from this machine's own apt sources, so
    # the system's configuration stays as it is and no server name is written down here.
    local apt_dir=$qt_work/apt
    rm -rf "$apt_dir"
    mkdir -p "$apt_dir/parts" "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
    for f in /etc/apt/sources.list.d/*.sources; do
        sed 's/^Types:.*/Types: deb-src/' "$f" >"$apt_dir/parts/$(basename "$f")"
    done
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -f "$f" ] && sed -n 's/^deb \(.*\)/deb-src \1/p' "$f" >"$apt_dir/parts/$(basename "$f").list"
    done
    local apt_opts=(-o "Dir::Etc::SourceList=/dev/null" -o "Dir::Etc::SourceParts=$apt_dir/parts"
                    -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache")
    apt-get "${apt_opts[@]}" -q update
    local version
    version=$(dpkg-query -W -f='${Version}' libqt6core6)
    mkdir -p "$qt_work/src"
    (cd "$qt_work/src" && { apt-get "${apt_opts[@]}" -q source "qt6-base=$version" ||
                            apt-get "${apt_opts[@]}" -q source qt6-base; })
}

build_qt() {
    local src
    src=$(echo "$qt_work"/src/qt6-base-*/)
    if [ -z "$src" ] || [ ! -x "$src/configure" ]; then
        fetch_qt_source
        src=$(echo "$qt_work"/src/qt6-base-*/)
    fi
    local build=$qt_work/build
    rm -rf "$build" "$qt_prefix"
    mkdir -p "$build"
    # Left out: what the programs do not use (SQL, network, OpenGL, D-Bus) and tablet input, whose
    # header (wintab.h) Debian's source does not carry. Kept: Widgets, PrintSupport and Test.
    (cd "$build" && "$src/configure" -prefix "$qt_prefix" -release -xplatform win32-g++ -qt-host-path /usr \
        -nomake examples -nomake tests -no-opengl -no-dbus -no-feature-sql -no-feature-network \
        -no-feature-tabletevent -no-feature-concurrent -no-feature-xml -qt-zlib -qt-pcre -qt-libpng \
        -qt-libjpeg -qt-harfbuzz -qt-freetype -no-icu \
        -- -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DQT_HOST_PATH_CMAKE_DIR="$host_cmake_dir")
    nice -n 19 cmake --build "$build" -j "$jobs"
    cmake --install "$build"
    touch "$qt_prefix/.complete"
    rm -rf "$build"
}

if [ -f "$qt_prefix/.complete" ]; then
    stage "cross Qt $qt_version for Windows: from the cache ($qt_prefix)"
else
    stage "cross Qt $qt_version for Windows: building once into $qt_prefix"
    build_qt
fi
[ $qt_only = 1 ] && { stage "done (Qt only)"; exit 0; }

build=build-windows
wine_run=$root/packaging/windows/wine-run.sh
export WINEPREFIX=${WINEPREFIX:-$cache/wine}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

stage "Wine prefix ($WINEPREFIX) on a virtual display"
# Even a Qt program without windows needs a display under Wine (its event loop has a hidden window):
# a virtual X display for the whole run, nothing shown anywhere. One Wine server for the whole run,
# started apart from every output, so no pipe stays open behind a finished program.
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
mkdir -p "$WINEPREFIX"
wineserver -p >/dev/null 2>&1 </dev/null || true # one may be running already
trap 'wineserver -k >/dev/null 2>&1 || true; kill $xvfb 2>/dev/null || true' EXIT
wineboot --init >/dev/null 2>&1 </dev/null || true

stage "cross build of the programs into $build/"
# The cross Qt's own qt-cmake, chained to this checkout's toolchain file; Qt's host tools (moc, rcc,
# uic, lrelease) come from the installed Qt. Programs and tests that need to run during the build (the
# icon drawing) and ctest run under Wine.
"$qt_prefix/bin/qt-cmake" -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPROGRAM_BENCH=OFF \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$toolchain" -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="$host_cmake_dir" \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$wine_run;$root/$build/bin" >/dev/null
cmake --build "$build" -j "$jobs"

stage "tests under Wine (offscreen)"
# One at a time: the tests share the Wine prefix's registry and user folders.
ctest --test-dir "$build" --output-on-failure -j 1 --timeout 120

stage "the link under Wine: program-cli.exe and the Linux virtual radio on COM5"
# The Linux tools the link check compares with: LINUX_BIN (a Linux build's bin folder of this checkout),
# else built once beside the cross build.
linux_bin=${LINUX_BIN:-}
if [ -z "$linux_bin" ]; then
    cmake -S . -B "$build/linux" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPROGRAM_BUILD_GUI=OFF \
        -DPROGRAM_BUILD_TESTS=OFF -DPROGRAM_BENCH=OFF >/dev/null
    cmake --build "$build/linux" -j "$jobs" --target virtual-radio program-cli
    linux_bin=$root/$build/linux/bin
fi
"$root/packaging/windows/check-link.sh" "$linux_bin" "$root/$build/bin" "$wine_run"

stage "installer and zip"
(cd "$build" && cpack -G "NSIS;ZIP" >/dev/null)
installer=$build/fieldcom-programmer-$(sed -n 's/^project(RadioProgrammer VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)-win64.exe
[ -f "$installer" ] || { echo "no installer at $installer"; exit 1; }
ls -l "$installer" "${installer%.exe}.zip"

stage "the installer, installed silently under Wine"
"$root/packaging/windows/check-installer.sh" "$root/$installer" "$linux_bin"
stage "done"
