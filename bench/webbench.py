#!/usr/bin/python3
"""The web version's figures beside the native game's, from one run:

  - the full fight's world update and drawing per frame: the same program
    (fightframes) native under the virtual display's llvmpipe and in headless
    Chromium, its WebGL on SwiftShader and on Mesa's llvmpipe through ANGLE's
    OpenGL backend (the native game's rasterizer), run in turns;
  - the bytes the page downloads, each file compressed with gzip;
  - the time from navigation to the first picture shown, on localhost;
  - from touch to the world: the world frames from a touchstart on the
    pad's left to the first world frame that walks left, on a phone.

    bench/webbench.py NATIVE WEBBENCH SITE [ROUNDS]

NATIVE is the native fightframes, WEBBENCH the folder of the web one, SITE
the site (build-web/www). bench/web builds them and runs this.
"""

import gzip
import os
import re
import statistics
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "web"))
from chromium import Browser, Site  # noqa: E402

FRAMES = 400


def figures(lines):
    """{'update': median us, 'draw': ..., 'frame': ...} from fightframes' lines."""
    out = {}
    for line in lines:
        m = re.match(r"(\w+) median ([\d.]+) us", line)
        if m:
            out[m.group(1)] = float(m.group(2))
    return out


def native(program):
    done = subprocess.run([program, str(FRAMES)], capture_output=True, text=True, check=True)
    return figures(done.stdout.splitlines())


# Chromium's WebGL on Mesa's llvmpipe, as the native game draws; the later
# --use-angle wins over the SwiftShader one every browser starts with.
LLVMPIPE = ("--use-gl=angle", "--use-angle=gl-egl", "--ignore-gpu-blocklist")


def web(folder, flags=()):
    # Isolated from other origins, the page's clock counts in microseconds,
    # not in tenths of a millisecond.
    site = Site(folder, headers={"Cross-Origin-Opener-Policy": "same-origin",
                                 "Cross-Origin-Embedder-Policy": "require-corp"})
    browser = Browser(flags)
    try:
        browser.open(site.url("bench.html?%d" % FRAMES))
        browser.wait("window.exitcode !== undefined", 600, step=0.5)
        return figures(browser.eval("window.output"))
    finally:
        browser.close()
        site.close()


def spread(values, form="%.1f"):
    return ("median " + form + " (min " + form + ", max " + form + ")") % (
        statistics.median(values), min(values), max(values))


def main():
    program, benchdir, siteroot = sys.argv[1:4]
    rounds = int(sys.argv[4]) if len(sys.argv) > 4 else 5
    print("== The full fight, %d frames, %d rounds taken in turns (microseconds a frame, each round's median);"
          % (FRAMES, rounds))
    print("   screen: one textured quad over the whole screen, drawn and read back")
    runs = {"native": [], "swiftshader": [], "llvmpipe": []}
    for _ in range(rounds):
        runs["native"].append(native(program))
        runs["swiftshader"].append(web(benchdir))
        runs["llvmpipe"].append(web(benchdir, LLVMPIPE))
    ratio = {}
    for part in ("update", "draw", "frame", "screen"):
        n = [r[part] for r in runs["native"]]
        print("  %-6s native %s" % (part, spread(n)))
        for gl in ("swiftshader", "llvmpipe"):
            w = [r[part] for r in runs[gl]]
            ratio[gl, part] = [b / a for a, b in zip(n, w)]
            print("  %-6s web on %-11s %s; web / native, paired by round: %s"
                  % (part, gl, spread(w), spread(ratio[gl, part], "%.2f")))
    for gl in ("swiftshader", "llvmpipe"):
        over = [f / s for f, s in zip(ratio[gl, "frame"], ratio[gl, "screen"])]
        print("  %s: the fight's ratio over the one-quad floor's %s (goal: at most 1.10)" % (gl, spread(over, "%.2f")))

    print("== What the page downloads, each file gzip -9")
    total = raw = 0
    for name in sorted(os.listdir(siteroot)):
        with open(os.path.join(siteroot, name), "rb") as f:
            data = f.read()
        packed = len(gzip.compress(data, 9))
        total += packed
        raw += len(data)
        print("  %-20s %9d bytes, %9d compressed" % (name, len(data), packed))
    print("  all: %.2f MB, %.2f MB compressed (goal: at most 4 MB)" % (raw / 1e6, total / 1e6))

    print("== Navigation to the first picture shown, localhost, %d loads" % (2 * rounds + 1))
    site = Site(siteroot)
    times = []
    try:
        for _ in range(2 * rounds + 1):
            browser = Browser()
            try:
                browser.open(site.url("index.html?no-sound"))
                times.append(browser.wait("window.kuurakarpalo && kuurakarpalo.firstframe", 60))
            finally:
                browser.close()
    finally:
        site.close()
    print("  %s ms (goal: under 2000 ms)" % spread(times))
    touchlatency(siteroot, rounds)


def touchlatency(siteroot, rounds):
    """The world frames read before each touch, as the page notes them,
    against the first world frame of the recording that walks left."""
    print("== From a touch on left to the first world frame walking left, %d touches (world frames)" % (2 * rounds))
    site = Site(siteroot)
    browser = Browser()
    try:
        browser.phone(844, 390)
        browser.open(site.url("index.html?record&no-sound"))
        browser.wait("window.kuurakarpalo && kuurakarpalo.state == 'running'", 60)
        picture, left = browser.centre("#canvas"), browser.centre('[data-action="left"]')

        def after(n):
            start = browser.eval("kuurakarpalo.shown")
            browser.wait("kuurakarpalo.shown >= %d" % (start + n), 60, step=0.01)
        after(80)
        for wait in (3, 3, 3, 10):
            browser.touch("touchStart", [picture + (1,)])
            after(2)
            browser.touch("touchEnd")
            after(wait)
        for _ in range(2 * rounds):
            browser.touch("touchStart", [left + (1,)])
            after(5)
            browser.touch("touchEnd")
            after(15)
        touched = browser.eval("kuurakarpalo.actions.filter(function (a) {"
                               " return a[0] == 'left' && a[1]; }).map(function (a) { return a[2]; })")
        browser.press("Escape")
        browser.wait("kuurakarpalo.state == 'ended'", 30)
        recording = browser.eval("kuurakarpalo.recording")
    finally:
        browser.close()
        site.close()
    frame, starts = 0, []
    for line in recording.split("\n"):
        if line.startswith("w "):
            n, keys = int(line.split(" ")[1]), line.split(" ")[2]
            if keys[2] == "L" and (not starts or starts[-1][1] != frame):
                starts.append((frame, frame + n))
            frame += n
    # 1: the next world frame read walks.
    lags = [start + 1 - t for t, (start, _) in zip(touched, starts)]
    print("  %s (goal: the next world frame, 1)" % spread(lags, "%.0f"))


if __name__ == "__main__":
    main()
