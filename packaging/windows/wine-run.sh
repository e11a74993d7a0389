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
# Wine's drive Z: is the Linux root.
export WINEPATH="Z:${bin_dir//\//\\}"
export QT_PLUGIN_PATH=$WINEPATH
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
# Wine draws (invisibly) on the X display the caller gives, a virtual one in scripts/windows.sh: even a
# program without windows needs one for the hidden window Qt's event loop uses.
exec wine "$@"
