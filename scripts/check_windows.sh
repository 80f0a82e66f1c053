#!/usr/bin/env bash
# The Windows code, checked on Linux: every Windows-only source of the
# program (the *_win.cpp files and every file with a Q_OS_WIN block) is
# compiled with MinGW-w64 against the system's Qt 6 headers, syntax only and
# with warnings as errors. Under that compiler the Qt headers define Q_OS_WIN
# and the real windows.h comes in, so wrong Win32 types and signatures Qt 6
# no longer has are caught. The resource script (icon, manifest) goes through
# windres. Nothing is linked and nothing runs.
set -euo pipefail
cd "$(dirname "$0")/.."
cxx=x86_64-w64-mingw32-g++-posix
qt="$(pkg-config --variable=includedir Qt6Core)"
flags=(-std=c++17 -fsyntax-only -Wall -Wextra -Werror -DUNICODE -D_UNICODE -I.)
# Qt's own headers are the system's: their warnings under MinGW are not ours.
for m in "" QtCore QtGui QtWidgets QtNetwork QtQml QtQuick QtQuickWidgets QtConcurrent; do
  flags+=(-isystem "$qt/$m")
done

folders=(app device store features input cli)
mapfile -t sources < <( { find "${folders[@]}" -name '*_win.cpp'; grep -rl --include='*.cpp' 'Q_OS_WIN' "${folders[@]}"; } | sort -u)
echo "Windows syntax check: ${#sources[@]} sources"
printf '%s\n' "${sources[@]}" | xargs -P "$(nproc)" -I{} sh -c 'echo "  {}"; "$0" "$@" {}' "$cxx" "${flags[@]}"

out="$(mktemp)"
trap 'rm -f "$out"' EXIT
x86_64-w64-mingw32-windres -DSTRYDE_RC_MANIFEST app/stryde.rc -O coff -o "$out"
echo "  app/stryde.rc"
# Windows refuses to start a program whose manifest is not well-formed XML.
xmllint --noout app/stryde.manifest
grep -q 'requestedExecutionLevel level="asInvoker"' app/stryde.manifest
echo "  app/stryde.manifest"
