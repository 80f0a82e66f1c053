#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless.
#
#   ./test.sh             builds in build/ (warnings are errors) and runs every test,
#                         then checks the Windows sources with MinGW-w64
#                         (scripts/check_windows.sh) and builds the fuzzers in
#                         build-fuzz/ and runs each for a few seconds
#                         (scripts/fuzz.sh)
#   ./test.sh --sanitize  builds in build-asan/ and runs every test under
#                         AddressSanitizer and UndefinedBehaviorSanitizer, then
#                         builds the threaded tests in build-tsan/ and runs them
#                         under ThreadSanitizer
set -euo pipefail
cd "$(dirname "$0")"
sanitize=false
case "${1:-}" in
  "") ;;
  --sanitize) sanitize=true ;;
  *) echo "usage: ./test.sh [--sanitize]" >&2; exit 2 ;;
esac
source scripts/deps.sh
stryde_install_deps
export QT_QPA_PLATFORM=offscreen QT_QUICK_BACKEND=software

if ! $sanitize; then
  stryde_build build -DSTRYDE_WERROR=ON
  (cd build && ctest --output-on-failure -j "$(nproc)")
  scripts/check_windows.sh
  scripts/fuzz.sh 3
  exit 0
fi

# Any finding fails the test that made it.
export ASAN_OPTIONS="detect_leaks=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# QProcess starts programs with vfork(): the thread checker takes the
# parent for the forked child and would stop it at its next thread.
export TSAN_OPTIONS="suppressions=$PWD/tests/tsan.supp:halt_on_error=1:second_deadlock_stack=1:die_after_fork=0"

stryde_build build-asan -DCMAKE_BUILD_TYPE=Debug -DSTRYDE_SANITIZE=address -DSTRYDE_BUILD_BENCH=OFF
(cd build-asan && ctest --output-on-failure -j "$(nproc)")

cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DSTRYDE_SANITIZE=thread -DSTRYDE_BUILD_BENCH=OFF >/dev/null
cmake --build build-tsan --target stryde_threaded_tests -j "$(nproc)"
cd build-tsan
ctest --output-on-failure -L threaded -j "$(nproc)"
