"""The card-game client's files below bin/fenlo: its settings, the message code
table of the binary form, the table pictures (card faces and backs, prompts,
desk pictures, films and digit strips, button faces, list skins), the sounds
and placeholder movies. Pictures are flat and distinctly coloured, so that one
pixel at an element's anchor shows that it was drawn."""
from imaging import MAGENTA, Canvas

CARD_W, CARD_H = 71, 96
CLEAR = (0, 0, 0, 0)
SUIT_COLORS = {0: (120, 40, 160), 1: (20, 20, 20), 2: (200, 30, 30), 3: (20, 20, 20), 4: (200, 30, 30)}

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


def card(number, suit):
    """A white card, transparent outside its rounded corners, with a suit-coloured
    corner block and one mark per rank step."""
    c = Canvas(CARD_W, CARD_H, (255, 255, 255, 255))
    c.frame(0, 0, CARD_W, CARD_H, (90, 90, 90))
    c.round_corners(4, CLEAR)
    color = SUIT_COLORS[suit]
    c.rect(5, 5, 10, 14, color)
    for i in range(number - 2):
        c.rect(20 + (i % 5) * 9, 30 + (i // 5) * 12, 6, 8, color)
    return c


def back(color):
    c = Canvas(CARD_W, CARD_H, color)
    c.frame(3, 3, CARD_W - 6, CARD_H - 6, (255, 255, 255))
    return c.round_corners(4, CLEAR)


def prompt(color):
    c = Canvas(60, 24, CLEAR)
    return c.rect(2, 2, 56, 20, color).frame(2, 2, 56, 20, (255, 255, 255))


def register(a):
    a.text("bin/fenlo/config.ini", CONFIG)
    a.text("bin/fenlo/FENLOMsg.ini", code_table())
    poker = "bin/fenlo/image/poker/"
    for number in range(3, 16):
        for suit in range(1, 5):
            a.png(poker + "card%d_%d.png" % (number, suit), card(number, suit))
    a.png(poker + "card16.png", card(16, 0))
    a.png(poker + "card17.png", card(17, 0))
    a.png(poker + "card_back.png", back((30, 90, 170)))
    a.png(poker + "card_back2.png", back((170, 60, 30)))
    a.png("bin/fenlo/image/desk/AutoPlay.png", prompt((60, 140, 60)))
    names = ["1point", "2point", "3point", "nopoint", "ready", "pass", "double", "nodouble", "fdouble",
             "nofdouble", "Banker", "NoBanker"]
    for i, name in enumerate(names):
        a.png("bin/fenlo/image/prompt/%s.png" % name, prompt((200 - 12 * i, 120, 40 + 15 * i)))
    register_table(a)


_palette = [0]


def flat(w, h, alpha=False, key=False):
    """A flat picture in the next colour of a fixed sequence, framed in white;
    corners transparent (alpha) or magenta (key)."""
    i = _palette[0] = _palette[0] + 1
    color = (40 + (i * 53) % 190, 40 + (i * 97) % 190, 40 + (i * 151) % 190)
    c = Canvas(w, h, color)
    c.frame(0, 0, w, h, (255, 255, 255))
    if alpha:
        c.round_corners(3, CLEAR)
    elif key:
        c.round_corners(3, MAGENTA)
    return c


def strip(n, w, h, alpha=True):
    """n slices side by side, each its own colour (digits, film frames)."""
    c = Canvas(n * w, h, CLEAR if alpha else (0, 0, 0, 255))
    for k in range(n):
        piece = flat(w, h)
        for y in range(h):
            c.px[y][k * w:(k + 1) * w] = piece.px[y]
    return c


DESK_SIZES = {
    "BankerResult": (80, 40), "FarmerResult": (80, 41), "countbg": (200, 75), "countlogo": (30, 30),
    "drop": (40, 30), "PromptBg": (400, 250), "Spring": (200, 100), "AntiSpring": (200, 101),
    "face1": (50, 50), "face2": (50, 51), "facebg": (70, 70), "PartnerIcon": (24, 24), "FarmerIcon": (24, 25),
    "BankerIcon": (24, 26), "Bomb": (24, 24), "Plane": (200, 80), "CardNumIcon": (24, 24),
    "DoubleIcon": (40, 24), "GameOverIcon1": (40, 40), "GameOverIcon2": (40, 41), "GameOverIcon3": (40, 42),
    "GameOverIcon4": (40, 43), "GameOverFarmer": (40, 44), "PeopleNum": (40, 20), "PeopleNum2": (40, 21),
    "RigthBg": (200, 690),
}
DESK_STRIPS = {  # name: (slices, slice width, height)
    "TimeBg": (2, 50, 50), "ClockNumber": (10, 11, 20), "CardNum": (10, 12, 18), "DoubleInfo": (10, 12, 19),
    "BombFlim": (6, 120, 120), "SpringFlim": (7, 120, 121), "AntiSpringFlim": (6, 120, 122),
    "StraightFilm": (7, 80, 40), "Report1": (2, 40, 30), "Report2": (2, 40, 31),
}
BUTTON_SETS = [  # name, extension, has a pressed face
    ("Pass", "bmp"), ("Outcard", "bmp"), ("Prompt", "bmp"), ("OnePoint", "bmp"), ("TwoPoint", "bmp"),
    ("ThreePoint", "bmp"), ("NoPoint", "bmp"), ("Ready", "bmp"), ("Double", "bmp"), ("NDouble", "bmp"),
    ("fDouble", "bmp"), ("NfDouble", "bmp"), ("Banker", "bmp"), ("NoBanker", "bmp"), ("TwoCard", "bmp"),
    ("ThreeCard", "bmp"), ("AutoPlay", "png"), ("CancelAutoPlay", "png"), ("Exit", "bmp"), ("Sort", "png"),
    ("GoOnGame", "bmp"), ("BackToLobby", "bmp"), ("ChatSay", "bmp"), ("ChatExtent", "bmp"),
]
SKIN_BMPS = ["ColumnHeaderSpan", "ColumnHeaderStart", "ColumnHeaderEnd", "VerticleScrollbarTop",
             "VerticleScrollBarUpArrow", "VerticleScrollBarSpan", "VerticleScrollBarDownArrow",
             "VerticleScrollbarBottom", "VerticleScrollBarThumb", "HorizontalScrollBarLeftArrow",
             "HorizontalScrollBarSpan", "HorizontalScrollBarRightArrow", "HorizontalScrollBarThumb"]
SOUNDS = ["sel", "lose", "win", "card_sent", "clock", "send_card", "pass", "card_out_less_than_3",
          "card_out_less_than_6", "card_out_more_than_6", "0_f", "1_f", "2_f", "3_f", "contest_banker",
          "nocontest_banker", "plane", "double", "bomb"]
MOVIES = ["bomb1", "bomb2", "bomb3", "bomb4", "spring", "antispring", "group"]


def register_table(a):
    desk, button = "bin/fenlo/image/desk/", "bin/fenlo/image/button/"
    bg = Canvas(1040, 720, (20, 90, 60))
    bg.rect(0, 0, 1040, 24, (10, 50, 40))
    a.jpg(desk + "bg.jpg", bg)
    for name, (w, h) in DESK_SIZES.items():
        a.png(desk + name + ".png", flat(w, h, alpha=True))
    for name, (n, w, h) in DESK_STRIPS.items():
        a.png(desk + name + ".png", strip(n, w, h))
    for i in range(1, 7):
        a.png(desk + "Ping%d.png" % i, flat(20, 14))
    for i, name in enumerate(SKIN_BMPS):
        a.bmp(desk + name + ".bmp", flat(12 + i % 3, 14 + i // 3))
    a.png("bin/Skin/Style1/png/gg.png", flat(60, 80, alpha=True))
    a.png("bin/Skin/Style1/png/mm.png", flat(60, 81, alpha=True))
    for name, ext in BUTTON_SETS:
        w, h = (50, 22) if name.startswith("Chat") else (64, 30)
        for state in ("Up", "On", "Down"):
            face = flat(w, h, alpha=ext == "png", key=ext == "bmp")
            (a.png if ext == "png" else a.bmp)(button + name + state + "." + ext, face)
    a.png(button + "AutoPlayDisable.png", flat(64, 30, alpha=True))
    for state in ("Up", "On"):
        a.png(button + "MoreSort%s.png" % state, flat(40, 22, alpha=True))
        a.bmp(button + "Miniz%s.bmp" % state, flat(24, 20, key=True))
        a.bmp(button + "Close%s.bmp" % state, flat(24, 20, key=True))
        a.png(button + "Sound%s.png" % state, flat(30, 26, alpha=True))
        a.png(button + "Silent%s.png" % state, flat(30, 26, alpha=True))
    for i, name in enumerate(SOUNDS):
        a.wav("bin/fenlo/sound/%s.wav" % name, freq=300 + 40 * i, ms=120)
    for name in MOVIES:
        # An empty uncompressed movie: header, frame size 0, rate 12, one frame, end tag.
        a.raw("bin/fenlo/flash/%s.swf" % name, b"FWS\x06\x10\x00\x00\x00\x08\x00\x00\x0c\x01\x00\x00\x00")
