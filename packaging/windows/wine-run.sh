#!/usr/bin/env bash
# Runs a Windows program of the cross build under Wine: wine-run.sh BIN_DIR PROGRAM.exe [ARG]...
# The build's emulator (CMAKE_CROSSCOMPILING_EMULATOR) for the tests and the icon drawing. Wine keeps
# its files in WINEPREFIX (default: a folder of the cache, never ~/.wine), stays quiet and opens no
# window; the Qt and MinGW libraries are found in BIN_DIR, Qt's plugins there too.
set -euo pipefail
bin_dir=$1
shift
export WINEPREFIX=${WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/fieldcom-programmer/wine}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export WINEPATH="$(winepath -w "$bin_dir" 2>/dev/null || echo "$bin_dir")"
export QT_PLUGIN_PATH=$WINEPATH
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
unset DISPLAY WAYLAND_DISPLAY
exec wine "$@"
