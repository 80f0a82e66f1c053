#!/usr/bin/env bash
# Installs what is missing, builds, and shows what the device link finds.
# With no catalogued mouse attached it falls back to the virtual mouse.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
stryde_install_deps
stryde_build build
cli=build/bin/stryde-cli
echo "== Catalogued devices =="
"$cli" devices
if ! "$cli" call hid.hidCS '[0,0,0,0,0,0,0]' >/dev/null 2>&1; then
  echo "== No mouse answered; the virtual mouse stands in =="
  "$cli" --virtual-mouse devices
fi
