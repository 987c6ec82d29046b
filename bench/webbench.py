#!/usr/bin/python3
"""The web version's figures beside the native game's, from one run:

  - the full fight's world update and drawing per frame: the same program
    (fightframes) native under the virtual display's llvmpipe and in headless
    Chromium with SwiftShader, both rendering in software, run in turns;
  - the bytes the page downloads, each file compressed with gzip;
  - the time from navigation to the first picture shown, on localhost.

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


def web(folder):
    # Isolated from other origins, the page's clock counts in microseconds,
    # not in tenths of a millisecond.
    site = Site(folder, headers={"Cross-Origin-Opener-Policy": "same-origin",
                                 "Cross-Origin-Embedder-Policy": "require-corp"})
    browser = Browser()
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
    runs = {"native": [], "web": []}
    for _ in range(rounds):
        runs["native"].append(native(program))
        runs["web"].append(web(benchdir))
    for part in ("update", "draw", "frame", "screen"):
        n = [r[part] for r in runs["native"]]
        w = [r[part] for r in runs["web"]]
        ratios = [b / a for a, b in zip(n, w)]
        print("  %-6s native %s" % (part, spread(n)))
        print("  %-6s web    %s" % (part, spread(w)))
        print("  %-6s web / native, paired by round: %s" % (part, spread(ratios, "%.2f")))

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


if __name__ == "__main__":
    main()
