"""The picture the build's smoke program draws and reads back: an orange
gradient inside a two-pixel magenta border."""
from PIL import ImageDraw

import imaging as im


def register(a):
    logo = im.hgradient(64, 32, (255, 128, 0), (255, 230, 160))
    ImageDraw.Draw(logo).rectangle([0, 0, 63, 31], outline=im.MAGENTA, width=2)
    a.bmp("bin/smoke/logo.bmp", logo)
