#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program from build/bin, ready to Read and Write
# without a cable: a virtual radio serves on a pseudo-terminal and COM1 stands for it in this run only
# (Program.ini and the stored port setting are not touched). The virtual radio keeps its memory in
# build/virtual-radio.dat between runs and stops when the program ends.
#
#   VIRTUAL_RADIO=0             start the program alone, on the real ports
#   VIRTUAL_RADIO_ARGS="..."    extra virtual-radio options, e.g. "--pace 9600" or "--fault read-silent:5"
set -euo pipefail
cd "$(dirname "$0")/.."
"$(pwd)/scripts/install-deps.sh"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build -j "$(nproc)"
if [ ! -x build/bin/Program ]; then
    exec build/bin/program-cli --help
fi
if [ "${VIRTUAL_RADIO:-1}" = "0" ]; then
    exec build/bin/Program "$@"
fi

memory=build/virtual-radio.dat
radio_args=(--save "$memory")
[ -f "$memory" ] && radio_args+=(--image "$memory")
# shellcheck disable=SC2206 # the extra options are meant to split into words
radio_args+=(${VIRTUAL_RADIO_ARGS:-})

radio_out=$(mktemp)
radio_pid=
stop_radio() {
    if [ -n "$radio_pid" ]; then
        kill -TERM "$radio_pid" 2>/dev/null || true
        wait "$radio_pid" 2>/dev/null || true
    fi
    rm -f "$radio_out"
}
trap stop_radio EXIT
trap 'exit 130' INT
trap 'exit 143' TERM HUP

build/bin/virtual-radio "${radio_args[@]}" >"$radio_out" &
radio_pid=$!
# The radio names its device on its first line.
device=
for _ in $(seq 100); do
    device=$(head -n 1 "$radio_out")
    [ -n "$device" ] && break
    kill -0 "$radio_pid" 2>/dev/null || break
    sleep 0.05
done
if [ -z "$device" ]; then
    echo "run.sh: the virtual radio did not start; starting the program on the real ports" >&2
    stop_radio
    trap - EXIT
    exec build/bin/Program "$@"
fi

echo "Virtual radio on $device: COM1 in this run (memory kept in $memory)"
status=0
build/bin/Program --virtual-radio "COM1=$device" "$@" || status=$?
# A language change restarts the program with the same option: the radio goes on serving it.
while pgrep -f -- "--virtual-radio COM1=$device" >/dev/null 2>&1; do
    sleep 1
done
exit "$status"
