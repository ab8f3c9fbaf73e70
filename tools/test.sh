#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test under a virtual display.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
tools/build.sh
cd build
CI=1 xvfb-run -a -s "-screen 0 1920x1200x24 -noreset" ctest --output-on-failure -j"$(nproc)" "$@"
