#!/usr/bin/env python3
"""Builds Pigmo's Windows icon file from square RGBA PNGs.

For every PNG given, the .ico gets three images of that size: 4 bits per
pixel (16-colour palette), 8 bits per pixel (256-colour palette) and 32 bits
per pixel with alpha. Palettes are computed from the image itself (median
cut, then a few rounds of k-means), because a fixed 16-colour system palette
has no beige and turns the palette board into white or yellow.

Palette images have no alpha channel: a pixel is either shown or masked out
through the 1-bit AND mask. Masked pixels carry palette index 0, which is
always black, so that the XOR step leaves the screen unchanged on systems
that draw icons as AND-then-XOR.

Standard library only. Usage:
    make_ico.py -o pigmo.ico pigmo-16.png pigmo-32.png pigmo-48.png
    make_ico.py --preview DIR -o pigmo.ico ...   # also write each image as PNG
"""

import argparse
import os
import struct
import sys
import zlib

PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"
DEPTHS = (4, 8, 32)
# Pixels at or above this alpha are shown in the palette images.
ALPHA_THRESHOLD = 128


class Image:
    """Straight (not premultiplied) RGBA pixels, rows top to bottom."""

    def __init__(self, width, height, pixels):
        self.width = width
        self.height = height
        self.pixels = pixels  # list of (r, g, b, a), row-major

    def at(self, x, y):
        return self.pixels[y * self.width + x]


# --- PNG -------------------------------------------------------------------

def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def read_png(path):
    """Decodes an 8-bit RGB or RGBA, non-interlaced PNG."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != PNG_SIGNATURE:
        raise ValueError(f"{path}: not a PNG file")
    pos = 8
    idat = bytearray()
    header = None
    while pos < len(data):
        (length,) = struct.unpack(">I", data[pos:pos + 4])
        kind = data[pos + 4:pos + 8]
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        elif kind == b"IEND":
            break
    if header is None:
        raise ValueError(f"{path}: no IHDR chunk")
    width, height, depth, colour_type, _, _, interlace = header
    if depth != 8 or colour_type not in (2, 6) or interlace != 0:
        raise ValueError(f"{path}: only 8-bit RGB/RGBA non-interlaced PNGs are supported")
    channels = 4 if colour_type == 6 else 3
    stride = width * channels
    raw = zlib.decompress(bytes(idat))
    if len(raw) != height * (stride + 1):
        raise ValueError(f"{path}: image data has the wrong length")
    pixels = []
    previous = bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        kind = raw[start]
        line = bytearray(raw[start + 1:start + 1 + stride])
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = previous[i]
            up_left = previous[i - channels] if i >= channels else 0
            if kind == 0:
                continue
            if kind == 1:
                line[i] = (line[i] + left) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + up) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 0xFF
            elif kind == 4:
                line[i] = (line[i] + _paeth(left, up, up_left)) & 0xFF
            else:
                raise ValueError(f"{path}: unknown filter {kind}")
        for x in range(width):
            p = line[x * channels:(x + 1) * channels]
            pixels.append((p[0], p[1], p[2], p[3] if channels == 4 else 255))
        previous = line
    return Image(width, height, pixels)


def write_png(path, image):
    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body
                + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

    raw = bytearray()
    for y in range(image.height):
        raw.append(0)
        for x in range(image.width):
            raw.extend(image.at(x, y))
    header = struct.pack(">IIBBBBB", image.width, image.height, 8, 6, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(PNG_SIGNATURE + chunk(b"IHDR", header)
                + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


# --- Palette ---------------------------------------------------------------

def _distance(a, b):
    # Weighted towards green, which the eye separates best.
    dr, dg, db = a[0] - b[0], a[1] - b[1], a[2] - b[2]
    return 2 * dr * dr + 4 * dg * dg + 3 * db * db


def _nearest(colour, palette):
    best, best_distance = 0, None
    for index, entry in enumerate(palette):
        d = _distance(colour, entry)
        if best_distance is None or d < best_distance:
            best, best_distance = index, d
    return best


def _median_cut(histogram, count):
    """histogram: {(r, g, b): weight}. Returns up to count colours."""
    boxes = [sorted(histogram.items())]
    while len(boxes) < count:
        # Split the box with the widest weighted spread on any channel.
        best_index, best_score, best_channel = None, 0, 0
        for index, box in enumerate(boxes):
            if len(box) < 2:
                continue
            weight = sum(w for _, w in box)
            for channel in range(3):
                values = [c[channel] for c, _ in box]
                score = (max(values) - min(values)) * weight
                if score > best_score:
                    best_index, best_score, best_channel = index, score, channel
        if best_index is None:
            break
        box = sorted(boxes.pop(best_index), key=lambda item: (item[0][best_channel], item[0]))
        total = sum(w for _, w in box)
        running, cut = 0, 1
        for i, (_, w) in enumerate(box[:-1]):
            running += w
            cut = i + 1
            if running * 2 >= total:
                break
        boxes.append(box[:cut])
        boxes.append(box[cut:])
    palette = []
    for box in boxes:
        weight = sum(w for _, w in box)
        palette.append(tuple(round(sum(c[ch] * w for c, w in box) / weight) for ch in range(3)))
    return palette


def _refine(histogram, palette, rounds=6):
    """A few rounds of k-means starting from the median-cut palette."""
    for _ in range(rounds):
        sums = [[0, 0, 0, 0] for _ in palette]
        for colour, weight in histogram.items():
            s = sums[_nearest(colour, palette)]
            for ch in range(3):
                s[ch] += colour[ch] * weight
            s[3] += weight
        updated = [tuple(round(s[ch] / s[3]) for ch in range(3)) if s[3] else entry
                   for s, entry in zip(sums, palette)]
        if updated == palette:
            break
        palette = updated
    return palette


def make_palette(image, size):
    """Index 0 is black for masked pixels; the rest fit the shown pixels."""
    histogram = {}
    for r, g, b, a in image.pixels:
        if a >= ALPHA_THRESHOLD:
            histogram[(r, g, b)] = histogram.get((r, g, b), 0) + 1
    room = size - 1
    if len(histogram) <= room:
        colours = sorted(histogram)
    else:
        colours = _refine(histogram, _median_cut(histogram, room))
    palette = [(0, 0, 0)] + sorted(set(colours))
    return palette + [(0, 0, 0)] * (size - len(palette))


# --- ICO -------------------------------------------------------------------

def _mask_rows(image):
    """1-bit AND mask, bottom row first, rows padded to 32 bits."""
    stride = (image.width + 31) // 32 * 4
    out = bytearray()
    for y in reversed(range(image.height)):
        row = bytearray(stride)
        for x in range(image.width):
            if image.at(x, y)[3] < ALPHA_THRESHOLD:
                row[x // 8] |= 0x80 >> (x % 8)
        out += row
    return bytes(out)


def encode_dib(image, bits):
    """One icon image: BITMAPINFOHEADER, palette, XOR bitmap, AND mask."""
    width, height = image.width, image.height
    stride = (width * bits + 31) // 32 * 4
    palette_bytes = b""
    xor = bytearray()
    if bits == 32:
        for y in reversed(range(height)):
            row = bytearray()
            for x in range(width):
                r, g, b, a = image.at(x, y)
                row += bytes((b, g, r, a))
            xor += row
    else:
        palette = make_palette(image, 1 << bits)
        palette_bytes = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
        cache = {}
        for y in reversed(range(height)):
            row = bytearray(stride)
            for x in range(width):
                r, g, b, a = image.at(x, y)
                if a < ALPHA_THRESHOLD:
                    index = 0
                else:
                    index = cache.get((r, g, b))
                    if index is None:
                        # Index 0 stays reserved for masked pixels.
                        index = 1 + _nearest((r, g, b), palette[1:])
                        cache[(r, g, b)] = index
                if bits == 8:
                    row[x] = index
                else:
                    row[x // 2] |= index << (4 if x % 2 == 0 else 0)
            xor += row
    mask = _mask_rows(image)
    header = struct.pack("<IiiHHIIiiII", 40, width, 2 * height, 1, bits, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    return header + palette_bytes + bytes(xor) + mask


def write_ico(path, images):
    entries = []
    for image in images:
        for bits in DEPTHS:
            entries.append((image, bits, encode_dib(image, bits)))
    offset = 6 + 16 * len(entries)
    directory = struct.pack("<HHH", 0, 1, len(entries))
    blobs = b""
    for image, bits, blob in entries:
        directory += struct.pack("<BBBBHHII", image.width % 256, image.height % 256,
                                 16 if bits == 4 else 0, 0, 1, bits, len(blob), offset)
        offset += len(blob)
        blobs += blob
    with open(path, "wb") as f:
        f.write(directory + blobs)
    return entries


def decode_dib(blob, width, height):
    """Reads one image back, to preview what the icon shows."""
    (_, _, _, _, bits, _, _, _, _, used, _) = struct.unpack("<IiiHHIIiiII", blob[:40])
    pos = 40
    palette = []
    if bits <= 8:
        for i in range(used or (1 << bits)):
            b, g, r, _ = blob[pos + 4 * i:pos + 4 * i + 4]
            palette.append((r, g, b))
        pos += 4 * len(palette)
    stride = (width * bits + 31) // 32 * 4
    mask_stride = (width + 31) // 32 * 4
    mask_pos = pos + stride * height
    pixels = []
    for y in range(height):
        row = pos + (height - 1 - y) * stride
        mrow = mask_pos + (height - 1 - y) * mask_stride
        for x in range(width):
            masked = blob[mrow + x // 8] & (0x80 >> (x % 8))
            if bits == 32:
                b, g, r, a = blob[row + 4 * x:row + 4 * x + 4]
                pixels.append((r, g, b, a))
                continue
            if bits == 8:
                index = blob[row + x]
            else:
                index = (blob[row + x // 2] >> (4 if x % 2 == 0 else 0)) & 0x0F
            pixels.append((0, 0, 0, 0) if masked else palette[index] + (255,))
    return Image(width, height, pixels)


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("-o", "--output", required=True, help="the .ico to write")
    parser.add_argument("--preview", help="directory for PNG previews of every image")
    parser.add_argument("pngs", nargs="+", help="square RGBA PNGs, one per size")
    args = parser.parse_args(argv)

    images = []
    for path in args.pngs:
        image = read_png(path)
        if image.width != image.height or not 1 <= image.width <= 256:
            raise SystemExit(f"{path}: icon images must be square and at most 256 px")
        images.append(image)
    entries = write_ico(args.output, images)
    if args.preview:
        os.makedirs(args.preview, exist_ok=True)
        for image, bits, blob in entries:
            name = os.path.join(args.preview, f"ico-{image.width}-{bits}bpp.png")
            write_png(name, decode_dib(blob, image.width, image.height))
    print(f"{args.output}: {len(entries)} images, {os.path.getsize(args.output)} bytes")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
