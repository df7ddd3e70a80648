"""Skin bitmaps of the message box (Moxbell.dll resources, 24-bit BMP)."""
from imaging import Canvas, MAGENTA

BAND_TOP = (38, 84, 150)      # title band, top row
BAND_BOTTOM = (74, 132, 204)  # title band, bottom row
FRAME = (58, 110, 180)        # left, right and bottom edges
WHITE = (255, 255, 255)


def band(w, h):
    return Canvas(w, h).vgradient(0, 0, w, h, BAND_TOP, BAND_BOTTOM)


def corner(w, h, right, bottom, r=5):
    """A frame corner: band colours, magenta outside the rounded outer corner."""
    c = band(w, h) if not bottom else Canvas(w, h, FRAME)
    cx = w - 1 - r if right else r
    cy = h - 1 - r if bottom else r
    xs = range(w - r, w) if right else range(0, r)
    ys = range(h - r, h) if bottom else range(0, r)
    for y in ys:
        for x in xs:
            if (x - cx) ** 2 + (y - cy) ** 2 > r * r:
                c.put(x, y, MAGENTA)
    return c


def face(top, bottom, edge):
    """A 71 x 19 button face with rounded (magenta) corners."""
    c = Canvas(71, 19).vgradient(0, 0, 71, 19, top, bottom)
    c.frame(0, 0, 71, 19, edge)
    return c.round_corners(3)


def warning():
    """49 x 45: a yellow warning triangle with an exclamation mark, on white."""
    c = Canvas(49, 45, WHITE)
    for y in range(3, 42):
        half = (y - 3) * 23 // 39
        c.rect(24 - half, y, 2 * half + 1, 1, (250, 190, 20))
    c.rect(22, 14, 5, 16, (40, 40, 40))
    c.rect(22, 33, 5, 5, (40, 40, 40))
    return c


def register(a):
    a.bmp("res/moxbell/1058.bmp", face((250, 170, 90), (226, 110, 40), (170, 70, 20)))
    a.bmp("res/moxbell/1059.bmp", face((255, 205, 140), (244, 146, 70), (190, 90, 30)))
    a.bmp("res/moxbell/1045.bmp", warning())
    a.bmp("res/moxbell/1034.bmp", corner(8, 34, right=False, bottom=False))
    a.bmp("res/moxbell/1043.bmp", corner(8, 34, right=True, bottom=False))
    a.bmp("res/moxbell/1032.bmp", corner(8, 7, right=False, bottom=True))
    a.bmp("res/moxbell/1041.bmp", corner(8, 7, right=True, bottom=True))
    a.bmp("res/moxbell/1033.bmp", Canvas(6, 1, FRAME))
    a.bmp("res/moxbell/1042.bmp", Canvas(6, 1, FRAME))
    a.bmp("res/moxbell/1044.bmp", band(1, 33))
    a.bmp("res/moxbell/1028.bmp", Canvas(1, 6, FRAME))
    a.bmp("res/moxbell/1056.bmp", Canvas(1, 3).vgradient(0, 0, 1, 3, (170, 200, 240), WHITE))
    a.bmp("res/moxbell/1057.bmp", Canvas(1, 10).vgradient(0, 0, 1, 10, (120, 160, 220), (210, 228, 250)))
