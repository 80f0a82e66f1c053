#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
stryde_install_deps
stryde_build build
export QT_QPA_PLATFORM=offscreen QT_QUICK_BACKEND=software
cd build
ctest --output-on-failure -j "$(nproc)"
