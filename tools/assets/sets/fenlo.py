"""The card-game client's files below bin/fenlo: its settings, the message code
table of the binary form, the table pictures (card faces and backs, prompts,
desk pictures, films and digit strips, button faces, list skins), the sounds
and placeholder movies. Every picture carries what a player reads on it: ranks
and suits, the words of buttons and prompts, digits."""
import math

from PIL import Image

import imaging as im
from imaging import BLACK, WHITE

CARD_W, CARD_H = 71, 96
RED = (205, 25, 35)
INK = (25, 25, 35)
RANKS = {3: "3", 4: "4", 5: "5", 6: "6", 7: "7", 8: "8", 9: "9", 10: "10", 11: "J", 12: "Q", 13: "K", 14: "A",
         15: "2"}
# File suit 1..4 (the deck's suit 0..3 plus one), lowest first.
SUITS = {1: "diamond", 2: "club", 3: "heart", 4: "spade"}
FELT = (22, 104, 64)

CONFIG = """[SYSTEM]
sendtype=0
version=<Version name="FENLO" value="1.0.0.1"/>
ping=<GameMessage game="FENLO"><Message name="PingData" type="Request"/></GameMessage>
time1=8000
time2=30000
soundon=1
advulr=http://127.0.0.1/
"""

# Every message name of the game in both directions, numbered from 1.
MESSAGES = [
    "ValidateFailed", "ValidateSuccess", "KickPlayer", "DeskPlayerInfo", "GameStart", "BeginChouPai",
    "ChouPai", "BeginJiaoFen", "JiaoFen", "SendCard", "SendRemainCard", "BeginChuPai", "ChuPaiFailed",
    "ChuPai", "ReadyForPlaying", "GameResult", "AutoPlay", "CancelAutoPlay", "RestorePlayer", "MingPai",
    "InvalidClientVersion", "BeginBet", "EndBet", "PlayerGoal", "BetSuccess", "CreateGameSuccess",
    "ReRequestDesk", "PingData", "BeginDouble", "Double", "AnswerLeave", "WaittingPlayer", "GameNotice",
    "BeginAskForLandLord", "AskForLandLord", "Chat", "waittingArrange", "AskPlayerSignUp",
    "MoneyIsNotEnough", "RankTopN", "PlayerRank", "DeakRank", "RemainTime", "PlayerMoneyNew",
    "PlayerInfoValidate", "RequestDesk", "RequestLeave", "Leaving", "AnonymousClint", "RequestDeskList",
    "PlayerIP", "RequestEnterGame", "RequestEnterDesk", "RequestCreateGame", "AgencyInfo", "Bet",
    "KeepAlive", "PlayerLeave", "RefreshPlayerInfo", "GameOver", "PlayerState", "CreateGameFailed",
    "EnterDesk", "Anonymousinfo",
]


def code_table():
    lines = ["[TotalMessageNum]", "count=%d" % len(MESSAGES), ""]
    for i, name in enumerate(MESSAGES, 1):
        lines += ["[message%d]" % i, "id=%d" % i, "name=%s" % name, "content =%s" % name, ""]
    return "\n".join(lines)


# Suits ------------------------------------------------------------------------

def suit_shape(d, kind, cx, cy, h, fill):
    """A suit symbol h high centred on (cx, cy), in drawing coordinates."""
    w = h * 0.9
    if kind == "diamond":
        d.polygon([(cx, cy - h / 2), (cx + w * 0.38, cy), (cx, cy + h / 2), (cx - w * 0.38, cy)], fill=fill)
        return
    r = w * 0.27
    if kind == "heart":
        top = cy - h / 2 + r
        d.ellipse([cx - 2 * r, top - r, cx, top + r], fill=fill)
        d.ellipse([cx, top - r, cx + 2 * r, top + r], fill=fill)
        d.polygon([(cx - 2 * r + r * 0.08, top + r * 0.35), (cx + 2 * r - r * 0.08, top + r * 0.35),
                   (cx, cy + h / 2)], fill=fill)
        return
    stem = [(cx, cy + h * 0.12), (cx - w * 0.2, cy + h / 2), (cx + w * 0.2, cy + h / 2)]
    if kind == "spade":
        low = cy + h * 0.12
        d.ellipse([cx - 2 * r, low - r, cx, low + r], fill=fill)
        d.ellipse([cx, low - r, cx + 2 * r, low + r], fill=fill)
        d.polygon([(cx - 2 * r + r * 0.08, low - r * 0.35), (cx + 2 * r - r * 0.08, low - r * 0.35),
                   (cx, cy - h / 2)], fill=fill)
    else:  # club
        r = w * 0.22
        d.ellipse([cx - r, cy - h / 2, cx + r, cy - h / 2 + 2 * r], fill=fill)
        d.ellipse([cx - 2.1 * r, cy - h * 0.12 - r, cx + 0.1 * r, cy - h * 0.12 + r], fill=fill)
        d.ellipse([cx - 0.1 * r, cy - h * 0.12 - r, cx + 2.1 * r, cy - h * 0.12 + r], fill=fill)
        d.rectangle([cx - r * 0.3, cy - h * 0.3, cx + r * 0.3, cy + h * 0.2], fill=fill)
    d.polygon(stem, fill=fill)


def suit_picture(kind, h, color):
    size = h + 2
    return im.smooth(size, size, lambda d, s: suit_shape(d, kind, size * s / 2, size * s / 2, h * s, color))


# Cards -------------------------------------------------------------------------

def card_blank():
    return im.panel(CARD_W, CARD_H, 5, WHITE, WHITE, edge=(110, 110, 110))


def card(number, suit):
    """A face: rank over suit in the top-left corner (the part the overlapped
    hand shows), a large rank and suit in the middle."""
    c = card_blank()
    if number >= 16:
        return joker(c, number == 17)
    kind = SUITS[suit]
    color = RED if kind in ("diamond", "heart") else INK
    rank = RANKS[number]
    im.over(c, im.squeezed_text(rank, 17, color, 13, bold=True), (2 if len(rank) > 1 else 3, 3))
    im.over(c, suit_picture(kind, 11, color), (2, 21))
    if number in (11, 12, 13):
        frame = im.smooth(CARD_W, CARD_H, lambda d, s: d.rounded_rectangle(
            [20 * s, 8 * s, 64 * s, 86 * s], 4 * s, outline=(200, 160, 40), width=2 * s))
        im.over(c, frame)
    big = im.squeezed_text(rank, 34, color, 40, bold=True)
    im.over(c, big, (41 - big.width // 2, 12))
    pip = suit_picture(kind, 26, color)
    im.over(c, pip, (41 - pip.width // 2, 52))
    return c


def joker(c, big):
    color = RED if big else INK
    word = "大王" if big else "小王"
    for i, ch in enumerate(word):
        im.text(c, 9, 11 + 15 * i, ch, 13, color, bold=True)
    crown = (230, 170, 20) if big else (120, 120, 130)

    def paint(d, s):
        pts = [(26, 40), (28, 20), (36, 32), (43, 14), (50, 32), (58, 20), (60, 40)]
        d.polygon([(x * s, y * s) for x, y in pts], fill=crown, outline=color, width=s)
        for x, y in pts[1:-1:2]:
            d.ellipse([(x - 2) * s, (y - 2) * s, (x + 2) * s, (y + 2) * s], fill=color)
    im.over(c, im.smooth(CARD_W, CARD_H, paint))
    im.text(c, 43, 53, "JOKER", 11, color, bold=True)
    im.text(c, 43, 73, word, 22, color, bold=True)
    return c


def back(base):
    """A back: a lattice in two shades inside a white border."""
    c = card_blank()
    dark, light = base, im.shade(base, 0.25)

    def paint(d, s):
        d.rounded_rectangle([4 * s, 4 * s, (CARD_W - 5) * s, (CARD_H - 5) * s], 3 * s, fill=dark)
        for k in range(-12, 20):
            x = k * 8 * s
            d.line([(x, 4 * s), (x + 92 * s, 96 * s)], fill=light, width=s)
            d.line([(x + 92 * s, 4 * s), (x, 96 * s)], fill=light, width=s)
        d.ellipse([19 * s, 30 * s, 52 * s, 66 * s], fill=im.shade(base, -0.3), outline=WHITE, width=2 * s)
    inner = im.smooth(CARD_W, CARD_H, paint)
    inner = im.clip(inner, im.mask_of(CARD_W, CARD_H, lambda d, s: d.rounded_rectangle(
        [4 * s, 4 * s, (CARD_W - 5) * s, (CARD_H - 5) * s], 3 * s, fill=255)))
    im.over(c, inner)
    im.text(c, 35.5, 48, "斗", 20, WHITE, bold=True)
    return c


# Words on plaques and buttons ---------------------------------------------------

def plaque(w, h, word, fill, ink, edge=WHITE, size=17):
    """A rounded plaque with a word: the prompts beside the seats."""
    p = im.panel(w, h, 7, im.shade(fill, 0.2), im.shade(fill, -0.25), edge=edge, width=2)
    im.text_fitted(p, (4, 1, w - 8, h - 2), word, size, ink, stroke=2, stroke_fill=im.shade(fill, -0.6))
    return p


# Button faces: up, hover (lighter), pressed (darker, word one pixel lower right).
STATES = {"Up": 0.0, "On": 0.25, "Down": -0.22}


def face(w, h, word, base, ink=WHITE, state="Up", size=17):
    f = STATES[state]
    top, bottom = im.shade(base, 0.35 + f), im.shade(base, -0.2 + f)
    if f < 0:
        top, bottom = bottom, top
    p = im.panel(w, h, 6, top, bottom, edge=im.shade(base, -0.5), width=1)
    gloss = im.smooth(w, h, lambda d, s: d.rounded_rectangle(
        [2 * s, 2 * s, (w - 3) * s, (h // 2) * s], 4 * s, fill=(255, 255, 255, 50 if f >= 0 else 15)))
    im.over(p, gloss)
    if word:
        dx = 1 if f < 0 else 0
        box = (3 + dx, 1 + dx, w - 6, h - 2)
        im.text_fitted(p, box, word, size, ink, stroke=1, stroke_fill=im.shade(base, -0.6))
    return p


def write_face(a, path, picture, ext):
    (a.png if ext == "png" else a.bmp)(path, picture)


# Pictures of the desk ------------------------------------------------------------

def background():
    w, h = 1040, 720
    bg = Image.radial_gradient("L").resize((w, h), Image.BICUBIC)
    felt = Image.new("RGBA", (w, h), im.rgba(im.shade(FELT, 0.18)))
    edge = Image.new("RGBA", (w, h), im.rgba(im.shade(FELT, -0.45)))
    table = Image.composite(edge, felt, bg.point(lambda v: max(0, min(255, (v - 90) * 2))))
    table = table.convert("RGBA")

    def paint(d, s):
        d.ellipse([60 * s, 70 * s, 780 * s, 640 * s], outline=im.shade(FELT, 0.3) + (90,), width=3 * s)
    im.over(table, im.smooth(w, h, paint, ss=2))
    # A light band at the top: the network line is written on it in dark green.
    table.paste(im.vgradient(w, 24, (226, 238, 222), (196, 218, 196)), (0, 0))
    return table


def ping(bars_lit, color):
    """Six signal bars on a dark plate; the lit ones in the quality's colour,
    the rest in a dark tint of it."""
    p = im.new(20, 14, (30, 34, 40))
    dim = im.shade(color, -0.65)
    for k in range(6):
        hk = 2 + 2 * k
        x = 1 + 3 * k
        p.paste(im.new(2, hk, color if k < bars_lit else dim), (x, 13 - hk))
    return p


def digit_strip(w, h, fill, outline, size):
    return im.strip([im.text_fitted(im.new(w, h), (0, 0, w, h), str(d), size, fill, stroke=1, stroke_fill=outline)
                     for d in range(10)])


def clock_frame(alarm):
    w = h = 50
    face_col = (255, 236, 236) if alarm else (255, 255, 245)
    rim = (200, 40, 40) if alarm else (40, 90, 170)

    def paint(d, s):
        d.ellipse([5 * s, 1 * s, 17 * s, 13 * s], fill=rim)
        d.ellipse([33 * s, 1 * s, 45 * s, 13 * s], fill=rim)
        d.ellipse([5 * s, 9 * s, 45 * s, 49 * s], fill=rim)
        d.ellipse([8 * s, 12 * s, 42 * s, 46 * s], fill=face_col)
        for k in range(12):
            a = k * math.pi / 6
            cx, cy, r0, r1 = 25, 29, 14, 16
            d.line([((cx + r0 * math.sin(a)) * s, (cy - r0 * math.cos(a)) * s),
                    ((cx + r1 * math.sin(a)) * s, (cy - r1 * math.cos(a)) * s)], fill=rim, width=s)
    return im.smooth(w, h, paint)


def avatar(woman):
    """A portrait, head and shoulders, on a dark backdrop: the table writes the
    seat's name over its top in light blue."""
    w, h = 60, 72
    backdrop = (110, 40, 90) if woman else (30, 60, 120)
    p = im.panel(w, h, 6, im.shade(backdrop, -0.3), backdrop, edge=(200, 200, 220), width=2)
    skin, hair = (250, 214, 180), (60, 40, 30) if not woman else (40, 25, 20)
    shirt = (240, 110, 160) if woman else (70, 140, 220)

    def paint(d, s):
        if woman:
            d.rounded_rectangle([15 * s, 20 * s, 45 * s, 64 * s], 14 * s, fill=hair)
        d.rounded_rectangle([6 * s, 60 * s, 54 * s, 90 * s], 16 * s, fill=shirt)
        d.rectangle([26 * s, 52 * s, 34 * s, 62 * s], fill=skin)
        d.ellipse([18 * s, 24 * s, 42 * s, 54 * s], fill=skin)
        if woman:
            d.pieslice([16 * s, 20 * s, 44 * s, 44 * s], 180, 360, fill=hair)
            d.ellipse([37 * s, 20 * s, 46 * s, 29 * s], fill=(255, 80, 120))
        else:
            d.pieslice([17 * s, 20 * s, 43 * s, 40 * s], 180, 360, fill=hair)
            d.rectangle([17 * s, 29 * s, 20 * s, 35 * s], fill=hair)
            d.rectangle([40 * s, 29 * s, 43 * s, 35 * s], fill=hair)
        d.ellipse([24 * s, 36 * s, 28 * s, 40 * s], fill=BLACK)
        d.ellipse([32 * s, 36 * s, 36 * s, 40 * s], fill=BLACK)
        d.arc([25 * s, 41 * s, 35 * s, 48 * s], 20, 160, fill=(170, 60, 60), width=s)
    return im.over(p, im.clip(im.smooth(w, h, paint), im.rounded_mask(w, h, 6)))


def smiley(w, h, color, hat):
    def paint(d, s):
        d.ellipse([3 * s, 5 * s, (w - 3) * s, (h - 1) * s], fill=color, outline=(90, 60, 20), width=s)
        d.ellipse([15 * s, 18 * s, 20 * s, 25 * s], fill=BLACK)
        d.ellipse([w * s - 20 * s, 18 * s, w * s - 15 * s, 25 * s], fill=BLACK)
        d.arc([14 * s, 22 * s, (w - 14) * s, (h - 10) * s], 20, 160, fill=(120, 30, 30), width=2 * s)
        if hat:
            d.polygon([(8 * s, 12 * s), (14 * s, 0), (25 * s, 8 * s), (36 * s, 0), (42 * s, 12 * s)], fill=(240, 190, 20))
    return im.smooth(w, h, paint)


def badge(w, h, word, fill, size=13):
    p = im.panel(w, h, h // 2, im.shade(fill, 0.25), im.shade(fill, -0.2), edge=(255, 240, 200), width=1)
    return im.text_fitted(p, (2, 0, w - 4, h), word, size, WHITE, stroke=1, stroke_fill=im.shade(fill, -0.6))


def disc_badge(d, word, fill):
    p = im.smooth(d, d, lambda g, s: g.ellipse([0, 0, d * s - 1, d * s - 1], fill=fill, outline=(255, 240, 200),
                                                 width=s))
    return im.text(p, d / 2, d / 2, word, 14, WHITE, bold=True)


def bomb_icon(w, h):
    def paint(d, s):
        d.ellipse([2 * s, 6 * s, 20 * s, 24 * s], fill=(30, 30, 36))
        d.ellipse([6 * s, 10 * s, 10 * s, 14 * s], fill=(110, 110, 120))
        d.line([(15 * s, 8 * s), (19 * s, 3 * s)], fill=(160, 110, 60), width=2 * s)
        d.ellipse([17 * s, 0, 23 * s, 6 * s], fill=(255, 170, 20))
    return im.smooth(w, h, paint)


def film(frames, w, h, word, color, kind):
    """A film strip of frames: the word with a burst or sparkles that grow."""
    pictures = []
    for k in range(frames):
        t = (k + 1) / frames

        def paint(d, s):
            cx, cy = w / 2 * s, h / 2 * s
            if kind == "burst":
                r = (0.25 + 0.25 * t) * min(w, h) * s
                pts = []
                for i in range(24):
                    rr = r if i % 2 == 0 else r * 0.55
                    a = i * math.pi / 12 + k * 0.2
                    pts.append((cx + rr * math.cos(a), cy + rr * math.sin(a)))
                d.polygon(pts, fill=(255, 200 - 20 * k, 30))
                d.ellipse([cx - r * 0.45, cy - r * 0.45, cx + r * 0.45, cy + r * 0.45], fill=(255, 250, 200))
            else:
                for i in range(8):
                    a = i * math.pi / 4 + k * 0.4
                    rr = (0.2 + 0.25 * t) * min(w, h) * s
                    x, y = cx + rr * math.cos(a), cy + rr * math.sin(a)
                    q = 3 * s + k * s
                    d.polygon([(x, y - 2 * q), (x + q / 2, y), (x, y + 2 * q), (x - q / 2, y)], fill=color)
                    d.polygon([(x - 2 * q, y), (x, y - q / 2), (x + 2 * q, y), (x, y + q / 2)], fill=color)
        frame = im.smooth(w, h, paint)
        size = max(12, int(min(w / len(word), h) * (0.55 + 0.2 * t)))
        im.text(frame, w / 2, h / 2, word, size, WHITE, stroke=2, stroke_fill=im.shade(color, -0.5))
        pictures.append(frame)
    return im.strip(pictures)


def straight_film():
    w, h, pictures = 80, 40, []
    for k in range(7):
        frame = im.new(w, h)
        dx = (k - 3) * 3
        for i in range(5):
            x = 6 + i * 14 + dx

            def paint(d, s, x=x, i=i):
                d.rounded_rectangle([x * s, (4 + abs(i - 2)) * s, (x + 14) * s, (24 + abs(i - 2)) * s], 2 * s,
                                    fill=WHITE, outline=(60, 60, 60), width=s)
            im.over(frame, im.smooth(w, h, paint))
        im.text(frame, w / 2 + dx, 30, "顺子", 15, (255, 230, 40), stroke=2, stroke_fill=(120, 40, 0))
        pictures.append(frame)
    return im.strip(pictures)


def report(word_on, fill):
    """Two halves: the warning bright, then dim (the badge blinks)."""
    w, h = 40, 30
    bright = badge(w, h - 6, word_on, fill, size=12)
    dim = im.grey(bright)
    pad = lambda p: im.over(im.new(w, h), p, (0, 3))  # noqa: E731
    return im.strip([pad(bright), pad(dim)])


def plane():
    w, h = 200, 80

    def paint(d, s):
        body = (210, 220, 235)
        d.rounded_rectangle([20 * s, 30 * s, 180 * s, 48 * s], 9 * s, fill=body, outline=(70, 80, 100), width=s)
        d.polygon([(80 * s, 34 * s), (120 * s, 34 * s), (95 * s, 2 * s), (82 * s, 2 * s)], fill=(180, 40, 40))
        d.polygon([(80 * s, 44 * s), (120 * s, 44 * s), (95 * s, 78 * s), (82 * s, 78 * s)], fill=(180, 40, 40))
        d.polygon([(22 * s, 34 * s), (40 * s, 34 * s), (30 * s, 14 * s), (22 * s, 14 * s)], fill=(180, 40, 40))
        d.ellipse([160 * s, 33 * s, 172 * s, 42 * s], fill=(60, 120, 200))
    p = im.smooth(w, h, paint)
    return im.text(p, 130, 39, "飞机", 14, (180, 30, 30), bold=True)


def result_board():
    """The result dialog's board: a title, the column heads over the three rows
    the dialog writes, and the bomb label."""
    w, h = 440, 300
    p = im.panel(w, h, 14, (255, 246, 220), (240, 214, 160), edge=(150, 100, 40), width=3)
    band = im.clip(im.vgradient(w, 44, (200, 70, 40), (150, 40, 20)), im.rounded_mask(w, 44, 12))
    im.over(p, band, (0, 0))
    im.text(p, w / 2, 22, "本局结算", 22, (255, 240, 200), stroke=1, stroke_fill=(90, 20, 10))
    ink = (110, 70, 30)
    for x, word in ((70, "玩家"), (174, "输赢"), (239, "得分"), (307, "手续费"), (387, "倍数")):
        im.text(p, x + len(word) * 7, 150, word, 14, ink, bold=True)

    def lines(d, s):
        d.line([(24 * s, 160 * s), ((w - 24) * s, 160 * s)], fill=(180, 140, 80), width=s)
        d.line([(24 * s, 236 * s), ((w - 24) * s, 236 * s)], fill=(180, 140, 80), width=s)
    im.over(p, im.smooth(w, h, lines))
    im.text(p, 92, 249, "炸弹:", 14, ink, bold=True)
    return p


def counter_box():
    """The counter box: a light card, its three lines labelled on the left (the
    table writes the values in dark green)."""
    w, h = 200, 75
    p = im.panel(w, h, 8, (250, 246, 228), (226, 216, 180), edge=(150, 120, 60), width=1)
    for y, word in ((17, "玩家"), (37, "金币"), (57, "底注")):
        im.text(p, 36, y, word, 12, (120, 90, 40))
    return p


def coin(d):
    p = im.smooth(d, d, lambda g, s: g.ellipse([1 * s, 1 * s, (d - 1) * s, (d - 1) * s], fill=(240, 190, 40),
                                                 outline=(150, 100, 10), width=2 * s))
    return im.text(p, d / 2, d / 2, "币", 14, (150, 90, 10), bold=True)


def side_panel():
    w, h = 200, 690
    p = im.panel(w, h, 8, (24, 90, 150), (10, 50, 100), edge=(120, 170, 220), width=2)
    for top, bottom in ((168, 285), (508, 520)):
        band = im.new(w - 8, bottom - top, (255, 255, 255, 24))
        im.over(p, band, (4, top))
    im.text(p, 100, 514, "聊天", 10, (200, 220, 255))
    return p


def list_skin(name, w, h):
    """The side panel's list header and scroll-bar pieces."""
    base = (60, 110, 170)
    p = im.vgradient(w, h, im.shade(base, 0.3), base) if "Header" in name or "Horizontal" in name \
        else im.hgradient(w, h, im.shade(base, 0.3), base)

    def arrow(d, s, pts):
        d.polygon([(x * s, y * s) for x, y in pts], fill=WHITE)
    cx, cy = w / 2, h / 2
    shapes = {"UpArrow": [(cx, cy - 3), (cx + 4, cy + 2), (cx - 4, cy + 2)],
              "DownArrow": [(cx, cy + 3), (cx + 4, cy - 2), (cx - 4, cy - 2)],
              "LeftArrow": [(cx - 3, cy), (cx + 2, cy - 4), (cx + 2, cy + 4)],
              "RightArrow": [(cx + 3, cy), (cx - 2, cy - 4), (cx - 2, cy + 4)]}
    for key, pts in shapes.items():
        if name.endswith(key):
            im.over(p, im.smooth(w, h, lambda d, s, pts=pts: arrow(d, s, pts)))
    if name.endswith("Thumb"):
        p = im.panel(w, h, 3, (200, 220, 245), (150, 180, 220), edge=(40, 70, 120))
    return p


def speaker(muted, hover):
    w, h = 30, 26
    back = (60, 120, 180) if not hover else (90, 160, 220)

    def paint(d, s):
        d.rounded_rectangle([0, 0, (w - 1) * s, (h - 1) * s], 6 * s, fill=back)
        d.polygon([(6 * s, 10 * s), (10 * s, 10 * s), (16 * s, 5 * s), (16 * s, 21 * s), (10 * s, 16 * s),
                   (6 * s, 16 * s)], fill=WHITE)
        if muted:
            d.line([(19 * s, 9 * s), (26 * s, 17 * s)], fill=(255, 90, 90), width=2 * s)
            d.line([(26 * s, 9 * s), (19 * s, 17 * s)], fill=(255, 90, 90), width=2 * s)
        else:
            d.arc([13 * s, 8 * s, 23 * s, 18 * s], -50, 50, fill=WHITE, width=2 * s)
            d.arc([12 * s, 4 * s, 28 * s, 22 * s], -50, 50, fill=WHITE, width=2 * s)
    return im.smooth(w, h, paint)


def frame_button(word, hover, danger):
    w, h = 24, 20
    base = (200, 60, 50) if danger and hover else (60, 110, 170) if hover else (40, 70, 110)
    p = im.panel(w, h, 4, im.shade(base, 0.3), base, edge=(200, 210, 230))
    return im.text(p, w / 2, h / 2, word, 14, WHITE, bold=True)


# The table's button sets: name, extension, word on the face (None: the table
# draws its own caption on it), colour, size.
GAME_BUTTON = (72, 32)
ORANGE, BLUE, GREEN, RED_BTN, PURPLE = (235, 130, 30), (50, 120, 200), (40, 150, 80), (200, 60, 50), (130, 80, 190)
BUTTON_SETS = [
    ("Pass", "bmp", "不出", BLUE), ("Outcard", "bmp", "出牌", ORANGE), ("Prompt", "bmp", "提示", GREEN),
    ("OnePoint", "bmp", "1分", ORANGE), ("TwoPoint", "bmp", "2分", ORANGE), ("ThreePoint", "bmp", "3分", ORANGE),
    ("NoPoint", "bmp", "不叫", BLUE), ("Ready", "bmp", "准备", GREEN), ("Double", "bmp", "加倍", ORANGE),
    ("NDouble", "bmp", "不加倍", BLUE), ("fDouble", "bmp", "跟倍", ORANGE), ("NfDouble", "bmp", "不跟倍", BLUE),
    ("Banker", "bmp", "抢地主", ORANGE), ("NoBanker", "bmp", "不抢", BLUE), ("TwoCard", "bmp", "两张", PURPLE),
    ("ThreeCard", "bmp", "三张", PURPLE), ("AutoPlay", "png", "托管", GREEN), ("CancelAutoPlay", "png", None, None),
    ("Exit", "bmp", None, None), ("Sort", "png", None, None),
]
RESULT_SETS = [("GoOnGame", "继续", GREEN), ("BackToLobby", "返回大厅", BLUE)]
CAPTIONED = (190, 215, 240)  # light faces under the table's own black captions
PROMPTS = [("1point", "1分"), ("2point", "2分"), ("3point", "3分"), ("nopoint", "不叫"), ("ready", "准备"),
           ("pass", "不出"), ("double", "加倍"), ("nodouble", "不加倍"), ("fdouble", "跟倍"), ("nofdouble", "不跟倍"),
           ("Banker", "抢地主"), ("NoBanker", "不抢")]
SKIN_BMPS = [("ColumnHeaderSpan", 12, 18), ("ColumnHeaderStart", 4, 18), ("ColumnHeaderEnd", 4, 18),
             ("VerticleScrollbarTop", 12, 3), ("VerticleScrollBarUpArrow", 12, 12), ("VerticleScrollBarSpan", 12, 8),
             ("VerticleScrollBarDownArrow", 12, 12), ("VerticleScrollbarBottom", 12, 3),
             ("VerticleScrollBarThumb", 12, 20), ("HorizontalScrollBarLeftArrow", 12, 12),
             ("HorizontalScrollBarSpan", 8, 12), ("HorizontalScrollBarRightArrow", 12, 12),
             ("HorizontalScrollBarThumb", 20, 12)]
SOUNDS = ["sel", "lose", "win", "card_sent", "clock", "send_card", "pass", "card_out_less_than_3",
          "card_out_less_than_6", "card_out_more_than_6", "0_f", "1_f", "2_f", "3_f", "contest_banker",
          "nocontest_banker", "plane", "double", "bomb"]
MOVIES = ["bomb1", "bomb2", "bomb3", "bomb4", "spring", "antispring", "group"]
# Network quality: Ping1 (under 80 ms) six green bars down to Ping6, one red bar.
PING_COLOURS = [(60, 220, 60), (150, 220, 40), (230, 220, 30), (250, 160, 30), (250, 100, 30), (240, 40, 40)]


def register(a):
    a.text("bin/fenlo/config.ini", CONFIG)
    a.text("bin/fenlo/FENLOMsg.ini", code_table())
    poker = "bin/fenlo/image/poker/"
    for number in range(3, 16):
        for suit in range(1, 5):
            a.png(poker + "card%d_%d.png" % (number, suit), card(number, suit))
    a.png(poker + "card16.png", card(16, 0))
    a.png(poker + "card17.png", card(17, 0))
    a.png(poker + "card_back.png", back((30, 80, 160)))
    a.png(poker + "card_back2.png", back((160, 50, 40)))
    for name, word in PROMPTS:
        a.png("bin/fenlo/image/prompt/%s.png" % name, plaque(84, 30, word, (120, 60, 20), (255, 230, 80)))
    register_table(a)


def register_table(a):
    desk, button = "bin/fenlo/image/desk/", "bin/fenlo/image/button/"
    a.jpg(desk + "bg.jpg", background())
    a.png(desk + "AutoPlay.png", plaque(84, 30, "托管中", (40, 110, 60), (200, 255, 200)))
    a.png(desk + "BankerResult.png", disc_badge(22, "地", (200, 60, 30)))
    a.png(desk + "FarmerResult.png", disc_badge(22, "农", (40, 140, 70)))
    a.png(desk + "countbg.png", counter_box())
    a.png(desk + "countlogo.png", coin(30))
    a.png(desk + "drop.png", clock_frame(False).resize((26, 26), Image.LANCZOS))
    a.png(desk + "PromptBg.png", result_board())
    # Drawn at (150, 237) of the result board, left of its buttons.
    a.png(desk + "Spring.png", badge(56, 24, "春天", (220, 60, 120), size=15))
    a.png(desk + "AntiSpring.png", badge(56, 24, "反春", (120, 60, 200), size=15))
    a.png(desk + "face1.png", smiley(50, 50, (250, 210, 60), hat=True))
    a.png(desk + "face2.png", smiley(50, 51, (250, 220, 150), hat=False))
    a.png(desk + "facebg.png", im.smooth(70, 70, lambda d, s: d.ellipse(
        [0, 0, 70 * s - 1, 70 * s - 1], fill=(255, 255, 255, 70), outline=(255, 230, 150), width=2 * s)))
    a.png(desk + "BankerIcon.png", badge(44, 22, "地主", (200, 60, 30)))
    a.png(desk + "FarmerIcon.png", badge(44, 22, "农民", (40, 140, 70)))
    a.png(desk + "PartnerIcon.png", badge(44, 22, "农民", (30, 120, 140)))
    a.png(desk + "Bomb.png", bomb_icon(24, 24))
    a.png(desk + "Plane.png", plane())
    a.png(desk + "CardNumIcon.png", card_stack_icon())
    a.png(desk + "DoubleIcon.png", badge(40, 24, "倍数", (170, 60, 150), size=12))
    results = [("GameOverIcon1", "胜", (220, 150, 20)), ("GameOverIcon2", "负", (120, 120, 130)),
               ("GameOverIcon3", "胜", (40, 150, 80)), ("GameOverIcon4", "负", (90, 110, 100)),
               ("GameOverFarmer", "农", (40, 140, 70))]
    for i, (name, word, colour) in enumerate(results):
        a.png(desk + name + ".png", disc_badge(40 + (i == 4), word, colour).resize((40, 40 + i), Image.LANCZOS))
    a.png(desk + "PeopleNum.png", digit_strip(9, 13, WHITE, (20, 40, 80), 13))
    a.png(desk + "PeopleNum2.png", digit_strip(12, 18, (255, 220, 60), (90, 40, 0), 18))
    a.png(desk + "RigthBg.png", side_panel())
    a.png(desk + "TimeBg.png", im.strip([clock_frame(False), clock_frame(True)]))
    a.png(desk + "ClockNumber.png", digit_strip(11, 16, (200, 30, 30), (255, 255, 255), 16))
    a.png(desk + "CardNum.png", digit_strip(12, 18, (255, 230, 60), (60, 30, 0), 18))
    a.png(desk + "DoubleInfo.png", digit_strip(12, 19, (255, 120, 200), (80, 0, 40), 19))
    a.png(desk + "BombFlim.png", film(6, 120, 120, "炸弹", (240, 120, 20), "burst"))
    a.png(desk + "SpringFlim.png", film(7, 120, 121, "春天", (240, 90, 150), "sparkle"))
    a.png(desk + "AntiSpringFlim.png", film(6, 120, 122, "反春", (140, 90, 230), "sparkle"))
    a.png(desk + "StraightFilm.png", straight_film())
    a.png(desk + "Report1.png", report("剩1张", (220, 40, 40)))
    a.png(desk + "Report2.png", report("剩2张", (230, 110, 20)))
    for i, colour in enumerate(PING_COLOURS):
        a.png(desk + "Ping%d.png" % (i + 1), ping(6 - i, colour))
    for name, w, h in SKIN_BMPS:
        a.bmp(desk + name + ".bmp", list_skin(name, w, h))
    a.png("bin/Skin/Style1/png/gg.png", avatar(woman=False))
    a.png("bin/Skin/Style1/png/mm.png", avatar(woman=True))

    w, h = GAME_BUTTON
    for name, ext, word, colour in BUTTON_SETS:
        for state in STATES:
            if word is None:
                picture = face(w, h, "", CAPTIONED, state=state)
            else:
                picture = face(w, h, word, colour, state=state)
            write_face(a, button + name + state + "." + ext, picture, ext)
    a.png(button + "AutoPlayDisable.png", im.grey(face(w, h, "托管", GREEN)))
    for name, word, colour in RESULT_SETS:
        for state in STATES:
            a.bmp(button + name + state + ".bmp", face(88, 32, word, colour, state=state))
    for state in STATES:
        a.bmp(button + "ChatSay%s.bmp" % state, face(40, 22, "发送", ORANGE, state=state, size=13))
        a.bmp(button + "ChatExtent%s.bmp" % state, face(34, 22, "快捷", GREEN, state=state, size=13))
    for state, hover in (("Up", False), ("On", True)):
        a.png(button + "MoreSort%s.png" % state, face(62, 22, "更多排名", PURPLE, state=state, size=13))
        a.bmp(button + "Miniz%s.bmp" % state, frame_button("–", hover, False))
        a.bmp(button + "Close%s.bmp" % state, frame_button("×", hover, True))
        a.png(button + "Sound%s.png" % state, speaker(False, hover))
        a.png(button + "Silent%s.png" % state, speaker(True, hover))
    for i, name in enumerate(SOUNDS):
        a.wav("bin/fenlo/sound/%s.wav" % name, freq=300 + 40 * i, ms=120)
    for name in MOVIES:
        # An empty uncompressed movie: header, frame size 0, rate 12, one frame, end tag.
        a.raw("bin/fenlo/flash/%s.swf" % name, b"FWS\x06\x10\x00\x00\x00\x08\x00\x00\x0c\x01\x00\x00\x00")


def card_stack_icon():
    w, h = 24, 24

    def paint(d, s):
        for k, x in enumerate((2, 6, 10)):
            d.rounded_rectangle([x * s, (6 - k * 2) * s, (x + 11) * s, (21 - k * 2) * s], 2 * s, fill=WHITE,
                                outline=(60, 60, 80), width=s)
        d.rectangle([13 * s, 6 * s, 19 * s, 12 * s], fill=(30, 80, 160))
    return im.smooth(w, h, paint)
