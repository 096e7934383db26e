# Sourced by the screenshot scripts: with `build` and `out` set, checks that the window program and
# the emulator are built and Xvfb is there, makes the output folder and a work folder, and stops
# the emulator whose process id is in `devsim_pid` (and removes the work folder) on exit.
program=$build/app/nvx-config
devsim=$build/tools/devsim/devsim
for file in "$program" "$devsim"; do
    [[ -x $file ]] || { echo "$0: $file is not built" >&2; exit 1; }
done
command -v xvfb-run >/dev/null || { echo "$0: xvfb-run is not installed" >&2; exit 1; }
mkdir -p "$out"

work=$(mktemp -d)
devsim_pid=
cleanup() {
    [[ -n $devsim_pid ]] && kill "$devsim_pid" 2>/dev/null && wait "$devsim_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# wait_for_port OUT ERR: waits until the emulator writing to OUT and ERR names its port.
wait_for_port() {
    for _ in $(seq 100); do
        grep -q '^PORT ' "$1" && return 0
        sleep 0.1
    done
    echo "$0: devsim did not start:" >&2
    cat "$2" >&2
    exit 1
}
