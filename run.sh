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
found=$("$cli" devices 2>&1 || true)
echo "$found"
if ! grep -q '"handshake":true' <<<"$found"; then
  echo "== No mouse answered; the virtual mouse stands in =="
  "$cli" --virtual-mouse devices
fi
