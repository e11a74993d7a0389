#!/usr/bin/env bash
# Installs the build into a fresh prefix and uses the installed tools from there: the programs find
# Program.ini and the language files in the share folder, the desktop entry names an installed icon
# and the data file type, and everything a desktop and a Debian package need is in its place.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

for f in bin/fieldcom-programmer bin/program-cli bin/virtual-radio \
         share/fieldcom-programmer/Program.ini share/fieldcom-programmer/English.qm \
         share/fieldcom-programmer/Chinese.qm share/applications/fieldcom-programmer.desktop \
         share/icons/hicolor/scalable/apps/fieldcom-programmer.svg \
         share/icons/hicolor/16x16/apps/fieldcom-programmer.png \
         share/icons/hicolor/48x48/apps/fieldcom-programmer.png \
         share/icons/hicolor/256x256/apps/fieldcom-programmer.png \
         share/mime/packages/fieldcom-programmer.xml share/metainfo/org.fieldcom.programmer.metainfo.xml \
         share/man/man1/fieldcom-programmer.1.gz share/man/man1/program-cli.1.gz \
         share/man/man1/virtual-radio.1.gz share/doc/fieldcom-programmer/README.md \
         share/doc/fieldcom-programmer/copyright share/doc/fieldcom-programmer/changelog.gz; do
    [ -e "$prefix/$f" ] || { echo "missing after install: $f"; exit 1; }
done
desktop=$prefix/share/applications/fieldcom-programmer.desktop
grep -q '^Icon=fieldcom-programmer$' "$desktop"
grep -q '^MimeType=application/x-fieldcom-radio-data;$' "$desktop" || { echo "desktop entry names no data file type"; exit 1; }
grep -q '^Exec=fieldcom-programmer %f$' "$desktop" || { echo "desktop entry does not pass the file"; exit 1; }
# Every PNG is the size its folder says (desktops and lintian both insist).
for png in "$prefix"/share/icons/hicolor/*x*/apps/fieldcom-programmer.png; do
    size=$(basename "$(dirname "$(dirname "$png")")")
    got=$(od -An -tu1 -j16 -N8 "$png" | awk '{ print $3*256+$4 "x" $7*256+$8 }')
    [ "$got" = "$size" ] || { echo "$png is $got"; exit 1; }
done
for program in fieldcom-programmer program-cli virtual-radio; do
    "$prefix/bin/$program" --help | grep -q -i usage || { echo "$program --help says no usage"; exit 1; }
    zcat "$prefix/share/man/man1/$program.1.gz" | grep -q "^\.TH" || { echo "no manual page for $program"; exit 1; }
done
help=$("$prefix/bin/fieldcom-programmer" --help)
grep -q '^Usage: fieldcom-programmer ' <<<"$help" || { echo "--help does not name the installed program"; exit 1; }
grep -q '\.config/fieldcom-programmer' <<<"$help" || { echo "--help does not say where settings live"; exit 1; }

# The data file type: a .dat file that starts with Q707 is ours, any other .dat file is not.
if command -v update-mime-database >/dev/null && command -v gio >/dev/null; then
    update-mime-database "$prefix/share/mime" >/dev/null
    printf 'Q707\0\0\0\0\0\0\0\0\0\0\0\0' >"$prefix/radio.dat"
    printf 'Some other program\n' >"$prefix/other.dat"
    type_of() { XDG_DATA_DIRS="$prefix/share:/usr/share" XDG_DATA_HOME="$prefix/none" gio info -a standard::content-type "$1" | sed -n 's/.*content-type: //p'; }
    [ "$(type_of "$prefix/radio.dat")" = application/x-fieldcom-radio-data ] || { echo "radio.dat is $(type_of "$prefix/radio.dat")"; exit 1; }
    [ "$(type_of "$prefix/other.dat")" != application/x-fieldcom-radio-data ] || { echo "other.dat was claimed"; exit 1; }
fi
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" | { grep -v ' hint: ' || true; } | grep . && { echo "desktop entry not valid"; exit 1; }
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$prefix/share/metainfo/org.fieldcom.programmer.metainfo.xml" >/dev/null \
        || { echo "metainfo not valid"; exit 1; }
fi

# The type list comes from the installed Program.ini, so a new file names its type.
cd "$prefix"
"$prefix/bin/program-cli" new radio.dat
"$prefix/bin/program-cli" product radio.dat | grep -q 'QR-260' || { echo "installed program-cli did not read its Program.ini"; exit 1; }

# The installed programs talk to each other over a serial line: what is written into the virtual radio
# is read back from it (channels and options; the calibration areas Write leaves alone stay the radio's).
"$prefix/bin/program-cli" set radio.dat 1 rx=146.52 >/dev/null
coproc radio { exec "$prefix/bin/virtual-radio"; }
trap 'kill $radio_PID 2>/dev/null; rm -rf "$prefix"' EXIT
read -r -t 10 device <&"${radio[0]}" || { echo "virtual-radio named no device"; exit 1; }
"$prefix/bin/program-cli" write --port "$device" radio.dat >/dev/null
"$prefix/bin/program-cli" read --port "$device" -o back.dat >/dev/null
[ "$("$prefix/bin/program-cli" show radio.dat)" = "$("$prefix/bin/program-cli" show back.dat)" ] \
    || { echo "the radio gave back other channels"; exit 1; }
echo "install ok"
