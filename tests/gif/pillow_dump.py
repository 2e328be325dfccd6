"""Reads a GIF with Pillow and dumps what it found, for the GIF library's reader tests.

Usage: pillow_dump.py FILE.gif OUTDIR
Writes OUTDIR/info.txt (one line per fact), OUTDIR/indices0.bin (first frame's colour
indices), OUTDIR/palette0.bin (first frame's palette) and OUTDIR/rgbN.bin (frame N as RGB).
"""
import os
import sys

from PIL import GifImagePlugin, Image

GifImagePlugin.LOADING_STRATEGY = GifImagePlugin.LoadingStrategy.RGB_AFTER_FIRST


def main():
    path, out = sys.argv[1], sys.argv[2]
    info = []
    with Image.open(path) as im:
        info.append("format %s" % im.format)
        info.append("version %s" % im.info.get("version", b"").decode("ascii"))
        info.append("size %d %d" % im.size)
        info.append("frames %d" % im.n_frames)
        if "loop" in im.info:
            info.append("loop %d" % im.info["loop"])
        with open(os.path.join(out, "indices0.bin"), "wb") as f:
            f.write(im.tobytes())
        with open(os.path.join(out, "palette0.bin"), "wb") as f:
            f.write(bytes(im.getpalette() or []))
        info.append("mode0 %s" % im.mode)
        for n in range(im.n_frames):
            im.seek(n)
            info.append("duration %d %d" % (n, im.info.get("duration", -1)))
            with open(os.path.join(out, "rgb%d.bin" % n), "wb") as f:
                f.write(im.convert("RGB").tobytes())
    with open(os.path.join(out, "info.txt"), "w") as f:
        f.write("\n".join(info) + "\n")


if __name__ == "__main__":
    main()
