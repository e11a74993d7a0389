#!/usr/bin/env bash
# The link of the Windows program-cli.exe with a radio, checked under Wine against the Linux virtual
# radio: Wine's COM5 ($WINEPREFIX/dosdevices/com5) leads to the radio's pseudo-terminal. A write with
# verify and a read back run once from Linux and once from Windows; what each radio received, what it
# holds afterwards and the file read back must be the same bytes.
#   check-link.sh LINUX_BIN WINDOWS_BIN WINE_RUN
set -euo pipefail
linux=$1
windows=$2
wine_run=$3
work=$(mktemp -d)
radio_pid=
cleanup() {
    [ -n "$radio_pid" ] && kill "$radio_pid" 2>/dev/null
    rm -f "$WINEPREFIX/dosdevices/com5"
    rm -rf "$work"
}
trap cleanup EXIT
cd "$work"

# A file with changes of its own, so the write carries more than factory memory.
"$linux/program-cli" new radio.dat >/dev/null
"$linux/program-cli" set radio.dat 1 rx=146.52 >/dev/null
"$linux/program-cli" set radio.dat 2 rx=145.5 >/dev/null

# start_radio SIDE [--link PATH]: a virtual radio that keeps what it received and its memory.
start_radio() {
    local side=$1
    shift
    coproc radio { exec "$linux/virtual-radio" --save "$work/$side-memory.dat" --record "$work/$side-received.bin" "$@"; }
    radio_pid=$radio_PID
    read -r -t 20 device <&"${radio[0]}" || { echo "virtual-radio named no device"; exit 1; }
}
stop_radio() {
    kill -TERM "$radio_pid"
    wait "$radio_pid" || true
    radio_pid=
}

echo "-- Linux: write --verify and read"
start_radio linux
"$linux/program-cli" write --verify --port "$device" radio.dat >linux-write.txt
"$linux/program-cli" read --port "$device" -o linux-back.dat >linux-read.txt
stop_radio

echo "-- Windows under Wine: write --verify and read on COM5"
mkdir -p "$WINEPREFIX/dosdevices"
rm -f "$WINEPREFIX/dosdevices/com5"
start_radio windows --link "$WINEPREFIX/dosdevices/com5"
echo "   ports Windows reports: $("$wine_run" "$windows" "$windows/program-cli.exe" ports | tr '\r\n' '  ')"
"$wine_run" "$windows" "$windows/program-cli.exe" write --verify --port COM5 radio.dat >windows-write.txt
"$wine_run" "$windows" "$windows/program-cli.exe" read --port COM5 -o windows-back.dat >windows-read.txt
stop_radio

status=0
for pair in received.bin memory.dat; do
    cmp "linux-$pair" "windows-$pair" || { echo "the radio's $pair differs between Linux and Windows"; status=1; }
done
cmp linux-back.dat windows-back.dat || { echo "the file read back differs between Linux and Windows"; status=1; }
[ $status = 0 ] && echo "link ok: $(stat -c %s linux-received.bin) bytes sent, the same from Linux and from Windows"
exit $status
