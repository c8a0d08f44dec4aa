#!/bin/sh
# Makes the program's own pictures, cursors and start sound (ImageMagick and Python 3). The files are
# committed; run this only to change them.
set -e
cd "$(dirname "$0")"
convert -size 320x180 gradient:'#0b3d91'-'#5fa8d3' -fill white -stroke white -strokewidth 3 \
  -draw 'line 200,10 200,170' -fill '#ffd166' -stroke none -draw 'polygon 40,120 180,112 180,128' \
  -fill white -pointsize 28 -annotate +20+50 'Vantorel' intro.png
convert -size 240x72 xc:white -fill '#0b3d91' -draw 'roundrectangle 2,2 237,69 10,10' \
  -fill white -pointsize 30 -annotate +22+47 'VANTOREL' logo.png
convert -size 32x32 xc:none -stroke black -strokewidth 3 -draw 'line 16,2 16,30 line 2,16 30,16' \
  -stroke white -strokewidth 1 -draw 'line 16,2 16,30 line 2,16 30,16' cross.png
convert -size 32x32 xc:none -fill none -stroke black -strokewidth 3 -draw 'circle 13,13 13,3 line 20,20 30,30' \
  -stroke white -strokewidth 1 -draw 'circle 13,13 13,3 line 20,20 30,30' magnifier.png
python3 - <<'PY'
import math, struct
rate, secs = 8000, 0.15
n = int(rate * secs)
data = bytes(int(128 + 90 * math.sin(2 * math.pi * 880 * i / rate) * (1 - i / n)) for i in range(n))
fmt = struct.pack('<4sIHHIIHH', b'fmt ', 16, 1, 1, rate, rate, 1, 8)
body = b'WAVE' + fmt + struct.pack('<4sI', b'data', len(data)) + data
open('pop.wav', 'wb').write(b'RIFF' + struct.pack('<I', len(body)) + body)
PY
