#!/bin/bash
# Renders the tray icon from its source modules/img/svg/window/logo.svg:
#   modules/img/logo.png  32 x 32
#   modules/img/logo.ico  16, 32 and 48 px images (32-bit BMP entries with an AND mask)
# Needs rsvg-convert (Debian package librsvg2-bin) and python3. Run from anywhere; the outputs are committed.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
src="$root/modules/img/svg/window/logo.svg"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
for s in 16 32 48; do
  rsvg-convert -w "$s" -h "$s" "$src" -o "$tmp/$s.png"
done
cp "$tmp/32.png" "$root/modules/img/logo.png"
python3 - "$tmp" "$root/modules/img/logo.ico" <<'PY'
import struct, sys, zlib

def rgba(path):
    """Decodes an 8-bit RGBA, non-interlaced PNG (what rsvg-convert writes) into rows of bytes."""
    d = open(path, 'rb').read()
    pos, idat = 8, b''
    while pos < len(d):
        n, kind = struct.unpack('>I4s', d[pos:pos + 8])
        body = d[pos + 8:pos + 8 + n]
        if kind == b'IHDR':
            w, h, depth, colour = struct.unpack('>IIBB', body[:10])
            assert depth == 8 and colour == 6, 'expected RGBA'
        elif kind == b'IDAT':
            idat += body
        pos += 12 + n
    raw, stride, rows, prev = zlib.decompress(idat), w * 4, [], bytearray(w * 4)
    for y in range(h):
        f, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for x in range(stride):
            a = line[x - 4] if x >= 4 else 0
            b, c = prev[x], (prev[x - 4] if x >= 4 else 0)
            if f == 1: line[x] = (line[x] + a) & 255
            elif f == 2: line[x] = (line[x] + b) & 255
            elif f == 3: line[x] = (line[x] + (a + b) // 2) & 255
            elif f == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[x] = (line[x] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(bytes(line))
        prev = line
    return w, h, rows

entries = []
for s in (16, 32, 48):
    w, h, rows = rgba(f'{sys.argv[1]}/{s}.png')
    xor = b''.join(bytes(v for x in range(w) for v in (r[4*x+2], r[4*x+1], r[4*x], r[4*x+3]))
                   for r in reversed(rows))
    mask_stride = ((w + 31) // 32) * 4
    mask = b''
    for r in reversed(rows):
        bits = bytearray(mask_stride)
        for x in range(w):
            if r[4 * x + 3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    header = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    entries.append((w, h, header + xor + mask))

out = struct.pack('<HHH', 0, 1, len(entries))
offset = 6 + 16 * len(entries)
for w, h, data in entries:
    out += struct.pack('<BBBBHHII', w % 256, h % 256, 0, 0, 1, 32, len(data), offset)
    offset += len(data)
out += b''.join(data for _, _, data in entries)
open(sys.argv[2], 'wb').write(out)
PY
echo "wrote modules/img/logo.png and modules/img/logo.ico"
