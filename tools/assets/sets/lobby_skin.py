"""Stand-in lobby skin: bin/Skin/Style1/Skin.ini with every section and key,
BMP files for the bitmap keys (the system picture loader reads no PNG), PNG
files for the image keys. Button strips have four frames of four distinct
colours; shaped backgrounds are magenta outside their rounded corners."""
from imaging import Canvas, MAGENTA

DIR = "bin/Skin/Style1/"

NAVY = (30, 60, 120)
SKY = (90, 150, 220)
PALE = (230, 240, 250)
# Frames 0 normal, 1 hover / pressed, 2 pressed / hover, 3 disabled.
FRAME_COLOURS = [(40, 120, 200), (60, 180, 90), (200, 80, 40), (150, 150, 150)]


def strip(fw, h, colours=FRAME_COLOURS, corner=True):
    c = Canvas(fw * len(colours), h)
    for i, col in enumerate(colours):
        c.rect(i * fw, 0, fw, h, col)
        c.frame(i * fw, 0, fw, h, (20, 20, 20))
        if corner:
            c.put(i * fw, 0, MAGENTA)  # one key pixel per frame
    return c


def tile_sheet(base):
    """49 x 49: 3 x 3 tiles one pixel apart, each its own shade."""
    c = Canvas(49, 49, MAGENTA)
    edges = [(0, 16), (17, 16), (34, 15)]
    for row, (y, h) in enumerate(edges):
        for col, (x, w) in enumerate(edges):
            c.rect(x, y, w, h, tuple(min(255, v + 12 * (row * 3 + col)) for v in base))
    return c


def shaped(w, h, top, bottom, r=8):
    return Canvas(w, h).vgradient(0, 0, w, h, top, bottom).round_corners(r)


def register(a):
    bmp = lambda name, canvas: a.bmp(DIR + name, canvas)  # noqa: E731
    png = lambda name, canvas: a.png(DIR + name, canvas)  # noqa: E731

    # [face]: the chat emotes, animated 24 x 24 GIFs of two or three frames.
    def face(colour, frames):
        out = []
        for i in range(frames):
            c = Canvas(24, 24, (255, 255, 255))
            c.disc(12, 12, 10, colour)
            c.rect(7, 8, 3, 3, (0, 0, 0))
            c.rect(14, 8, 3, 3, (0, 0, 0))
            c.rect(8, 15 + i, 8, 2, (120, 0, 0))
            out.append(c)
        return out

    a.gif(DIR + "face/0.gif", face((250, 210, 40), 3))
    a.gif(DIR + "face/1.gif", face((90, 160, 240), 2))
    a.gif(DIR + "face/system.gif", face((240, 90, 60), 2))

    # [dialog]: caption buttons (4 frames of 20 x 18) and frame pieces.
    for name in ("btn_max", "btn_min", "btn_close", "btn_normal"):
        bmp("dialog/%s.bmp" % name, strip(20, 18))
    bmp("dialog/dlg_bg.bmp", Canvas(64, 64, PALE))
    tl = Canvas(40, 28).vgradient(0, 0, 40, 28, NAVY, SKY)
    tl.put(0, 0, MAGENTA)
    bmp("dialog/dlg_bordertl.bmp", tl)
    bmp("dialog/dlg_bordertm.bmp", Canvas(10, 28).vgradient(0, 0, 10, 28, NAVY, SKY))
    tr = Canvas(40, 28).vgradient(0, 0, 40, 28, NAVY, SKY)
    tr.put(39, 0, MAGENTA)
    bmp("dialog/dlg_bordertr.bmp", tr)
    bmp("dialog/dlg_borderl.bmp", Canvas(5, 10, (70, 110, 170)))
    bmp("dialog/dlg_borderr.bmp", Canvas(5, 10, (70, 111, 170)))
    for name in ("bl", "bm", "br"):
        bmp("dialog/dlg_border%s.bmp" % name, Canvas(10, 6, (60, 100, 160)))

    # [bk], [TreeCtrl], [TabCtrl], [png]
    bmp("bk/bk_style1.bmp", tile_sheet((100, 40, 40)))
    bmp("bk/bk_style2.bmp", tile_sheet((40, 100, 40)))
    png("bk/top_bk.png", Canvas(20, 30).vgradient(0, 0, 20, 30, SKY, PALE))
    png("bk/list_top.png", Canvas(30, 24).hgradient(0, 0, 30, 24, (200, 0, 0), (0, 0, 200)))
    png("tree/tc_top.png", Canvas(120, 20, SKY))
    bmp("tree/tc_bk1.bmp", Canvas(32, 32, PALE))
    for i, col in enumerate([(200, 60, 60), (60, 200, 60), (60, 60, 200)], 1):
        bmp("tree/ico%d.bmp" % i, Canvas(16, 16, MAGENTA).disc(7.5, 7.5, 6, col))
    png("tab/tab_bk.png", Canvas(30, 26).hgradient(0, 0, 30, 26, (0, 200, 0), (200, 200, 0)))
    bmp("tab/tab_bmp1.bmp", Canvas(60, 24, SKY))
    bmp("tab/tab_bmp2.bmp", Canvas(60, 24, PALE))
    png("logo.png", Canvas(120, 40, NAVY))

    # [png_btn]: 27 button images; 8 OK and 9 Cancel strips, 26 the box icon;
    # 10 to 13 the room page's quick-join and leave faces (one image per
    # state), 20 the playing desk's overlay.
    for i in range(27):
        if 10 <= i <= 13:
            png("btn/btn%d.png" % i, Canvas(80, 20, FRAME_COLOURS[i % 2]).frame(0, 0, 80, 20, (20, 20, 20)))
        elif i == 20:
            png("btn/btn20.png", Canvas(80, 80, (0, 0, 0, 0)).disc(39.5, 30, 12, (250, 200, 0)))
        elif i == 26:
            icon = Canvas(48, 48, (0, 0, 0, 0)).disc(23.5, 23.5, 20, (250, 190, 20))
            png("btn/btn26.png", icon.rect(21, 10, 6, 20, (40, 40, 40)).rect(21, 33, 6, 6, (40, 40, 40)))
        else:
            png("btn/btn%d.png" % i, strip(60, 24, corner=False))

    # [login_dlg]
    for name in ("start_png1", "start_png2", "exit_png1", "exit_png2", "btn_Mirabo", "btn_partner", "btn_close"):
        png("login/%s.png" % name, strip(40, 20, corner=False))
    bmp("login/login_bk.bmp", shaped(300, 200, NAVY, SKY))
    bmp("login/login_bk2.bmp", shaped(300, 200, SKY, PALE))
    # the command-line login's window, exit strip and two pictures
    bmp("login/auto_login_bk.bmp", shaped(320, 160, NAVY, PALE))
    png("login/auto_login_exit.png", strip(16, 16, corner=False))
    png("login/auto_login_l1.png", Canvas(60, 30, (200, 60, 60)))
    png("login/auto_login_l2.png", Canvas(60, 30, (60, 200, 60)))

    # [dlg_room], [hide_btn], [enter_wait]
    png("room/room_top.png", Canvas(30, 28).hgradient(0, 0, 30, 28, (0, 0, 200), (200, 0, 200)))
    # desk and empty seat: strips of four faces; pos5 is the ready mark
    png("room/desk.png", strip(80, 80, [(150, 100, 50), (170, 120, 60), (130, 80, 40), (120, 120, 120)], corner=False))
    png("room/empty_seat.png", strip(24, 24, [(200, 200, 200), (220, 220, 220), (180, 180, 180), (150, 150, 150)],
                                     corner=False))
    for i in range(1, 5):
        png("room/pos%d.png" % i, Canvas(24, 24, FRAME_COLOURS[i - 1]))
    png("room/pos5.png", Canvas(12, 8, (250, 20, 20)))
    png("hide/to_left.png", Canvas(8, 40, SKY))
    png("hide/to_right.png", Canvas(8, 40, NAVY))
    png("wait/png_wait.png", strip(32, 32, FRAME_COLOURS * 2, corner=False))

    # [pop_msg]
    png("pop/bk.png", Canvas(250, 150).vgradient(0, 0, 250, 150, SKY, PALE))
    png("pop/btn_close.png", strip(16, 16, corner=False))
    bk2 = shaped(260, 160, (40, 40, 90), (90, 90, 160), r=12)
    bmp("pop/bk2.bmp", bk2)
    png("pop/btn_close2.png", strip(16, 16, corner=False))

    ini = """[color]
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
tc_ico_count=3
tc_ico1=tree\\ico1.bmp
tc_ico2=tree\\ico2.bmp
tc_ico3=tree\\ico3.bmp

[TabCtrl]
tab_bk_color=210 225 245
tab_text_color=20 40 90
tab_text_us_color=90 90 90
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
user_edt_rect=100 80 220 100
pass_edt_rect=100 110 220 130
login_info_rect=20 140 280 170
login_web=0 0 300 40
start_btn_x=60
start_btn_y=170
exit_btn_x=180
exit_btn_y=170
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
btn_count=3
btn0=10 10
btn1=80 10
btn2=150 10

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
    a.text(DIR + "Skin.ini", ini)

    # [update] (named from the program folder): the download dialog's shaped background, progress bar (green
    # to yellow, left to right) and three single-frame cancel images.
    bmp("update/dlg_bk.bmp", shaped(320, 170, NAVY, SKY))
    png("update/dlg_pro.png", Canvas(310, 12).hgradient(0, 0, 310, 12, (0, 200, 0), (230, 230, 0)))
    for name, col in (("btn_c_down", FRAME_COLOURS[2]), ("btn_c_on", FRAME_COLOURS[1]), ("btn_c_up", FRAME_COLOURS[0])):
        png("update/%s.png" % name, Canvas(60, 20, col))
