#!/usr/bin/env python3
"""Makes the stand-in pictures, sounds and skin files the programs need.

Nothing binary is committed: every picture is drawn here with Pillow and the
WenQuanYi Zen Hei font when the build runs; sounds are written with ``wave``.

    gen_assets.py --bin DIR --res DIR [--stamp FILE]

Each module in sets/ defines ``register(a)`` and declares its files through the
``Assets`` object ``a``: a.bmp(path, image), a.png(path, image), a.jpg(path, image),
a.gif(path, frames), a.ico(path, images), a.wav(path, ...), a.text(path, text),
a.raw(path, bytes); images are RGBA ``PIL.Image`` objects. A path starts with
"bin/" (a runtime file placed beside the programs) or "res/" (an input of a
resource script).
"""
import argparse
import importlib.util
import os
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

try:
    import PIL  # noqa: F401
except ImportError:
    sys.exit("gen_assets: %s cannot import Pillow (PIL): install python3-pil" % sys.executable)

import imaging  # noqa: E402


class Assets:
    def __init__(self, roots):
        self.roots = roots
        self.written = []

    def _target(self, path):
        top, _, rest = path.partition("/")
        if top not in self.roots or not rest:
            raise ValueError("asset path must start with bin/ or res/: " + path)
        full = os.path.join(self.roots[top], rest)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        return full

    def _write(self, path, data):
        full = self._target(path)
        # Leave unchanged files alone so resource scripts are not rebuilt needlessly.
        if not (os.path.exists(full) and open(full, "rb").read() == data):
            with open(full, "wb") as f:
                f.write(data)
        self.written.append(path)

    def bmp(self, path, image, bits=24):
        self._write(path, imaging.encode_bmp(image, bits))

    def png(self, path, image):
        self._write(path, imaging.encode_png(image))

    def gif(self, path, frames, delay_cs=20):
        self._write(path, imaging.encode_gif(frames, delay_cs))

    def ico(self, path, images):
        self._write(path, imaging.encode_ico(images))

    def wav(self, path, freq=440.0, ms=200, volume=0.3):
        self._write(path, imaging.encode_wav(freq, ms, volume))

    def jpg(self, path, image, quality=90):
        self._write(path, imaging.encode_jpeg(image, quality))

    def raw(self, path, data):
        self._write(path, data)

    def text(self, path, text, encoding="gbk"):
        # ini files are 8-bit GBK with CR LF line ends, as the programs expect.
        self._write(path, text.replace("\r\n", "\n").replace("\n", "\r\n").encode(encoding))


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--bin", required=True)
    ap.add_argument("--res", required=True)
    ap.add_argument("--stamp")
    args = ap.parse_args()
    started = time.monotonic()
    a = Assets({"bin": args.bin, "res": args.res})
    sets_dir = os.path.join(HERE, "sets")
    for name in sorted(os.listdir(sets_dir)):
        if not name.endswith(".py") or name.startswith("_"):
            continue
        found = importlib.util.spec_from_file_location("assetset_" + name[:-3], os.path.join(sets_dir, name))
        mod = importlib.util.module_from_spec(found)
        found.loader.exec_module(mod)
        mod.register(a)
    if args.stamp:
        with open(args.stamp, "w") as f:
            f.write("\n".join(a.written) + "\n")
    print("assets: %d files in %.1f s" % (len(a.written), time.monotonic() - started))


if __name__ == "__main__":
    main()
