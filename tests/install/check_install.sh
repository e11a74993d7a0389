#!/usr/bin/env bash
# Installs the build into a fresh prefix and uses the installed tools from there: the programs find
# Program.ini and the language files in the share folder, and the desktop entry names an installed icon.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

for f in bin/fieldcom-programmer bin/program-cli bin/virtual-radio \
         share/fieldcom-programmer/Program.ini share/fieldcom-programmer/English.qm \
         share/fieldcom-programmer/Chinese.qm share/applications/fieldcom-programmer.desktop \
         share/icons/hicolor/scalable/apps/fieldcom-programmer.svg; do
    [ -e "$prefix/$f" ] || { echo "missing after install: $f"; exit 1; }
done
grep -q '^Icon=fieldcom-programmer$' "$prefix/share/applications/fieldcom-programmer.desktop"
for program in fieldcom-programmer program-cli virtual-radio; do
    "$prefix/bin/$program" --help | grep -q -i usage || { echo "$program --help says no usage"; exit 1; }
done

# The type list comes from the installed Program.ini, so a new file names its type.
cd "$prefix"
"$prefix/bin/program-cli" new radio.dat
"$prefix/bin/program-cli" product radio.dat | grep -q 'QR-260' || { echo "installed program-cli did not read its Program.ini"; exit 1; }
echo "install ok"
