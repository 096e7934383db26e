#!/usr/bin/env bash
# Installs what is needed, builds and runs every test (unit, pseudo-terminal and offscreen window tests).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build -j "$(nproc)" --output-on-failure --timeout 300
