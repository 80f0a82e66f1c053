#!/usr/bin/env bash
# Builds the program, the floor and the store benchmark in Release in
# build-bench/ and prints one table of every figure, each with its goal.
# The window runs offscreen with Qt Quick's software renderer, as in the
# tests. About five minutes, most of it the idle minute and the page
# operations; the first build takes a few minutes more.
#
#   bench/run.sh [--runs N]     N runs of each timed figure (default 5); medians
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
stryde_install_deps
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DSTRYDE_BUILD_BENCH=ON -DSTRYDE_BENCH_PROBE=ON >/dev/null
cmake --build build-bench -j "$(nproc)" --target stryde stryde_floor bench_store_startup
export QT_QPA_PLATFORM=offscreen QT_QUICK_BACKEND=software
exec python3 bench/run.py build-bench "$@"
