#!/usr/bin/env bash
# Makes a data folder for a 560-family mouse from an installed one.
#
#   scripts/make_560_data.sh SRC_DIR DST_DIR
#
# SRC_DIR and DST_DIR are folders that hold modules/ (the folder next to the
# executables). Everything is copied as it is; only mouse/icType becomes 560
# in the copy's global settings and in its factory copy, so a reset of the
# global settings keeps the 560 command family.
set -euo pipefail

usage() {
  echo "usage: $0 SRC_DIR DST_DIR" >&2
  exit 2
}

[ $# -eq 2 ] || usage
src=$1
dst=$2
if [ ! -d "$src/modules/setting" ]; then
  echo "$0: $src holds no modules/setting folder" >&2
  exit 1
fi
if [ -e "$dst" ] && [ "$(cd "$src" && pwd -P)" = "$(cd "$dst" && pwd -P)" ]; then
  echo "$0: source and destination are the same folder" >&2
  exit 1
fi

mkdir -p "$dst"
# Only the data: the folder may also hold the executables.
cp -R "$src/modules" "$dst/"

# Sets icType=560 in the [mouse] section of one INI file: replaces the key
# where it is, adds it right under the section header when the key is
# missing, and adds the section when the file has none. Other lines stay
# byte for byte, and so do the file's permissions.
set_ic_type() {
  local file=$1 tmp has_key
  [ -f "$file" ] || return 0
  has_key=$(awk '
    /^[[:space:]]*\[/ { inMouse = ($0 ~ /^[[:space:]]*\[mouse\][[:space:]]*\r?$/); next }
    inMouse && /^[[:space:]]*icType[[:space:]]*=/ { found = 1 }
    END { print found ? 1 : 0 }
  ' "$file")
  tmp=$(mktemp "$file.XXXXXX")
  awk -v hasKey="$has_key" '
    /^[[:space:]]*\[/ {
      inMouse = ($0 ~ /^[[:space:]]*\[mouse\][[:space:]]*\r?$/)
      print
      if (inMouse && !hasKey && !done) {
        print "icType=560" (($0 ~ /\r$/) ? "\r" : ""); done = 1
      }
      next
    }
    inMouse && /^[[:space:]]*icType[[:space:]]*=/ {
      print "icType=560" (($0 ~ /\r$/) ? "\r" : ""); done = 1; next
    }
    { print }
    END { if (!done) printf "\n[mouse]\nicType=560\n" }
  ' "$file" > "$tmp"
  cat "$tmp" > "$file"
  rm -f "$tmp"
}

set_ic_type "$dst/modules/setting/apConfig.bin"
set_ic_type "$dst/modules/setting/apConfigD.bin"
