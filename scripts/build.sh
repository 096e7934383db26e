#!/usr/bin/env bash
# Configures and builds everything into ./build (Release with debug information, warnings as errors).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DNVX_WERROR=ON
cmake --build build -j "$(nproc)"
