#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program. With no
# catalogued mouse attached it uses the virtual mouse; on a machine without a
# display it runs under Xvfb and saves a screenshot to screenshot.png.
#
#   ./run.sh [--family 553|560]
set -euo pipefail
cd "$(dirname "$0")"
family=""
while [ $# -gt 0 ]; do
  case "$1" in
    --family) family=${2:-}; shift 2 ;;
    *) echo "usage: ./run.sh [--family 553|560]" >&2; exit 2 ;;
  esac
done
case "$family" in ""|553|560) ;; *) echo "--family takes 553 or 560" >&2; exit 2 ;; esac

source scripts/deps.sh
stryde_install_deps
stryde_build build

bin=build/bin
data=$bin
if [ "$family" = "560" ]; then
  # A data folder of its own for a 560-family mouse, made once and then kept.
  data=build/data-560
  [ -d "$data/modules" ] || scripts/make_560_data.sh "$bin" "$data"
fi

args=(--data-dir "$(cd "$data" && pwd)")
if "$bin/stryde-cli" --data-dir "$data" devices 2>/dev/null | grep -q '"handshake":true'; then
  echo "A KORVEX STRYDE mouse answered."
else
  echo "No mouse answered; the virtual mouse stands in (tray menu: Press DPI button, Unplug, Plug in)."
  args+=(--virtual-mouse)
  [ -n "$family" ] && args+=(--family "$family")
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: running under Xvfb."
  rm -f screenshot.png
  QT_QUICK_BACKEND=software xvfb-run -a -s "-screen 0 1280x800x24" \
    "$bin/stryde" "${args[@]}" --screenshot "$PWD/screenshot.png" --quit-after-screenshot
  if [ -f screenshot.png ]; then
    echo "Screenshot of the window saved to $PWD/screenshot.png"
  else
    echo "No screenshot was taken." >&2
    exit 1
  fi
else
  exec "$bin/stryde" "${args[@]}"
fi
