"""A tiny raster canvas and encoders for BMP, PNG and WAV (standard library only),
and JPEG through Pillow."""
import math
import struct
import zlib

MAGENTA = (255, 0, 255)


class Canvas:
    """RGBA pixels, row 0 at the top. Colours are (r, g, b) or (r, g, b, a)."""

    def __init__(self, w, h, color=(0, 0, 0, 255)):
        self.w, self.h = w, h
        self.px = [[_rgba(color)] * w for _ in range(h)]

    def put(self, x, y, color):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = _rgba(color)

    def get(self, x, y):
        return self.px[y][x]

    def fill(self, color):
        return self.rect(0, 0, self.w, self.h, color)

    def rect(self, x, y, w, h, color):
        c = _rgba(color)
        for yy in range(max(0, y), min(self.h, y + h)):
            row = self.px[yy]
            for xx in range(max(0, x), min(self.w, x + w)):
                row[xx] = c
        return self

    def frame(self, x, y, w, h, color, width=1):
        self.rect(x, y, w, width, color)
        self.rect(x, y + h - width, w, width, color)
        self.rect(x, y, width, h, color)
        self.rect(x + w - width, y, width, h, color)
        return self

    def hgradient(self, x, y, w, h, left, right):
        left, right = _rgba(left), _rgba(right)
        for xx in range(w):
            t = xx / max(1, w - 1)
            self.rect(x + xx, y, 1, h, tuple(round(a + (b - a) * t) for a, b in zip(left, right)))
        return self

    def vgradient(self, x, y, w, h, top, bottom):
        top, bottom = _rgba(top), _rgba(bottom)
        for yy in range(h):
            t = yy / max(1, h - 1)
            self.rect(x, y + yy, w, 1, tuple(round(a + (b - a) * t) for a, b in zip(top, bottom)))
        return self

    def disc(self, cx, cy, r, color):
        for yy in range(int(cy - r), int(cy + r) + 1):
            for xx in range(int(cx - r), int(cx + r) + 1):
                if (xx - cx) ** 2 + (yy - cy) ** 2 <= r * r:
                    self.put(xx, yy, color)
        return self

    def round_corners(self, r, color=MAGENTA):
        """Paints the area outside rounded corners of radius r (the shape key for regions)."""
        for cx, cy in ((r, r), (self.w - 1 - r, r), (r, self.h - 1 - r), (self.w - 1 - r, self.h - 1 - r)):
            xs = range(0, r) if cx == r else range(self.w - r, self.w)
            ys = range(0, r) if cy == r else range(self.h - r, self.h)
            for yy in ys:
                for xx in xs:
                    if (xx - cx) ** 2 + (yy - cy) ** 2 > r * r:
                        self.put(xx, yy, color)
        return self


def _rgba(c):
    return tuple(c) if len(c) == 4 else (c[0], c[1], c[2], 255)


def encode_bmp(canvas, bits=24):
    """Bottom-up BITMAPINFOHEADER file; 24-bit, or 32-bit keeping alpha."""
    assert bits in (24, 32)
    bpp = bits // 8
    stride = (canvas.w * bpp + 3) & ~3
    rows = []
    for y in range(canvas.h - 1, -1, -1):
        row = bytearray()
        for r, g, b, a in canvas.px[y]:
            row += bytes((b, g, r)) + (bytes((a,)) if bpp == 4 else b"")
        row += b"\0" * (stride - len(row))
        rows.append(bytes(row))
    data = b"".join(rows)
    header = struct.pack("<IiiHHIIiiII", 40, canvas.w, canvas.h, 1, bits, 0, len(data), 2835, 2835, 0, 0)
    offset = 14 + len(header)
    return b"BM" + struct.pack("<IHHI", offset + len(data), 0, 0, offset) + header + data


def encode_png(canvas):
    raw = b"".join(b"\0" + b"".join(bytes(p) for p in row) for row in canvas.px)

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)

    ihdr = struct.pack(">IIBBBBB", canvas.w, canvas.h, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def encode_wav(freq, ms, volume, rate=22050):
    n = int(rate * ms / 1000)
    frames = b"".join(
        struct.pack("<h", int(32767 * volume * math.sin(2 * math.pi * freq * i / rate) * min(1, (n - i) / 200)))
        for i in range(n))
    fmt = struct.pack("<HHIIHH", 1, 1, rate, rate * 2, 2, 16)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + struct.pack("<I", len(frames)) + frames
    return b"RIFF" + struct.pack("<I", len(body)) + body


def encode_jpeg(canvas, quality=90):
    """A baseline JPEG through Pillow (the system's python3-pil when the running
    interpreter lacks it)."""
    png = encode_png(canvas)
    try:
        import io
        from PIL import Image
        out = io.BytesIO()
        Image.open(io.BytesIO(png)).convert("RGB").save(out, "JPEG", quality=quality)
        return out.getvalue()
    except ImportError:
        import subprocess
        script = ("import io,sys;from PIL import Image;o=io.BytesIO();"
                  "Image.open(io.BytesIO(sys.stdin.buffer.read())).convert('RGB').save(o,'JPEG',quality=%d);"
                  "sys.stdout.buffer.write(o.getvalue())" % quality)
        return subprocess.run(["/usr/bin/python3", "-c", script], input=png, stdout=subprocess.PIPE,
                              check=True).stdout
