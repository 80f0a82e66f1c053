#!/usr/bin/env bash
# Builds the threaded tests with ThreadSanitizer and runs them headless.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
stryde_install_deps
cmake -S . -B build-tsan -G Ninja -DSTRYDE_TSAN=ON >/dev/null
cmake --build build-tsan --target device_tst_listener app_tst_app device_tst_virtual_mouse -j "$(nproc)"
export QT_QPA_PLATFORM=offscreen QT_QUICK_BACKEND=software
export TSAN_OPTIONS="suppressions=$PWD/tests/tsan.supp halt_on_error=0 exitcode=66"
status=0
for t in device_tst_listener device_tst_virtual_mouse app_tst_app; do
  echo "== $t"
  build-tsan/tests/$t >"build-tsan/$t.log" 2>&1 || status=$?
  grep -E "^Totals|ThreadSanitizer: reported" "build-tsan/$t.log" || true
done
exit $status
