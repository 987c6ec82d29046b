#!/usr/bin/env python3
"""Makes the fuzz targets' seed corpus under fuzz/corpus/ from the game's own
files and from the forms the tests refuse:

  tga/        every picture the game ships (dist/datafiles.txt) cut to its
              first rows, 4 KiB of pixels at most (24 and 32 bits; a small
              one whole), and the damaged or foreign forms
  map/        kuurakarpalo.map, an open 100 by 60 map, one with sides of 0,
              and files of the wrong size
  mapcells/   small inputs that grow into maps (see mapcells.cpp)
  recording/  the golden recordings "messages" and "death" cut short after
              a checkpoint, "messages" with a digest field taken out and
              one added, and damaged forms
  settings/   a settings file that sets everything, the empty one, and
              damaged ones: bad keys and values, binary junk, long lines

Run from anywhere: python3 fuzz/makecorpus.py. It writes every file anew.
"""
import os
import re
import struct

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CORPUS = os.path.join(ROOT, "fuzz", "corpus")
MAPW = 199
CELLS = MAPW * MAPW


def write(target, name, data):
    folder = os.path.join(CORPUS, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def tgafile(width, height, bpp, pixels, imagetype=2, idlength=0):
    header = bytes([idlength, 0, imagetype, 0, 0, 0, 0, 0, 0, 0, 0, 0])
    return header + struct.pack("<HHBB", width, height, bpp, 0) + b"i" * idlength + pixels


def tga():
    with open(os.path.join(ROOT, "dist", "datafiles.txt")) as f:
        pictures = [line.strip() for line in f if line.strip().endswith(".tga")]
    # The first rows of each picture, under a header that says so.
    for path in pictures:
        with open(os.path.join(ROOT, path), "rb") as f:
            data = f.read()
        width, height, bpp = struct.unpack("<HHB", data[12:17])
        rows = min(height, 4096 // (width * bpp // 8))
        pixels = data[18 : 18 + width * rows * bpp // 8]
        name = os.path.basename(path)
        if rows < height:
            name = name.replace(".tga", "-top.tga")
        write("tga", name, data[:14] + struct.pack("<H", rows) + data[16:18] + pixels)
    rgb = bytes(range(1, 13))
    origin = bytearray(tgafile(2, 2, 24, rgb))
    origin[8] = 1
    refused = {
        "rle.tga": tgafile(2, 2, 24, rgb, imagetype=10),
        "idfield.tga": tgafile(2, 2, 24, rgb, idlength=3),
        "origin.tga": bytes(origin),
        "16bit.tga": tgafile(2, 2, 16, rgb[:8]),
        "zerowide.tga": tgafile(0, 2, 24, rgb),
        "short.tga": tgafile(2, 2, 24, rgb[:11]),
        "header.tga": tgafile(2, 2, 24, b"")[:17],
        "empty.tga": b"",
        "huge.tga": tgafile(65535, 65535, 32, b"ab"),
        "odd24.tga": tgafile(3, 2, 24, bytes(18)),
    }
    for name, data in refused.items():
        write("tga", name, data)


def mapfile(sizex, sizey, light=9, tset=0, stops=()):
    stop = [0] * CELLS
    for c, r in stops:
        stop[r * MAPW + c] = 1
    grids = struct.pack("<%di" % CELLS, *([0] * CELLS)) * 3
    grids += struct.pack("<%di" % CELLS, *([light] * CELLS)) + struct.pack("<%di" % CELLS, *stop)
    return struct.pack("<ii", sizex, sizey) + grids + struct.pack("<i", tset)


def maps():
    with open(os.path.join(ROOT, "kuurakarpalo.map"), "rb") as f:
        write("map", "kuurakarpalo.map", f.read())
    write("map", "open.map", mapfile(100, 60, stops=[(47, 9), (45, 10)]))
    write("map", "sides0.map", mapfile(0, 60, tset=1))
    write("map", "short.map", b"\x64\x00\x00\x00" * 25)
    write("map", "empty.map", b"")

    def cells(base, tset, sizex, sizey, runs=()):
        out = struct.pack("<Bbhh", base, tset, sizex, sizey)
        for layer, first, length, value in runs:
            out += struct.pack("<BHBi", layer, first, length, value)
        return out

    write("mapcells", "game", cells(1, 0, 92, 44))
    write("mapcells", "game-cave", cells(1, 1, 92, 44, [(4, 9 * MAPW + 40, 12, 1), (3, 0, 255, -7)]))
    write("mapcells", "open", cells(0, 0, 100, 60, [(4, 9 * MAPW + 47, 0, 1), (0, 10, 20, -(1 << 31))]))
    write("mapcells", "small", cells(0, 2, 1, 1))
    write("mapcells", "largest", cells(0, -1, 198, 198, [(2, 500, 255, -1), (1, 600, 255, 0x7FFFFFFF)]))
    write("mapcells", "refused", cells(0, 0, 199, -5))
    # Walls, darkness and odd tiles around the hero's start, twelve runs.
    around = [(layer, r * MAPW + 40, 12, value) for r in range(4, 16, 3) for layer, value in
              ((4, 1), (3, 0), (0, 4095))]
    write("mapcells", "around", cells(1, 0, 92, 44, around))


def recordings():
    def cut(name, frames):
        with open(os.path.join(ROOT, "tests", "golden", name + ".rec")) as f:
            lines = f.read().splitlines(keepends=True)
        out = []
        for line in lines:
            out.append(line)
            if line.startswith("c %d " % frames):
                break
        return "".join(out) + "end %d player\n" % frames

    messages = cut("messages", 100)
    write("recording", "messages.rec", messages.encode())
    write("recording", "death.rec", cut("death", 150).encode())
    checkpoint = re.search(r"\nc 50 .*\n", messages).group(0)

    # Checkpoints compared by name: the second field taken out, one added.
    def fields(text, change):
        out = []
        for line in text.splitlines(keepends=True):
            words = line.split()
            if words[0] in ("digest", "c"):
                line = " ".join(change(words, words[0] == "digest")) + "\n"
            out.append(line)
        return "".join(out)

    fewer = fields(messages, lambda w, digest: w[:2 if digest else 3] + w[3 if digest else 4 :])
    more = fields(messages, lambda w, digest: w + ["player.shoesize" if digest else "0000002a"])
    write("recording", "fewer.rec", fewer.encode())
    write("recording", "more.rec", more.encode())
    refused = {
        "empty.rec": "",
        "zip.rec": "PK\x03\x04 a zip file\n",
        "format2.rec": "kuurakarpalo recording 2\n",
        "unended.rec": messages[:-1],
        "noend.rec": messages[: messages.rindex("end")],
        "trailing.rec": messages + "w 1 -----\n",
        "overrun.rec": messages.replace("w 20 -----", "w 31 -----", 1),
        "nocheckpoint.rec": messages.replace(checkpoint, "\n"),
        "badkeys.rec": messages.replace("k S", "k SX", 1),
        "othermap.rec": messages.replace("map 792032", "map 792031"),
        "interval.rec": messages.replace("checkpoints 50", "checkpoints 0"),
        "twice.rec": messages.replace(" finalscore ", " score ", 1),
        "foreign.rec": fields(messages, lambda w, digest: [w[0]] + ["old." + x for x in w[1:]] if digest else w),
    }
    for name, text in refused.items():
        write("recording", name, text.encode("latin-1"))


def settings():
    good = (
        "# Kuurakarpalo\n"
        "fullscreen = no\n"
        "window-size = 1280x960\n"
        "sound = yes\n"
        "music-volume = 64\n"
        "effects-volume = 100  # a comment\n"
        "language = en_GB.UTF-8\n"
        "key-up = Up W\n"
        "key-down = Down S\n"
        "key-left = Left A\n"
        "key-right = Right D\n"
        "key-swing = Space Return KP0\n"
        "key-quit = Escape\n"
        "key-pause = none\n"
    )
    write("settings", "good.conf", good.encode())
    write("settings", "windows.conf", ("\ufeff" + good.replace("\n", "\r\n")).encode("utf-8"))
    write("settings", "empty.conf", b"")
    bad = (
        "bogus = 1\n"
        "fullscreen\n"
        "= yes\n"
        "sound =\n"
        "sound = maybe\n"
        "music-volume = 129\n"
        "window-size = 0x768\n"
        "language = ../../etc\n"
        "key-up = Up Nosuch\n"
        "key-up = A B C D E F G H I\n"
        "key-up = none Up\n"
        "fullscreen\x01 = yes\n"
    )
    write("settings", "bad.conf", bad.encode())
    write("settings", "long.conf", ("sound = no" + " " * 1100 + "\n").encode())
    write("settings", "junk.conf", bytes((i * 7) % 256 for i in range(512)))


tga()
maps()
recordings()
settings()
