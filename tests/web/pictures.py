"""8-bit RGB PNG pictures as bytes, and the measures the browser tests compare them by.

Standard library only: zlib inflates the PNG data and the five row filters are undone here.
"""
import math
import struct
import zlib


class Picture:
    def __init__(self, width, height, rgb):
        self.width = width
        self.height = height
        self.rgb = rgb  # bytes, rows top first, 3 bytes a pixel


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    return a if pa <= pb and pa <= pc else (b if pb <= pc else c)


def read_png(data):
    """Decodes an 8-bit RGB, non-interlaced PNG (what both builds write)."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG file")
    at, packed = 8, b""
    width = height = None
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
            if depth != 8 or colour != 2 or interlace != 0:
                raise ValueError("only 8-bit RGB pictures are read")
        elif kind == b"IDAT":
            packed += body
        elif kind == b"IEND":
            break
        at += 12 + length
    raw = zlib.decompress(packed)
    stride = width * 3
    out = bytearray(stride * height)
    previous = bytearray(stride)
    for y in range(height):
        line = raw[y * (stride + 1):(y + 1) * (stride + 1)]
        kind, row = line[0], bytearray(line[1:])
        if kind == 1:
            for i in range(3, stride):
                row[i] = (row[i] + row[i - 3]) & 0xFF
        elif kind == 2:
            row = bytearray((a + b) & 0xFF for a, b in zip(row, previous))
        elif kind == 3:
            for i in range(stride):
                left = row[i - 3] if i >= 3 else 0
                row[i] = (row[i] + ((left + previous[i]) >> 1)) & 0xFF
        elif kind == 4:
            for i in range(stride):
                left = row[i - 3] if i >= 3 else 0
                corner = previous[i - 3] if i >= 3 else 0
                row[i] = (row[i] + _paeth(left, previous[i], corner)) & 0xFF
        elif kind != 0:
            raise ValueError("bad row filter %d" % kind)
        out[y * stride:(y + 1) * stride] = row
        previous = row
    return Picture(width, height, bytes(out))


def psnr(a, b):
    """Peak signal-to-noise ratio of b against a over all three channels, in dB (inf if equal)."""
    if (a.width, a.height) != (b.width, b.height):
        raise ValueError("pictures of different sizes")
    squared = sum((x - y) * (x - y) for x, y in zip(a.rgb, b.rgb))
    if squared == 0:
        return math.inf
    return 10 * math.log10(255 * 255 * len(a.rgb) / squared)


def colour_mask(picture, colour, box):
    """The set of pixel indices inside box (left, top, right, bottom; right and bottom
    excluded) whose colour is exactly colour: where the 1-bit text of that colour was drawn."""
    left, top, right, bottom = box
    wanted = bytes(colour)
    mask = set()
    for y in range(top, bottom):
        row = y * picture.width
        for x in range(left, right):
            at = 3 * (row + x)
            if picture.rgb[at:at + 3] == wanted:
                mask.add(row + x)
    return mask


def differing_pixels(a, b):
    """How many pixels differ in any channel."""
    return sum(1 for i in range(0, len(a.rgb), 3) if a.rgb[i:i + 3] != b.rgb[i:i + 3])
