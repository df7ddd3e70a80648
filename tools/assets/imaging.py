"""Drawing helpers for the stand-in pictures, on Pillow, and the file forms:
every picture format is written by Pillow, WAV by the standard library.

Pictures are RGBA ``PIL.Image`` objects. Files that the programs read with a
colour key (BMP) are flattened onto magenta: a pixel is either opaque or the key,
so no pink fringe shows round a shape."""
import io
import math
import os
import struct
import sys
import wave

from PIL import Image, ImageDraw, ImageFont

MAGENTA = (255, 0, 255)
CLEAR = (0, 0, 0, 0)
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
FONT_FILE = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc"
FONT_PACKAGE = "fonts-wqy-zenhei"
SS = 4  # supersampling factor of shapes drawn with smooth edges

_fonts = {}


def font(size):
    """WenQuanYi Zen Hei at a pixel size."""
    if size not in _fonts:
        if not os.path.exists(FONT_FILE):
            sys.exit("gen_assets: the font %s is missing: install %s" % (FONT_FILE, FONT_PACKAGE))
        _fonts[size] = ImageFont.truetype(FONT_FILE, size, index=0)
    return _fonts[size]


def rgba(c):
    return tuple(c) if len(c) == 4 else (c[0], c[1], c[2], 255)


def new(w, h, color=CLEAR):
    return Image.new("RGBA", (w, h), rgba(color))


def shade(c, f):
    """A colour made lighter (f > 0, towards white) or darker (f < 0, towards black)."""
    if f >= 0:
        return tuple(round(v + (255 - v) * f) for v in c[:3])
    return tuple(round(v * (1 + f)) for v in c[:3])


def mix(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a[:3], b[:3]))


def vgradient(w, h, top, bottom):
    img = new(w, h)
    d = ImageDraw.Draw(img)
    for y in range(h):
        d.line([(0, y), (w - 1, y)], fill=mix(top, bottom, y / max(1, h - 1)))
    return img


def hgradient(w, h, left, right):
    img = new(w, h)
    d = ImageDraw.Draw(img)
    for x in range(w):
        d.line([(x, 0), (x, h - 1)], fill=mix(left, right, x / max(1, w - 1)))
    return img


def smooth(w, h, paint, ss=SS):
    """A w x h RGBA picture whose shapes paint(draw, s) draws at s times the size
    (coordinates scaled by s), brought down by averaging: smooth edges, and
    flat areas stay exactly their colour."""
    big = new(w * ss, h * ss)
    paint(ImageDraw.Draw(big), ss)
    return big.reduce(ss)


def mask_of(w, h, paint):
    """A smooth 8-bit mask of the shapes paint(draw, s) draws in white."""
    big = Image.new("L", (w * SS, h * SS), 0)
    paint(ImageDraw.Draw(big), SS)
    return big.reduce(SS)


def rounded_mask(w, h, r):
    return mask_of(w, h, lambda d, s: d.rounded_rectangle([0, 0, w * s - 1, h * s - 1], r * s, fill=255))


def clip(img, mask):
    """img with its alpha multiplied by mask."""
    out = img.copy()
    alpha = Image.composite(img.getchannel("A"), Image.new("L", img.size, 0), mask)
    out.putalpha(alpha)
    return out


def over(base, top, xy=(0, 0)):
    """top drawn over base at xy (alpha blended), in place."""
    base.alpha_composite(top, dest=(int(xy[0]), int(xy[1])))
    return base


def panel(w, h, r, top, bottom, edge=None, width=1):
    """A rounded panel: a vertical gradient with an edge line, clear outside."""
    img = vgradient(w, h, top, bottom)
    if edge:
        ring = smooth(w, h, lambda d, s: d.rounded_rectangle(
            [0, 0, w * s - 1, h * s - 1], r * s, outline=rgba(edge), width=width * s))
        over(img, ring)
    return clip(img, rounded_mask(w, h, r))


def text_box(s, size, stroke=0):
    """(left, top, right, bottom) of s drawn at (0, 0)."""
    return ImageDraw.Draw(new(1, 1)).textbbox((0, 0), s, font=font(size), stroke_width=stroke)


def fit_size(s, w, h, size, stroke=0, least=8):
    """The largest pixel size up to size at which s fits in w x h."""
    while size > least:
        left, top, right, bottom = text_box(s, size, stroke)
        if right - left <= w and bottom - top <= h:
            break
        size -= 1
    return size


def text(img, cx, cy, s, size, fill, stroke=0, stroke_fill=None, bold=False):
    """s centred on (cx, cy) by its ink box; bold thickens the strokes by one pixel."""
    d = ImageDraw.Draw(img)
    f = font(size)
    weight = 1 if bold and not stroke else stroke
    left, top, right, bottom = d.textbbox((0, 0), s, font=f, stroke_width=weight)
    x = cx - (left + right) / 2
    y = cy - (top + bottom) / 2
    if stroke:
        d.text((x, y), s, font=f, fill=rgba(fill), stroke_width=stroke, stroke_fill=rgba(stroke_fill or BLACK))
    else:
        d.text((x, y), s, font=f, fill=rgba(fill), stroke_width=weight, stroke_fill=rgba(fill))
    return img


def text_fitted(img, box, s, size, fill, **kw):
    """s centred in box (x, y, w, h) at the largest size up to size that fits."""
    x, y, w, h = box
    size = fit_size(s, w, h, size, kw.get("stroke", 0) or (1 if kw.get("bold") else 0))
    return text(img, x + w / 2, y + h / 2, s, size, fill, **kw)


def squeezed_text(s, size, fill, width, bold=False):
    """s as an RGBA picture no wider than width: drawn at size, then narrowed."""
    weight = 1 if bold else 0
    left, top, right, bottom = text_box(s, size, weight)
    img = new(right - left + 2, bottom - top + 2)
    ImageDraw.Draw(img).text((1 - left, 1 - top), s, font=font(size), fill=rgba(fill), stroke_width=weight,
                             stroke_fill=rgba(fill))
    if img.width > width:
        img = img.resize((width, img.height), Image.LANCZOS)
    return img


def keyed(img, key=MAGENTA):
    """An RGB picture for a colour key: pixels at least half opaque keep their
    colour, the rest become the key."""
    out = Image.new("RGB", img.size, key)
    out.paste(img.convert("RGB"), mask=img.getchannel("A").point(lambda a: 255 if a >= 128 else 0))
    return out


def grey(img):
    """A disabled look: grey, lighter, the alpha kept."""
    g = img.convert("LA").convert("RGBA")
    g = Image.blend(g, Image.new("RGBA", img.size, (200, 200, 200, 255)), 0.35)
    g.putalpha(img.getchannel("A"))
    return g


def strip(pictures):
    """Pictures of one height side by side."""
    out = new(sum(p.width for p in pictures), max(p.height for p in pictures))
    x = 0
    for p in pictures:
        out.paste(p, (x, 0))
        x += p.width
    return out


# File forms ------------------------------------------------------------------

def _save(img, fmt, **kw):
    out = io.BytesIO()
    img.save(out, fmt, **kw)
    return out.getvalue()


def encode_png(img):
    return _save(img.convert("RGBA"), "PNG")


def encode_bmp(img, bits=24):
    """A bottom-up BMP: 24-bit with magenta where the picture is clear, or
    32-bit keeping the alpha."""
    if bits == 32:
        return _save(img.convert("RGBA"), "BMP")
    if bits == 24:
        return _save(keyed(img) if img.mode == "RGBA" else img.convert("RGB"), "BMP")
    raise ValueError("BMP depth %d" % bits)


def encode_gif(frames, delay_cs=20):
    """An animated GIF89a that loops; frames of one size, opaque."""
    rgb = [f.convert("RGB") for f in frames]
    return _save(rgb[0], "GIF", save_all=True, append_images=rgb[1:], duration=delay_cs * 10, loop=0,
                 optimize=False, disposal=1)


def encode_ico(images):
    """An icon file holding each RGBA picture at its own size (16, 32, 48...)."""
    largest_first = sorted(images, key=lambda i: -i.width)
    return _save(largest_first[0], "ICO", sizes=[i.size for i in largest_first], append_images=largest_first[1:])


def encode_jpeg(img, quality=90):
    return _save(img.convert("RGB"), "JPEG", quality=quality)


def encode_wav(freq, ms, volume, rate=22050):
    """A mono 16-bit sine tone that fades out over its last 200 samples."""
    n = int(rate * ms / 1000)
    frames = b"".join(
        struct.pack("<h", int(32767 * volume * math.sin(2 * math.pi * freq * i / rate) * min(1, (n - i) / 200)))
        for i in range(n))
    out = io.BytesIO()
    with wave.open(out, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(frames)
    return out.getvalue()
