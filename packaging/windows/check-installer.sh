#!/usr/bin/env bash
# The installer, installed silently under Wine (/S): the programs and what they need land in the
# folder, the Start menu has its entry, .dat files are offered to the program, and the installed
# program-cli.exe makes a new data file identical to the Linux one. Then it uninstalls cleanly.
#   check-installer.sh INSTALLER.exe LINUX_BIN
set -euo pipefail
installer=$1
linux=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
folder=$WINEPREFIX/drive_c/FieldcomTest

rm -rf "$folder"
# NSIS takes the folder as the last argument, /D=, unquoted.
wine "$installer" /S '/D=C:\FieldcomTest'
for f in bin/fieldcom-programmer.exe bin/program-cli.exe bin/Qt6Core.dll bin/Qt6Widgets.dll bin/libstdc++-6.dll \
         bin/libwinpthread-1.dll bin/platforms/qwindows.dll bin/Program.ini bin/English.qm bin/Chinese.qm \
         doc/README.md Uninstall.exe; do
    [ -e "$folder/$f" ] || { echo "missing after install: $f"; exit 1; }
done
find "$WINEPREFIX/drive_c" -path '*Start Menu*' -name 'Fieldcom Programmer.lnk' | grep -q . \
    || { echo "no Start menu entry"; exit 1; }
wine reg query 'HKCR\FieldcomProgrammer.DataFile\shell\open\command' /ve 2>/dev/null | grep -qi 'fieldcom-programmer.exe' \
    || { echo ".dat files are not offered to the program"; exit 1; }

cd "$work"
QT_QPA_PLATFORM=offscreen wine "$folder/bin/program-cli.exe" new windows.dat >/dev/null
"$linux/program-cli" new linux.dat >/dev/null
cmp linux.dat windows.dat || { echo "the installed program-cli.exe made another new file than Linux"; exit 1; }

# The uninstaller runs on from a copy of itself: wait for the programs to go.
wine "$folder/Uninstall.exe" /S
for _ in $(seq 100); do
    [ -e "$folder/bin/program-cli.exe" ] || break
    sleep 0.3
done
[ ! -e "$folder/bin/program-cli.exe" ] || { echo "the uninstaller left the programs"; exit 1; }
echo "installer ok: installed, a new file the same as on Linux, uninstalled"
