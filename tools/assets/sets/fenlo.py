"""The card-game client's files below bin/fenlo: its settings, the message code
table of the binary form, and the table pictures (card faces and backs, the
bidding and doubling prompts)."""
from imaging import Canvas

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
    register_result(a)


# ---- the result dialog: its shaped background, row icons, spring pictures
# and the continue / back-to-lobby faces.
def result_background():
    c = Canvas(460, 280, (40, 70, 120))
    c.frame(0, 0, 460, 280, (230, 200, 90), 3)
    return c.round_corners(16, CLEAR)


def register_result(a):
    desk = "bin/fenlo/image/desk/"
    a.png(desk + "PromptBg.png", result_background())
    a.png(desk + "BankerResult.png", Canvas(20, 20, (200, 40, 40)))
    a.png(desk + "FarmerResult.png", Canvas(20, 20, (40, 160, 40)))
    a.png(desk + "Spring.png", Canvas(40, 16, (250, 220, 0)))
    a.png(desk + "AntiSpring.png", Canvas(40, 16, (120, 0, 200)))
    button = "bin/fenlo/image/button/"
    for i, face in enumerate(["Up", "On", "Down"]):
        a.bmp(button + "GoOnGame%s.bmp" % face, Canvas(72, 28, (60, 150 + 30 * i, 60)))
        a.bmp(button + "BackToLobby%s.bmp" % face, Canvas(72, 28, (150 + 30 * i, 60, 60)))
