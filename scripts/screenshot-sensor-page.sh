#!/usr/bin/env bash
# Pictures of the motion-sensor page as a person sees it: the window program under Xvfb, connected to
# the emulated sensor on a pseudo-terminal, once with pet immunity off and once with it on.
# Builds nothing. See scripts/README-screenshots.md.
#
#   scripts/screenshot-sensor-page.sh BUILD_DIR [OUTPUT_DIR]
set -euo pipefail

build=${1:?usage: $0 BUILD_DIR [OUTPUT_DIR]}
out=${2:-$build/screenshots}
source "$(dirname "$0")/screenshot-setup.sh"

# shot NAME [DEVSIM OPTION...]: one picture of the page with the sensor started with those options.
shot() {
    local name=$1
    shift
    local run=$work/$name
    mkdir -p "$run/config"
    "$devsim" --device sensor --link "$run/sensor" "$@" >"$run/devsim.out" 2>"$run/devsim.err" &
    devsim_pid=$!
    wait_for_port "$run/devsim.out" "$run/devsim.err"

    # The connection dialog's values come from current.ini: the cable on the emulator's port.
    printf '[Connect]\r\nrb1=1\r\nrb2=0\r\nComPort=%s\r\n' "$run/sensor" >"$run/config/current.ini"
    NVX_CONFIG_DIR=$run/config NVX_AUTOCONNECT=1 NVX_SCREENSHOT=$out/$name.png \
        xvfb-run -a -s "-screen 0 1280x800x24" "$program"
    echo "$out/$name.png"

    kill "$devsim_pid"
    wait "$devsim_pid" 2>/dev/null || true
    devsim_pid=
}

shot sensor-page-pet-immunity-off
shot sensor-page-pet-immunity-on --pet-immune
