#!/usr/bin/env bash
# Installs what is needed, builds and starts the program.
#   bash scripts/run.sh          the program, for a sensor on a real port
#   bash scripts/run.sh --demo   first starts the device emulator playing an NVX sensor on a
#                                pseudo-terminal and points the program at it (no hardware needed)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
if [ "${1:-}" != "--demo" ]; then
  exec ./build/app/nvx-config
fi
demo=$(mktemp -d /tmp/nvx-demo.XXXXXX)
./build/tools/devsim/devsim --device sensor --paced --link "$demo/sensor-port" > "$demo/devsim.out" &
sim=$!
trap 'kill $sim 2>/dev/null; wait $sim 2>/dev/null; rm -rf "$demo"' EXIT
for _ in $(seq 50); do [ -e "$demo/sensor-port" ] && break; sleep 0.1; done
printf '[Connect]\r\nComPort=%s\r\nrb1=1\r\nrb2=0\r\n' "$demo/sensor-port" > "$demo/current.ini"
echo "Эмулятор датчика NVX: $demo/sensor-port"
NVX_CONFIG_DIR="$demo" ./build/app/nvx-config
