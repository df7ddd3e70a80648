"""Small pictures the image library's tests decode (bin/testdata/vantor)."""
import imaging as im


def grid():
    """5 x 3, every pixel its own colour: (40x, 100y, 200), opaque."""
    c = im.new(5, 3)
    for y in range(3):
        for x in range(5):
            c.putpixel((x, y), (40 * x, 100 * y, 200, 255))
    return c


def register(a):
    a.png("bin/testdata/vantor/grid.png", grid())
    a.bmp("bin/testdata/vantor/grid.bmp", grid())

    # Alpha steps along the top row: 255, 128, 0, 255 (red, green, blue, white).
    rgba = im.new(4, 2, (10, 20, 30, 255))
    for x, px in enumerate([(255, 0, 0, 255), (0, 255, 0, 128), (0, 0, 255, 0), (255, 255, 255, 255)]):
        rgba.putpixel((x, 0), px)
    a.png("bin/testdata/vantor/rgba.png", rgba)

    # A 6 x 4 BMP with a magenta border around a 4 x 2 orange block.
    keyed = im.new(6, 4, im.MAGENTA)
    keyed.paste(im.new(4, 2, (250, 120, 30)), (1, 1))
    keyed.putpixel((4, 2), (254, 0, 255, 255))  # near the key colour, but not it
    a.bmp("bin/testdata/vantor/keyed.bmp", keyed)

    a.text("bin/testdata/vantor/broken.png", "PNG? not really a picture")
