"""Stand-in lobby skin: bin/Skin/Style1/Skin.ini with every section and key,
BMP files for the bitmap keys (the system picture loader reads no PNG), PNG
files for the image keys. Buttons carry the words of what they do; strips hold
four frames (normal, hover, pressed, disabled); shaped backgrounds are magenta
outside their rounded corners."""
import math

from PIL import Image

import imaging as im
from imaging import MAGENTA, WHITE

DIR = "bin/Skin/Style1/"

NAVY = (30, 60, 120)
SKY = (90, 150, 220)
PALE = (230, 240, 250)
INK = (20, 40, 90)
# Caption buttons of the skinned frame: 0 normal, 1 pressed, 2 hover, 3 disabled.
CAPTION_COLOURS = [(50, 100, 180), (25, 55, 110), (90, 150, 230), (150, 150, 150)]
CLOSE_COLOURS = [(50, 100, 180), (140, 35, 30), (215, 70, 55), (150, 150, 150)]
# Symbol strips of picture buttons: 0 normal, 1 hover, 2 pressed, 3 disabled.
RED_COLOURS = [(180, 60, 50), (220, 80, 60), (140, 40, 30), (150, 150, 150)]
# Button strips with words: light, hover lighter, pressed darker, disabled grey.
LOOKS = [0.0, 0.3, -0.25, None]


def button(w, h, word, base, look, size=14, r=5):
    """One face of a worded button; look is a shade, or None for disabled."""
    colour = base if look is not None else (160, 160, 160)
    f = look or 0.0
    top, bottom = im.shade(colour, 0.35 + f), im.shade(colour, -0.15 + f)
    if f < 0:
        top, bottom = bottom, top
    p = im.panel(w, h, r, top, bottom, edge=im.shade(colour, -0.45))
    if word:
        ink = WHITE if look is not None else (225, 225, 225)
        dx = 1 if f < 0 else 0
        im.text_fitted(p, (2 + dx, 1 + dx, w - 4, h - 2), word, size, ink, stroke=1, stroke_fill=im.shade(colour, -0.6))
    return p


def worded_strip(w, h, word, base=(40, 120, 200), size=14, r=5):
    """Four frames of a worded button."""
    return im.strip([button(w, h, word, base, look, size, r) for look in LOOKS])


def symbol_strip(fw, h, paint, colours, r=3):
    """Four frames on the given base colours, each with a white symbol that
    paint(draw, s, w, h) draws; a key pixel in each frame's corner."""
    frames = []
    for col in colours:
        face = im.panel(fw, h, r, col, col, edge=(20, 20, 20))
        im.over(face, im.smooth(fw, h, lambda d, s: paint(d, s, fw, h)))
        frames.append(face)
    return im.strip(frames)


def cross(d, s, w, h, inset=6):
    d.line([(inset * s, (inset - 1) * s), ((w - inset) * s, (h - inset + 1) * s)], fill=WHITE, width=2 * s)
    d.line([((w - inset) * s, (inset - 1) * s), (inset * s, (h - inset + 1) * s)], fill=WHITE, width=2 * s)


def caption_symbols():
    def minimise(d, s, w, h):
        d.rectangle([5 * s, (h - 6) * s, (w - 5) * s, (h - 4) * s], fill=WHITE)

    def maximise(d, s, w, h):
        d.rectangle([5 * s, 4 * s, (w - 5) * s, (h - 4) * s], outline=WHITE, width=2 * s)

    def restore(d, s, w, h):
        d.rectangle([8 * s, 3 * s, (w - 4) * s, (h - 7) * s], outline=WHITE, width=s)
        d.rectangle([4 * s, 7 * s, (w - 8) * s, (h - 3) * s], outline=WHITE, width=2 * s)
    return {"btn_max": maximise, "btn_min": minimise, "btn_close": cross, "btn_normal": restore}


def tile_sheet(base, edge):
    """49 x 49: 3 x 3 tiles one pixel apart (16, 16, 15): a frame, light at
    the top left and dark at the bottom right (so no two tiles are alike),
    round a rounded face of the base colour (the colour the frame's middle is
    filled with). The tiles are copied as they are: no key colour in them."""
    ring = im.new(48, 48)
    light, dark = im.shade(edge, 0.35), im.shade(edge, -0.3)
    for y in range(48):
        for x in range(48):
            ring.putpixel((x, y), im.mix(light, dark, (x + y) / 94) + (255,))
    im.over(ring, im.panel(36, 36, 4, base, base), (6, 6))
    whole = ring.convert("RGB")
    sheet = Image.new("RGB", (49, 49), MAGENTA)
    cuts = [(0, 16), (16, 16), (33, 15)]
    places = [0, 17, 34]
    for row, (sy, sh) in enumerate(cuts):
        for col, (sx, sw) in enumerate(cuts):
            tile = whole.crop((sx, sy, sx + sw, sy + sh))
            sheet.paste(tile, (places[col], places[row]))
    return sheet


def shaped(w, h, top, bottom, r=8):
    return im.panel(w, h, r, top, bottom)


def tree_icon(kind):
    s16 = 16

    def paint(d, s):
        if kind == "room":  # a green table with two chairs
            d.ellipse([2 * s, 4 * s, 14 * s, 12 * s], fill=(40, 150, 80), outline=(20, 80, 40), width=s)
            d.rectangle([0, 6 * s, 2 * s, 10 * s], fill=(150, 90, 40))
            d.rectangle([14 * s, 6 * s, 16 * s, 10 * s], fill=(150, 90, 40))
        elif kind == "missing":  # grey box with a down arrow: not installed
            d.rounded_rectangle([1 * s, 1 * s, 15 * s, 15 * s], 3 * s, fill=(150, 150, 160))
            d.polygon([(4 * s, 7 * s), (12 * s, 7 * s), (8 * s, 13 * s)], fill=WHITE)
            d.rectangle([6.5 * s, 2 * s, 9.5 * s, 7 * s], fill=WHITE)
        elif kind == "game":  # two cards
            d.rounded_rectangle([1 * s, 3 * s, 10 * s, 15 * s], s, fill=WHITE, outline=(60, 60, 60), width=s)
            d.rounded_rectangle([6 * s, 1 * s, 15 * s, 13 * s], s, fill=WHITE, outline=(60, 60, 60), width=s)
            d.polygon([(10.5 * s, 4 * s), (13 * s, 7 * s), (10.5 * s, 10 * s), (8 * s, 7 * s)], fill=(200, 30, 30))
        else:  # an entry: a folder
            d.rectangle([1 * s, 3 * s, 7 * s, 6 * s], fill=(230, 170, 40))
            d.rounded_rectangle([1 * s, 5 * s, 15 * s, 14 * s], s, fill=(250, 200, 60), outline=(180, 120, 20),
                                width=s)
    return im.keyed(im.smooth(s16, s16, paint))


ROOM_GREEN = (89, 158, 3)  # the room view's own background


def desk_face(look):
    """A card table seen from above, a plate for the desk's number below it;
    opaque, on the room view's green (the desk button fills nothing under it)."""
    w, h = 80, 80
    felt = (40, 140, 80) if look is not None else (130, 130, 130)
    f = look or 0.0

    def paint(d, s):
        d.ellipse([8 * s, 6 * s, 72 * s, 58 * s], fill=im.shade((150, 100, 50), f), outline=(90, 60, 30), width=s)
        d.ellipse([14 * s, 11 * s, 66 * s, 53 * s], fill=im.shade(felt, f))
        for k, x in enumerate((26, 33, 40)):
            d.rounded_rectangle([x * s, 24 * s, (x + 12) * s, 40 * s], s, fill=WHITE, outline=(80, 80, 80), width=s)
        d.rounded_rectangle([14 * s, 60 * s, 66 * s, 78 * s], 6 * s, fill=(30, 60, 50))
    return im.over(im.new(w, h, ROOM_GREEN), im.smooth(w, h, paint))


def empty_seat(look):
    """An empty chair: a grey outline on a pale square."""
    w = h = 24
    f = look or 0.0
    back = im.shade((200, 215, 205), f) if look is not None else (170, 170, 170)

    def paint(d, s):
        d.rounded_rectangle([0, 0, 23 * s, 23 * s], 4 * s, fill=back, outline=(120, 130, 125), width=s)
        d.rounded_rectangle([6 * s, 3 * s, 18 * s, 12 * s], 2 * s, outline=(110, 110, 110), width=s)
        d.rectangle([5 * s, 12 * s, 19 * s, 15 * s], outline=(110, 110, 110), width=s)
        d.line([(7 * s, 15 * s), (7 * s, 21 * s)], fill=(110, 110, 110), width=s)
        d.line([(17 * s, 15 * s), (17 * s, 21 * s)], fill=(110, 110, 110), width=s)
    return im.smooth(w, h, paint)


def seated(shirt):
    """A seated player: head and shoulders; the shirt's colour fills the lower
    middle of the picture."""
    w = h = 24

    def paint(d, s):
        d.rounded_rectangle([0, 0, 23 * s, 23 * s], 4 * s, fill=(250, 240, 210))
        d.pieslice([2 * s, 13 * s, 22 * s, 33 * s], 180, 360, fill=shirt)
        d.rectangle([2 * s, 23 * s, 22 * s, 24 * s], fill=shirt)
        d.ellipse([7 * s, 2 * s, 17 * s, 12 * s], fill=(250, 210, 170), outline=(120, 80, 50), width=s)
    p = im.smooth(w, h, paint)
    p.paste(im.new(16, 6, shirt), (4, 17))
    return p


def ready_mark():
    """12 x 8: a red tag with a white tick on its right."""
    p = im.new(12, 8, (250, 20, 20))

    def paint(d, s):
        d.line([(8 * s, 4 * s), (9.5 * s, 6 * s), (11.5 * s, 1 * s)], fill=WHITE, width=s)
    return im.over(p, im.smooth(12, 8, paint))


def spinner():
    frames = []
    for k in range(8):
        def paint(d, s, k=k):
            for i in range(8):
                a = i * math.pi / 4
                age = (k - i) % 8
                col = im.mix((40, 120, 200), (220, 230, 245), age / 7)
                cx, cy = 16 + 10 * math.cos(a), 16 + 10 * math.sin(a)
                d.ellipse([(cx - 3) * s, (cy - 3) * s, (cx + 3) * s, (cy + 3) * s], fill=col)
        frames.append(im.over(im.new(32, 32, WHITE), im.smooth(32, 32, paint)))
    return im.strip(frames)


def emote(colour, frames, mouth):
    out = []
    for i in range(frames):
        def paint(d, s, i=i):
            d.ellipse([2 * s, 2 * s, 22 * s, 22 * s], fill=colour, outline=(120, 80, 0), width=s)
            d.ellipse([7 * s, 8 * s, 10 * s, 11 * s], fill=(0, 0, 0))
            d.ellipse([14 * s, 8 * s, 17 * s, 11 * s], fill=(0, 0, 0))
            if mouth == "smile":
                d.arc([7 * s, (9 + i) * s, 17 * s, (18 + i) * s], 20, 160, fill=(120, 0, 0), width=2 * s)
            else:
                d.arc([7 * s, (15 - i) * s, 17 * s, (23 - i) * s], 200, 340, fill=(120, 0, 0), width=2 * s)
                d.ellipse([(16 - i) * s, 11 * s, (18 - i) * s, 15 * s], fill=(80, 160, 255))
        out.append(im.over(im.new(24, 24, WHITE), im.smooth(24, 24, paint)))
    return out


def system_emote():
    out = []
    for i in range(2):
        p = im.new(24, 24, WHITE)
        colour = (240, 90, 60) if i == 0 else (250, 140, 60)
        im.over(p, im.smooth(24, 24, lambda d, s: d.ellipse([1 * s, 1 * s, 23 * s, 23 * s], fill=colour)))
        out.append(im.text(p, 12, 12, "系", 14, WHITE, bold=True))
    return out


def logo():
    p = im.panel(150, 60, 10, (50, 90, 160), NAVY, edge=(150, 190, 240), width=2)
    im.text(p, 75, 22, "Mirabo", 22, WHITE, stroke=1, stroke_fill=(10, 30, 70))
    im.text(p, 75, 45, "游戏大厅", 14, (255, 220, 120))
    return p


def link_icon(d, s, kind, cx, cy):
    """A white 18 x 18 symbol centred on (cx, cy) for a top link."""
    x0, y0 = (cx - 9) * s, (cy - 9) * s
    P = lambda x, y: (x0 + x * s, y0 + y * s)  # noqa: E731
    w = WHITE
    if kind == "home":
        d.polygon([P(9, 1), P(18, 9), P(0, 9)], fill=w)
        d.rectangle([P(3, 9), P(15, 17)], fill=w)
    elif kind == "gear":
        for k in range(8):
            a = k * math.pi / 4
            d.line([P(9 + 4 * math.cos(a), 9 + 4 * math.sin(a)), P(9 + 8.5 * math.cos(a), 9 + 8.5 * math.sin(a))],
                   fill=w, width=3 * s)
        d.ellipse([P(3, 3), P(15, 15)], fill=w)
        d.ellipse([P(6.5, 6.5), P(11.5, 11.5)], fill=(40, 90, 160))
    elif kind == "coin":
        d.ellipse([P(1, 1), P(17, 17)], fill=(250, 200, 50), outline=w, width=s)
        d.line([P(5, 4), P(9, 9), P(13, 4)], fill=(150, 90, 10), width=2 * s)
        d.line([P(9, 9), P(9, 15)], fill=(150, 90, 10), width=2 * s)
        d.line([P(5, 10), P(13, 10)], fill=(150, 90, 10), width=s)
    elif kind == "talk":
        d.rounded_rectangle([P(0, 2), P(18, 13)], 3 * s, fill=w)
        d.polygon([P(4, 12), P(9, 12), P(3, 17)], fill=w)
    elif kind == "bag":
        d.rounded_rectangle([P(2, 6), P(16, 18)], 2 * s, fill=w)
        d.arc([P(5, 1), P(13, 11)], 180, 360, fill=w, width=2 * s)
    elif kind == "person":
        d.ellipse([P(5, 0), P(13, 8)], fill=w)
        d.pieslice([P(1, 9), P(17, 27)], 180, 360, fill=w)
    elif kind == "help":
        d.ellipse([P(0, 0), P(18, 18)], outline=w, width=2 * s)
        d.arc([P(5, 3), P(13, 10)], 180, 400, fill=w, width=2 * s)
        d.line([P(9, 10), P(9, 12)], fill=w, width=2 * s)
        d.ellipse([P(8, 13.5), P(10, 15.5)], fill=w)
    elif kind == "ticket":
        d.rounded_rectangle([P(0, 3), P(18, 15)], 2 * s, fill=w)
        d.line([P(12, 4), P(12, 14)], fill=(40, 90, 160), width=s)
    else:  # power
        d.arc([P(1, 2), P(17, 18)], 300, 240, fill=w, width=2 * s)
        d.line([P(9, 0), P(9, 9)], fill=w, width=2 * s)


def link_strip(word, kind, base=(40, 100, 180)):
    """Four frames of 32 x 50, a symbol over its word: the top bar's links.
    The player card draws two of these strips whole as its badge."""
    frames = []
    for look in LOOKS:
        colour = base if look is not None else (150, 150, 150)
        f = look or 0.0
        face = im.panel(32, 50, 6, im.shade(colour, 0.3 + f), im.shade(colour, -0.2 + f), edge=im.shade(colour, -0.5))
        im.over(face, im.smooth(32, 50, lambda d, s: link_icon(d, s, kind, 16, 16)))
        im.text_fitted(face, (1, 30, 30, 18), word, 12, WHITE, stroke=1, stroke_fill=im.shade(colour, -0.6))
        frames.append(face)
    return im.strip(frames)


def player_card():
    """The left panel's header, drawn at (10, 10): the player card. The panel
    writes over it: the badge at (15, 17) of the card, the nickname under it,
    money and three rows on the right in dark teal, and the online count in
    light green on the dark band at the bottom (94 to 108)."""
    w, h = 230, 112
    p = im.panel(w, h, 8, (250, 252, 255), (214, 228, 248), edge=(70, 110, 170), width=2)
    title = im.clip(im.vgradient(w, 15, (120, 175, 235), SKY), im.rounded_mask(w, 15, 6))
    im.over(p, title)
    im.text(p, w / 2, 7, "玩家信息", 11, WHITE)
    foot = im.new(w, h)
    foot.paste(im.vgradient(w, 22, (30, 70, 125), (20, 60, 110)), (0, h - 22))
    return im.over(p, im.clip(foot, im.rounded_mask(w, h, 8)))


def hide_arrow(left):
    def paint(d, s, w, h):
        x0, x1 = (w * 0.7, w * 0.3) if left else (w * 0.3, w * 0.7)
        d.polygon([(x1 * s, h / 2 * s), (x0 * s, (h / 2 - 6) * s), (x0 * s, (h / 2 + 6) * s)], fill=WHITE)
    return symbol_strip(12, 40, paint, colours=[SKY, (120, 180, 240), NAVY, (150, 150, 150)])


def register(a):
    bmp = lambda name, picture: a.bmp(DIR + name, picture)  # noqa: E731
    png = lambda name, picture: a.png(DIR + name, picture)  # noqa: E731

    # [face]: the chat emotes, animated 24 x 24 GIFs of two or three frames.
    a.gif(DIR + "face/0.gif", emote((250, 210, 40), 3, "smile"))
    a.gif(DIR + "face/1.gif", emote((90, 160, 240), 2, "cry"))
    a.gif(DIR + "face/system.gif", system_emote())

    # [dialog]: caption buttons (4 frames of 20 x 18) and frame pieces.
    for name, paint in caption_symbols().items():
        bmp("dialog/%s.bmp" % name, symbol_strip(20, 18, paint, CLOSE_COLOURS if name == "btn_close" else CAPTION_COLOURS))
    bmp("dialog/dlg_bg.bmp", im.new(64, 64, PALE))
    band = lambda w: im.vgradient(w, 28, NAVY, SKY)  # noqa: E731
    tl = band(40)
    tl.putpixel((0, 0), MAGENTA + (255,))
    bmp("dialog/dlg_bordertl.bmp", tl)
    bmp("dialog/dlg_bordertm.bmp", band(10))
    tr = band(40)
    tr.putpixel((39, 0), MAGENTA + (255,))
    bmp("dialog/dlg_bordertr.bmp", tr)
    bmp("dialog/dlg_borderl.bmp", im.new(5, 10, (70, 110, 170)))
    bmp("dialog/dlg_borderr.bmp", im.new(5, 10, (70, 111, 170)))
    for name in ("bl", "bm", "br"):
        bmp("dialog/dlg_border%s.bmp" % name, im.new(10, 6, (60, 100, 160)))

    # [bk], [TreeCtrl], [TabCtrl], [png]
    bmp("bk/bk_style1.bmp", tile_sheet((210, 225, 245), (70, 110, 170)))
    bmp("bk/bk_style2.bmp", tile_sheet((210, 225, 245), (40, 130, 90)))
    png("bk/top_bk.png", im.vgradient(20, 100, (120, 175, 235), (200, 222, 248)))
    png("bk/list_top.png", im.vgradient(30, 24, (120, 170, 230), (70, 120, 190)))
    png("tree/tc_top.png", player_card())
    bmp("tree/tc_bk1.bmp", im.new(32, 32, PALE))
    for i, kind in enumerate(("room", "missing", "game", "entry"), 1):
        bmp("tree/ico%d.bmp" % i, tree_icon(kind))
    png("tab/tab_bk.png", im.vgradient(30, 52, (210, 228, 248), (170, 200, 240)))
    # Tabs: left piece 0-30, middle 30-40, right 40-50, 27 high; the page's
    # title is written over them.
    for name, top, bottom in (("tab_bmp1", (255, 255, 255), (210, 230, 250)), ("tab_bmp2", (150, 190, 235),
                                                                                   (100, 150, 215))):
        tab = im.panel(50, 31, 6, top, bottom, edge=(60, 100, 160)).crop((0, 0, 50, 27))
        bmp("tab/%s.bmp" % name, tab)
    png("logo.png", logo())

    # [png_btn]: 0-7 the top links, 8 OK and 9 Cancel (message box strips),
    # 10-13 the room page's quick-join and leave faces (one image per state),
    # 14-16 the chat's emote, colour and clear buttons, 17/18 send, 19 the top
    # bar's close strip, 20 the playing desk's overlay, 21-25 the order page's
    # back, forward, refresh, stop and close strips, 26 the box icon.
    links = [("首页", "home"), ("设置", "gear"), ("充值", "coin"), ("论坛", "talk"), ("商城", "bag"),
             ("资料", "person"), ("帮助", "help"), ("购物", "ticket")]
    for i, (word, kind) in enumerate(links):
        png("btn/btn%d.png" % i, link_strip(word, kind))
    png("btn/btn8.png", worded_strip(64, 24, "确定", (40, 140, 80)))
    png("btn/btn9.png", worded_strip(64, 24, "取消", (150, 100, 60)))
    for i, word, look in ((10, "快速加入", 0.0), (11, "快速加入", 0.3), (12, "离开房间", 0.0), (13, "离开房间", 0.3)):
        png("btn/btn%d.png" % i, button(80, 20, word, (230, 140, 40) if i < 12 else (60, 110, 180), look, size=13))
    for i, word in ((14, "表情"), (15, "颜色"), (16, "清屏")):
        png("btn/btn%d.png" % i, button(44, 22, word, (70, 120, 190), 0.0, size=13))
    png("btn/btn17.png", button(56, 24, "发送", (230, 140, 40), 0.0))
    png("btn/btn18.png", button(56, 24, "发送", (230, 140, 40), 0.3))
    png("btn/btn19.png", link_strip("退出", "power", (190, 60, 50)))
    png("btn/btn20.png", playing_overlay())
    for i, word in enumerate(("后退", "前进", "刷新", "停止", "关闭"), 21):
        png("btn/btn%d.png" % i, worded_strip(56, 24, word))
    png("btn/btn26.png", box_icon())

    # [login_dlg]
    png("login/start_png1.png", button(72, 28, "登录", (40, 140, 80), 0.0, size=16))
    png("login/start_png2.png", button(72, 28, "登录", (40, 140, 80), 0.3, size=16))
    png("login/exit_png1.png", button(72, 28, "退出", (150, 100, 60), 0.0, size=16))
    png("login/exit_png2.png", button(72, 28, "退出", (150, 100, 60), 0.3, size=16))
    png("login/btn_Mirabo.png", worded_strip(72, 24, "账号登录", (40, 120, 200), size=13))
    png("login/btn_partner.png", worded_strip(72, 24, "合作登录", (130, 80, 190), size=13))
    png("login/btn_close.png", symbol_strip(20, 20, cross, colours=RED_COLOURS))
    login = shaped(300, 230, NAVY, SKY)
    for y, word in ((58, "帐号"), (84, "密码")):
        im.text(login, 70, y, word, 14, WHITE)
    im.text(login, 150, 24, "用户登录", 20, WHITE, stroke=1, stroke_fill=NAVY)
    bmp("login/login_bk.bmp", login)
    # The login panel, up, covers the banner's bottom 110 pixels: the title lies
    # above it, over the banner's buttons, left of the version text.
    banner = shaped(300, 200, SKY, PALE)
    im.text(banner, 88, 52, "Mirabo游戏大厅", 20, NAVY)
    bmp("login/login_bk2.bmp", banner)
    # the command-line login's window, exit strip and two pictures
    auto = shaped(320, 160, NAVY, PALE)
    im.text(auto, 160, 24, "Mirabo游戏大厅", 18, WHITE, stroke=1, stroke_fill=NAVY)
    bmp("login/auto_login_bk.bmp", auto)
    png("login/auto_login_exit.png", symbol_strip(16, 16, lambda d, s, w, h: cross(d, s, w, h, 4),
                                                  colours=RED_COLOURS))
    # Two lamps that blink while logging in, flat in their colour round the word.
    for name, colour in (("auto_login_l1", (200, 60, 60)), ("auto_login_l2", (60, 200, 60))):
        lamp = im.panel(60, 30, 6, colour, colour, edge=WHITE)
        png("login/%s.png" % name, im.text(lamp, 30, 15, "登录", 14, WHITE, stroke=1, stroke_fill=im.shade(colour, -0.5)))

    # [dlg_room], [hide_btn], [enter_wait]
    png("room/room_top.png", im.vgradient(30, 60, (60, 110, 180), (30, 70, 140)))
    # desk and empty seat: strips of four faces; pos5 is the ready mark
    png("room/desk.png", im.strip([desk_face(look) for look in LOOKS]))
    png("room/empty_seat.png", im.strip([empty_seat(look) for look in LOOKS]))
    for i, shirt in enumerate([(40, 120, 200), (200, 60, 140), (60, 160, 90), (150, 110, 60)], 1):
        png("room/pos%d.png" % i, seated(shirt))
    png("room/pos5.png", ready_mark())
    png("hide/to_left.png", hide_arrow(True))
    png("hide/to_right.png", hide_arrow(False))
    png("wait/png_wait.png", spinner())

    # [pop_msg]
    pop = im.vgradient(250, 150, SKY, PALE)
    im.text(pop, 125, 14, "系统消息", 13, WHITE, stroke=1, stroke_fill=NAVY)
    png("pop/bk.png", pop)
    close = symbol_strip(16, 16, lambda d, s, w, h: cross(d, s, w, h, 4),
                         colours=RED_COLOURS)
    png("pop/btn_close.png", close)
    bk2 = shaped(260, 160, (40, 40, 90), (90, 90, 160), r=12)
    im.text(bk2, 130, 14, "公告", 13, WHITE)
    bmp("pop/bk2.bmp", bk2)
    png("pop/btn_close2.png", close)

    a.text(DIR + "Skin.ini", SKIN_INI)

    # [update] (named from the program folder): the download dialog's shaped background, progress bar (green
    # to yellow, left to right) and three single-frame cancel images.
    download = shaped(320, 170, NAVY, SKY)
    im.text(download, 160, 18, "下载游戏", 16, WHITE)
    bmp("update/dlg_bk.bmp", download)
    png("update/dlg_pro.png", im.hgradient(310, 12, (0, 200, 0), (230, 230, 0)))
    for name, look in (("btn_c_down", -0.25), ("btn_c_on", 0.3), ("btn_c_up", 0.0)):
        png("update/%s.png" % name, button(60, 20, "取消", (150, 100, 60), look, size=13))


def playing_overlay():
    """Drawn over a desk while its game runs: a banner across the table."""
    p = im.new(80, 80)
    band = im.panel(64, 20, 6, (250, 210, 40), (230, 160, 20), edge=(140, 80, 0))
    im.text(band, 32, 10, "游戏中", 13, (120, 30, 0), bold=True)
    return im.over(p, band, (8, 22))


def box_icon():
    """48 x 48: the lobby message box's yellow sign with an exclamation mark."""
    def paint(d, s):
        d.ellipse([4 * s, 4 * s, 44 * s, 44 * s], fill=(250, 190, 20), outline=(180, 120, 10), width=2 * s)
        d.rounded_rectangle([21 * s, 10 * s, 27 * s, 30 * s], 2 * s, fill=(40, 40, 40))
        d.ellipse([21 * s, 33 * s, 27 * s, 39 * s], fill=(40, 40, 40))
    return im.smooth(48, 48, paint)


SKIN_INI = """[color]
color_key=255 0 255
title_text1=255 255 255
title_text2=160 160 160
bk_color1=230 240 250
bk_color2=210 225 245
right_bk_color1=240 245 255
right_bk_color2=225 235 250
right_text_color1=20 40 90
right_text_color2=90 90 90
right_text_bk1=255 255 255
right_text_bk2=245 245 245

[number]
title_height=28
border_left=5
border_right=5
border_bottom=6

[dialog]
btn_max=dialog\\btn_max.bmp
btn_min=dialog\\btn_min.bmp
btn_close=dialog\\btn_close.bmp
btn_normal=dialog\\btn_normal.bmp
dlg_bg=dialog\\dlg_bg.bmp
dlg_borderbl=dialog\\dlg_borderbl.bmp
dlg_borderbm=dialog\\dlg_borderbm.bmp
dlg_borderbr=dialog\\dlg_borderbr.bmp
dlg_borderl=dialog\\dlg_borderl.bmp
dlg_borderr=dialog\\dlg_borderr.bmp
dlg_bordertl=dialog\\dlg_bordertl.bmp
dlg_bordertm=dialog\\dlg_bordertm.bmp
dlg_bordertr=dialog\\dlg_bordertr.bmp

[bk]
bk_style1=bk\\bk_style1.bmp
bk_style2=bk\\bk_style2.bmp
top_bk=bk\\top_bk.png
list_top=bk\\list_top.png

[TreeCtrl]
tc_mask_color=255 0 255
tc_top=tree\\tc_top.png
tc_bk1=tree\\tc_bk1.bmp
tc_ico_count=4
tc_ico1=tree\\ico1.bmp
tc_ico2=tree\\ico2.bmp
tc_ico3=tree\\ico3.bmp
tc_ico4=tree\\ico4.bmp

[TabCtrl]
tab_bk_color=210 225 245
tab_text_color=20 40 90
tab_text_us_color=255 255 255
tab_bk=tab\\tab_bk.png
tab_bmp1=tab\\tab_bmp1.bmp
tab_bmp2=tab\\tab_bmp2.bmp

[png]
logo=logo.png

[png_btn]
btn_count=27
""" + "".join("btn%d=btn\\btn%d.png\n" % (i, i) for i in range(27)) + """
[login_dlg]
color_key=255 0 255
color_edt_bk=255 255 255
color_edt_text=0 0 0
color_text=20 40 90
color_bk=230 240 250
user_edt_rect=100 48 220 68
pass_edt_rect=100 74 220 94
login_info_rect=20 142 280 166
login_web=0 0 300 40
start_btn_x=60
start_btn_y=172
exit_btn_x=168
exit_btn_y=172
start_png1=login\\start_png1.png
start_png2=login\\start_png2.png
exit_png1=login\\exit_png1.png
exit_png2=login\\exit_png2.png
login_bk=login\\login_bk.bmp
login_bk2=login\\login_bk2.bmp
btn_Mirabo=login\\btn_Mirabo.png
btn_partner=login\\btn_partner.png
btn_close=login\\btn_close.png
auto_login_bk=login\\auto_login_bk.bmp
auto_login_exit=login\\auto_login_exit.png
auto_login_l1=login\\auto_login_l1.png
auto_login_l2=login\\auto_login_l2.png

[dlg_room]
room_top=room\\room_top.png
desk=room\\desk.png
empty_seat=room\\empty_seat.png
pos_count=5
pos1=room\\pos1.png
pos2=room\\pos2.png
pos3=room\\pos3.png
pos4=room\\pos4.png
pos5=room\\pos5.png

[btn_point]
btn_count=9
btn0=160 14
btn1=198 14
btn2=236 14
btn3=274 14
btn4=312 14
btn5=350 14
btn6=388 14
btn7=426 14
btn8=480 14

[text]
text_user=玩家一
text_count=2
text0=欢迎来到游戏大厅
text1=请稍候

[hide_btn]
bmp_to_left=hide\\to_left.png
bmp_to_right=hide\\to_right.png

[enter_wait]
bk_color=255 255 255
frame=8
frame_time=120
png_wait=wait\\png_wait.png

[face]
face_system=face\\system.gif
face_count=2
face_text_0=/wx1
face_file_0=face\\0.gif
face_text_1=/ku1
face_file_1=face\\1.gif

[color_list]
count=6
color1=20 40 90
color2=200 60 20
color3=230 240 250
color4=250 200 60
color5=240 240 240
color6=20 60 110

[style_text]
count=2
text1=普通
id1=1
text2=醒目
id2=2

[pop_msg]
bk=pop\\bk.png
btn_close=pop\\btn_close.png
bk2=pop\\bk2.bmp
btn_close2=pop\\btn_close2.png

[update]
dlg_bk=Skin\\Style1\\update\\dlg_bk.bmp
dlg_pro=Skin\\Style1\\update\\dlg_pro.png
btn_c_down=Skin\\Style1\\update\\btn_c_down.png
btn_c_on=Skin\\Style1\\update\\btn_c_on.png
btn_c_up=Skin\\Style1\\update\\btn_c_up.png
"""
