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
program=$build/app/nvx-config
devsim=$build/tools/devsim/devsim
for file in "$program" "$devsim"; do
    [[ -x $file ]] || { echo "$0: $file is not built" >&2; exit 1; }
done
command -v xvfb-run >/dev/null || { echo "$0: xvfb-run is not installed" >&2; exit 1; }
mkdir -p "$out"

work=$(mktemp -d)
panel_pid=
cleanup() {
    [[ -n $panel_pid ]] && kill "$panel_pid" 2>/dev/null && wait "$panel_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

"$devsim" --device panel --link "$work/panel" --set z03=0312021 --set z05=0541000 --set b02=0205 \
    >"$work/devsim.out" 2>"$work/devsim.err" &
panel_pid=$!
for _ in $(seq 100); do
    grep -q '^PORT ' "$work/devsim.out" && break
    sleep 0.1
done
grep -q '^PORT ' "$work/devsim.out" || { echo "$0: devsim did not start:" >&2; cat "$work/devsim.err" >&2; exit 1; }

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
