#!/usr/bin/env bash
# Pictures of the panel pages as a person sees them: the window program under Xvfb, 1280 x 800,
# connected to the emulated panel (two radio sensors and a keyfob enrolled), each page read first.
# Builds nothing. See scripts/README-screenshots.md.
#
#   scripts/screenshot-panel-pages.sh BUILD_DIR [OUTPUT_DIR] [PAGE_ID...]
set -euo pipefail

build=${1:?usage: $0 BUILD_DIR [OUTPUT_DIR] [PAGE_ID...]}
out=${2:-$build/screenshots}
shift $(($# < 2 ? $# : 2))
pages=("$@")
[[ ${#pages[@]} -gt 0 ]] || pages=(16 13 12 1 8 10 17)
source "$(dirname "$0")/screenshot-setup.sh"

"$devsim" --device panel --link "$work/panel" --set z03=0312021 --set z05=0541000 --set b02=0205 \
    >"$work/devsim.out" 2>"$work/devsim.err" &
devsim_pid=$!
wait_for_port "$work/devsim.out" "$work/devsim.err"

mkdir -p "$work/config"
printf '[Connect]\r\nrb1=1\r\nrb2=0\r\nComPort=%s\r\n' "$work/panel" >"$work/config/current.ini"
# The window fills the virtual screen, the size the pages are laid out for.
printf '[Form1]\r\nxForm.Left=0\r\nxForm.Top=0\r\nxForm.Width=1280\r\nxForm.Height=800\r\nxForm.WindowState=0\r\n' \
    >"$work/config/windows.ini"
for page in "${pages[@]}"; do
    NVX_CONFIG_DIR=$work/config NVX_AUTOCONNECT=1 NVX_PAGE=$page NVX_SCREENSHOT=$out/panel-page-$page.png \
        xvfb-run -a -s "-screen 0 1280x800x24" "$program"
    echo "$out/panel-page-$page.png"
done
