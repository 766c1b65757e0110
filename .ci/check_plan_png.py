#!/usr/bin/env python3
"""Checks the PNG renderings of airport plans: each picture has the size that its SVG gives
(width and height attributes) and pixels drawn beyond the background colour.

Usage: check_plan_png.py FILE.png... (each beside FILE.svg). Reads PNG with the standard library
alone (zlib, struct). Prints one line per picture and 'N passed, N failed' at the end."""
import re
import struct
import sys
import zlib
from concurrent.futures import ProcessPoolExecutor


def read_png(path):
    """Width, height, bytes per pixel and the unfiltered rows of an 8-bit RGB or RGBA PNG."""
    data = open(path, 'rb').read()
    if data[:8] != b'\x89PNG\r\n\x1a\n':
        raise ValueError('not a PNG file')
    at, idat, header = 8, [], None
    while at < len(data):
        length, kind = struct.unpack('>I4s', data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b'IHDR':
            header = struct.unpack('>IIBBBBB', body)
        elif kind == b'IDAT':
            idat.append(body)
        at += 12 + length
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace != 0:
        raise ValueError('unexpected PNG form: depth %d colour %d interlace %d'
                         % (depth, colour, interlace))
    bpp = 3 if colour == 2 else 4
    raw = zlib.decompress(b''.join(idat))
    stride = width * bpp
    rows, prior = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        if kind == 1:
            for i in range(bpp, stride):
                line[i] = (line[i] + line[i - bpp]) & 255
        elif kind == 2:
            for i in range(stride):
                line[i] = (line[i] + prior[i]) & 255
        elif kind == 3:
            for i in range(stride):
                left = line[i - bpp] if i >= bpp else 0
                line[i] = (line[i] + ((left + prior[i]) >> 1)) & 255
        elif kind == 4:
            for i in range(stride):
                a = line[i - bpp] if i >= bpp else 0
                b = prior[i]
                c = prior[i - bpp] if i >= bpp else 0
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(bytes(line))
        prior = line
    return width, height, bpp, rows


def check(png):
    svg = open(png[:-4] + '.svg', encoding='utf-8').read(4096)
    want = tuple(int(re.search(r'<svg[^>]* %s="(\d+)"' % name, svg).group(1))
                 for name in ('width', 'height'))
    width, height, bpp, rows = read_png(png)
    if (width, height) != want:
        return 'size %dx%d, the plan is %dx%d' % (width, height, want[0], want[1])
    # The plan's own background, give or take the browser's colour rounding: an error page of
    # the browser has another.
    background = (0xF6, 0xF3, 0xEC)

    def near(pixel):
        return all(abs(pixel[k] - background[k]) <= 6 for k in range(3))

    if not near(rows[0][:3]):
        return 'background %s is not the plan\'s' % rows[0][:3].hex()
    # Rows of the background alone are passed over whole.
    blank = rows[0][:bpp] * width
    drawn = 0
    for row in rows:
        if row == blank:
            continue
        for x in range(0, len(row), bpp):
            if row[x:x + bpp] != blank[:bpp] and not near(row[x:x + 3]):
                drawn += 1
    # The title of a plan without shapes covers about 0.3 %; a blank picture nothing.
    if drawn < width * height // 1000:
        return 'only %d drawn pixels' % drawn
    return None


def main(paths):
    passed = failed = 0
    with ProcessPoolExecutor(max_workers=2) as pool:
        for path, problem in zip(paths, pool.map(check, paths)):
            print('%s: %s' % (path, problem or 'ok'))
            if problem:
                failed += 1
            else:
                passed += 1
    print('%d passed, %d failed' % (passed, failed))
    return 1 if failed or not paths else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
