"""Skin bitmaps of the message box (Moxbell.dll resources, 24-bit BMP). The
button faces carry no word: the box writes 确定, 是 or 否 over them."""
import imaging as im

BAND_TOP = (38, 84, 150)      # title band, top row
BAND_BOTTOM = (74, 132, 204)  # title band, bottom row
FRAME = (58, 110, 180)        # left, right and bottom edges
WHITE = (255, 255, 255)


def band(w, h):
    return im.vgradient(w, h, BAND_TOP, BAND_BOTTOM)


def corner(w, h, right, bottom, r=5):
    """A frame corner: band colours, clear (magenta) outside the rounded outer corner."""
    c = band(w, h) if not bottom else im.new(w, h, FRAME)
    x0 = -r if right else 0
    y0 = -r if bottom else 0
    shape = im.mask_of(w, h, lambda d, s: d.rounded_rectangle(
        [x0 * s, y0 * s, (x0 + w + r) * s - 1, (y0 + h + r) * s - 1], r * s, fill=255))
    return im.clip(c, shape)


def face(top, bottom, edge):
    """A 71 x 19 button face with rounded corners."""
    return im.panel(71, 19, 4, top, bottom, edge=edge)


def warning():
    """49 x 45: a yellow warning triangle with an exclamation mark, on white."""
    c = im.new(49, 45, WHITE)

    def paint(d, s):
        d.polygon([(24.5 * s, 2 * s), (47 * s, 42 * s), (2 * s, 42 * s)], fill=(250, 190, 20),
                  outline=(180, 120, 10), width=2 * s)
        d.rounded_rectangle([22 * s, 14 * s, 27 * s, 31 * s], 2 * s, fill=(40, 40, 40))
        d.ellipse([21.5 * s, 33 * s, 27.5 * s, 39 * s], fill=(40, 40, 40))
    return im.over(c, im.smooth(49, 45, paint))


def register(a):
    a.bmp("res/moxbell/1058.bmp", face((250, 170, 90), (226, 110, 40), (170, 70, 20)))
    a.bmp("res/moxbell/1059.bmp", face((255, 205, 140), (244, 146, 70), (190, 90, 30)))
    a.bmp("res/moxbell/1045.bmp", warning())
    a.bmp("res/moxbell/1034.bmp", corner(8, 34, right=False, bottom=False))
    a.bmp("res/moxbell/1043.bmp", corner(8, 34, right=True, bottom=False))
    a.bmp("res/moxbell/1032.bmp", corner(8, 7, right=False, bottom=True))
    a.bmp("res/moxbell/1041.bmp", corner(8, 7, right=True, bottom=True))
    a.bmp("res/moxbell/1033.bmp", im.new(6, 1, FRAME))
    a.bmp("res/moxbell/1042.bmp", im.new(6, 1, FRAME))
    a.bmp("res/moxbell/1044.bmp", band(1, 33))
    a.bmp("res/moxbell/1028.bmp", im.new(1, 6, FRAME))
    a.bmp("res/moxbell/1056.bmp", im.vgradient(1, 3, (170, 200, 240), WHITE))
    a.bmp("res/moxbell/1057.bmp", im.vgradient(1, 10, (120, 160, 220), (210, 228, 250)))
