#!/usr/bin/env bash
# Pictures of the motion-sensor page as a person sees it: the window program under Xvfb, connected to
# the emulated sensor on a pseudo-terminal, once with pet immunity off and once with it on.
# Builds nothing. See scripts/README-screenshots.md.
#
#   scripts/screenshot-sensor-page.sh BUILD_DIR [OUTPUT_DIR]
set -euo pipefail

build=${1:?usage: $0 BUILD_DIR [OUTPUT_DIR]}
out=${2:-$build/screenshots}
program=$build/app/nvx-config
devsim=$build/tools/devsim/devsim
for file in "$program" "$devsim"; do
    [[ -x $file ]] || { echo "$0: $file is not built" >&2; exit 1; }
done
command -v xvfb-run >/dev/null || { echo "$0: xvfb-run is not installed" >&2; exit 1; }
mkdir -p "$out"

work=$(mktemp -d)
sensor_pid=
cleanup() {
    [[ -n $sensor_pid ]] && kill "$sensor_pid" 2>/dev/null && wait "$sensor_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# shot NAME [DEVSIM OPTION...]: one picture of the page with the sensor started with those options.
shot() {
    local name=$1
    shift
    local run=$work/$name
    mkdir -p "$run/config"
    "$devsim" --device sensor --link "$run/sensor" "$@" >"$run/devsim.out" 2>"$run/devsim.err" &
    sensor_pid=$!
    for _ in $(seq 100); do
        grep -q '^PORT ' "$run/devsim.out" && break
        sleep 0.1
    done
    grep -q '^PORT ' "$run/devsim.out" || { echo "$0: devsim did not start:" >&2; cat "$run/devsim.err" >&2; exit 1; }

    # The connection dialog's values come from current.ini: the cable on the emulator's port.
    printf '[Connect]\r\nrb1=1\r\nrb2=0\r\nComPort=%s\r\n' "$run/sensor" >"$run/config/current.ini"
    NVX_CONFIG_DIR=$run/config NVX_AUTOCONNECT=1 NVX_SCREENSHOT=$out/$name.png \
        xvfb-run -a -s "-screen 0 1280x800x24" "$program"
    echo "$out/$name.png"

    kill "$sensor_pid"
    wait "$sensor_pid" 2>/dev/null || true
    sensor_pid=
}

shot sensor-page-pet-immunity-off
shot sensor-page-pet-immunity-on --pet-immune
