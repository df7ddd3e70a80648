"""The programs' own icons (res/icons, for the resource scripts): fenlo.exe a
fan of two cards on green felt, MiraboGame.exe the lobby's blue tile with 斗.
Each size is drawn on its own, so the small ones stay sharp."""
import imaging as im
from imaging import WHITE

SIZES = (16, 32, 48)


def tile(n, top, bottom):
    r = max(2, n // 6)
    return im.panel(n, n, r, top, bottom, edge=im.shade(bottom, -0.4), width=1 if n < 48 else 2)


def fenlo_icon(n):
    """Two cards fanned on felt: a red heart over a black spade."""
    icon = tile(n, (40, 150, 90), (15, 90, 50))
    k = n / 48

    def card(d, s, x, y, w, h, colour, kind):
        d.rounded_rectangle([x * k * s, y * k * s, (x + w) * k * s, (y + h) * k * s], max(1, 3 * k) * s, fill=WHITE,
                            outline=(60, 60, 60), width=max(1, round(k)) * s)
        cx, cy, r = (x + w / 2) * k * s, (y + h / 2 + 2) * k * s, 7 * k * s
        if kind == "heart":
            d.ellipse([cx - r, cy - r, cx, cy], fill=colour)
            d.ellipse([cx, cy - r, cx + r, cy], fill=colour)
            d.polygon([(cx - r, cy - r * 0.4), (cx + r, cy - r * 0.4), (cx, cy + r)], fill=colour)
        else:
            d.polygon([(cx, cy - r * 1.1), (cx + r, cy + r * 0.2), (cx - r, cy + r * 0.2)], fill=colour)
            d.ellipse([cx - r, cy - r * 0.3, cx, cy + r * 0.6], fill=colour)
            d.ellipse([cx, cy - r * 0.3, cx + r, cy + r * 0.6], fill=colour)
            d.polygon([(cx, cy), (cx - r * 0.5, cy + r), (cx + r * 0.5, cy + r)], fill=colour)
    cards = im.smooth(n, n, lambda d, s: (card(d, s, 6, 8, 22, 32, (25, 25, 35), "spade"),
                                          card(d, s, 20, 6, 22, 32, (210, 30, 40), "heart")))
    return im.over(icon, cards)


def lobby_icon(n):
    """The lobby: a blue tile with 斗 in white."""
    icon = tile(n, (90, 150, 230), (30, 70, 150))
    size = {16: 13, 32: 26, 48: 38}[n]
    return im.text(icon, n / 2, n / 2, "斗", size, WHITE, bold=n >= 32)


def register(a):
    a.ico("res/icons/fenlo.ico", [fenlo_icon(n) for n in SIZES])
    a.ico("res/icons/MiraboGame.ico", [lobby_icon(n) for n in SIZES])
