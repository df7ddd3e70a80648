"""The picture the build's smoke program draws and reads back."""
from imaging import Canvas, MAGENTA


def register(a):
    logo = Canvas(64, 32).hgradient(0, 0, 64, 32, (255, 128, 0), (255, 230, 160))
    logo.frame(0, 0, 64, 32, MAGENTA, 2)
    a.bmp("bin/smoke/logo.bmp", logo)
