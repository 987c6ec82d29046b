#!/usr/bin/python3
"""The web version's tests, in headless Chromium against the site that
scripts/web writes (build-web/www/). Run from the project's root:

    tests/web/webtest.py SITE GAME TEST [ARG]

SITE is the site's folder, GAME the native game (for recordings made in the
browser); TEST one of:

    golden NAME   the golden recording NAME plays back, fast, with exit 0
    play          the page starts with the opening message; space closes it,
                  the arrows walk, Escape ends with exit 0; the game recorded
                  meanwhile plays back natively with exit 0, and the native
                  game's pictures of chosen frames match the browser's
                  (GOLDENPICTURES names the native picture taker)
    refusals      a damaged recording gives exit 1, a changed checkpoint 3, a
                  missing one (404) 1, each with its line on the page
    failures      no WebGL, and data that fails to load: exit 1 and a message
    gamepad       a gamepad's stick and buttons reach the game
    sound         the music starts once the page has had a click, the effect
                  plays at the hero's death; ?nosound opens no audio at all
    pictures [DIR]  the golden pictures of tests/golden/pictures.list taken in
                  the browser match the stored ones within the web's
                  tolerance; mismatches are written into DIR
    pause         the picture losing focus pauses the game, focus coming back
                  does not go on, P does; P pauses and Escape ends the paused
                  game; the game recorded plays back natively
    language      ?language=en plays in English in a Finnish browser and
                  ?language=fi in Finnish in an English one; each recording
                  keeps its language and plays back natively

Every page must load without a console error or an uncaught exception,
except where the test makes it fail on purpose.
"""

import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from chromium import Browser, Site  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
GOLDEN = os.path.join(ROOT, "tests", "golden")

failures = []


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what, flush=True)
    if not ok:
        failures.append(what)
    return ok


def ended(browser, timeout):
    """Waits for the game to end; its exit code and the page's state."""
    browser.wait("window.kuurakarpalo && kuurakarpalo.state == 'ended'", timeout)
    return browser.eval("JSON.stringify({code: kuurakarpalo.exitcode, message: kuurakarpalo.message,"
                        " title: document.title, score: kuurakarpalo.score,"
                        " shown: document.getElementById('end').hidden == false,"
                        " text: document.getElementById('end').innerText})")


def state(browser, timeout):
    import json
    return json.loads(ended(browser, timeout))


def frames(browser, n, timeout=60):
    """Lets the game show n more pictures (frames), however slow the machine."""
    start = browser.eval("kuurakarpalo.shown")
    browser.wait("kuurakarpalo.shown >= %d" % (start + n), timeout, step=0.02)


def clean(browser, what):
    errors = browser.errors()
    check(not errors, what + ": no console error or uncaught exception" + ("" if not errors else ": %s" % errors))


def golden(site, name):
    browser = Browser()
    try:
        browser.open(site.url("index.html?play=/golden/%s.rec&fast&nosound" % name))
        s = state(browser, 240)
        check(s["code"] == 0, "%s plays back in the browser with exit 0 (got %s: %s)" % (name, s["code"], s["message"]))
        check(s["title"] == "Kuurakarpalo: exit 0", "the title says the exit code: %r" % s["title"])
        check(s["shown"], "the page shows the end")
        clean(browser, name)
    finally:
        browser.close()


def refusals(site, scratch):
    with open(os.path.join(GOLDEN, "messages.rec")) as f:
        text = f.read()
    lines = text.split("\n")
    # Cut in the middle of a line; and one checkpoint value changed.
    with open(os.path.join(scratch, "cut.rec"), "w") as f:
        f.write(text[: len(text) // 2])
    changed = list(lines)
    for i, line in enumerate(changed):
        if line.startswith("c 100 "):
            words = line.split(" ")
            words[2] = "%08x" % (int(words[2], 16) ^ 1)
            changed[i] = " ".join(words)
            break
    with open(os.path.join(scratch, "changed.rec"), "w") as f:
        f.write("\n".join(changed))
    with open(os.path.join(scratch, "junk.rec"), "wb") as f:
        f.write(bytes(range(256)) * 4)
    cases = [
        ("cut.rec", 1, "ends in the middle of a line"),
        ("junk.rec", 1, "holds a character a recording never has"),
        ("changed.rec", 3, "no longer matches the game"),
        ("missing.rec", 1, "cannot be opened"),
    ]
    for name, code, words in cases:
        browser = Browser()
        try:
            browser.open(site.url("index.html?play=/scratch/%s&fast&nosound" % name))
            s = state(browser, 120)
            check(s["code"] == code, "%s: exit %d (got %s)" % (name, code, s["code"]))
            check(s["title"] == "Kuurakarpalo: exit %d" % code, "%s: the title says it: %r" % (name, s["title"]))
            check(words in s["message"] and s["message"] in s["text"],
                  "%s: the page shows the game's line: %r" % (name, s["message"]))
            if name != "missing.rec":
                clean(browser, name)
        finally:
            browser.close()


def failures_(site):
    browser = Browser(extra_flags=["--disable-webgl", "--disable-3d-apis"])
    try:
        browser.open(site.url("index.html"))
        s = state(browser, 60)
        check(s["code"] == 1 and "WebGL" in s["message"],
              "without WebGL: exit 1 and the reason on the page (got %s: %r)" % (s["code"], s["message"]))
        check(s["title"] == "Kuurakarpalo: exit 1", "without WebGL: the title says it")
    finally:
        browser.close()
    broken = Site(site.root, site.mounts, missing={"/kuurakarpalo.data"})
    browser = Browser()
    try:
        browser.open(broken.url("index.html"))
        s = state(browser, 60)
        check(s["code"] == 1 and "data" in s["message"],
              "data that fails to load: exit 1 and the reason on the page (got %s: %r)" % (s["code"], s["message"]))
        check(s["shown"], "data that fails to load: the page shows the end, not a blank page")
    finally:
        browser.close()
        broken.close()


def samepictures(browser, scratch):
    """The pictures the browser took of the game it played match the native
    game's pictures of the same frames, played back from its recording."""
    taken = browser.eval("kuurakarpalo.pictures.length")
    check(taken == len(PLAYPICTURES), "the browser took %d pictures of %d" % (taken, len(PLAYPICTURES)))
    program = os.environ.get("GOLDENPICTURES")
    if not program or taken != len(PLAYPICTURES):
        check(bool(program), "GOLDENPICTURES names the native picture taker")
        return
    with open(os.path.join(scratch, "pictures.list"), "w") as f:
        for name, world, box in PLAYPICTURES:
            f.write("%s browser %d %d the game played in the browser\n" % (name, world, box))
    done = subprocess.run([program, "--remake", os.path.join(scratch, "pictures.list")], cwd=ROOT,
                          capture_output=True, text=True, timeout=300)
    check(done.returncode == 0, "the native game takes the same pictures (%s)" % done.stderr.strip()[:300])
    for index, (name, _, _) in enumerate(PLAYPICTURES):
        got = compare(browser, index, "/scratch/%s.png" % name)
        check(got["changed"] <= WEBCHANGEDMAX, "%s: the browser's picture is the native one: %d pixels more than "
              "%d levels off (at most %d may be)" % (name, got["changed"], WEBSLACK, WEBCHANGEDMAX))


def closedboth(lines):
    """Whether both opening messages were closed by presses: at least two
    box frames with space, and world frames after the last box frame."""
    presses = [i for i, l in enumerate(lines) if l.startswith("k ") and "S" in l]
    return len(presses) >= 2 and any(l.startswith("w ") for l in lines[presses[-1]:])


# Frames of the game played in the browser whose pictures are compared with
# the native game's pictures of the same frames: the opening message typing,
# and the hero walking right after both messages.
PLAYPICTURES = [("typing", 21, 15), ("walking", 60, 0), ("walked", 90, 0)]


def opening(browser):
    """Gives the running game focus with a click and closes both opening
    messages."""
    import json
    r = json.loads(browser.eval("JSON.stringify(document.getElementById('canvas').getBoundingClientRect())"))
    browser.click(r["x"] + r["width"] / 2, r["y"] + r["height"] / 2)
    # The opening message comes in the 21st world frame and has typed itself
    # out 23 box frames later (38 in English): a press closes it. Of the
    # second message, the first press shows it whole and the next closes
    # it; the last press swings the sword.
    frames(browser, 80)
    for wait in (3, 3, 3, 10):
        browser.press(" ")
        frames(browser, wait)


def play(site, game, scratch):
    browser = Browser()
    try:
        places = ",".join("%d.%d" % (w, b) for _, w, b in PLAYPICTURES)
        browser.open(site.url("index.html?record&nosound&picture=" + places))
        browser.wait("window.kuurakarpalo && kuurakarpalo.state == 'running'", 60)
        check(browser.eval("!document.getElementById('focus').hidden"), "the page asks for a click before the keys")
        opening(browser)
        check(browser.eval("document.activeElement.id") == "canvas", "a click gives the game focus")
        check(browser.eval("document.getElementById('focus').hidden"), "the hint goes once the game has focus")
        browser.key("ArrowRight", True)
        frames(browser, 40)
        browser.key("ArrowRight", False)
        browser.key("ArrowDown", True)
        frames(browser, 20)
        browser.key("ArrowDown", False)
        browser.press(" ")
        frames(browser, 20)
        check(browser.eval("window.scrollY == 0 && window.scrollX == 0"), "the arrows and space do not scroll the page")
        browser.press("Escape")
        s = state(browser, 30)
        check(s["code"] == 0 and s["title"] == "Kuurakarpalo: exit 0", "Escape ends the game with exit 0")
        recording = browser.eval("kuurakarpalo.recording")
        check(bool(recording), "the page offers the recording")
        if recording:
            path = os.path.join(scratch, "browser.rec")
            with open(path, "w") as f:
                f.write(recording)
            samepictures(browser, scratch)
        clean(browser, "play")
    finally:
        browser.close()
    if not recording:
        return
    lines = recording.split("\n")
    walked = [l for l in lines if l.startswith("w ") and l.split(" ")[2][3] == "R"]
    check(len(walked) > 0, "the recording holds frames with the right arrow held")
    check(closedboth(lines), "the recording holds the presses that closed both messages")
    done = subprocess.run([game, "--play", path, "--fast", "--no-sound"], cwd=ROOT,
                          capture_output=True, text=True, timeout=300)
    check(done.returncode == 0, "the game recorded in the browser plays back natively with exit 0 (%d: %s)"
          % (done.returncode, done.stderr.strip()))


def lastshown(browser):
    """When the page last showed a picture, in milliseconds."""
    return browser.eval("kuurakarpalo.swaps[kuurakarpalo.swaps.length - 1]")


def still(browser, seconds):
    """Whether no picture was shown for the seconds after the game settled."""
    browser.pump(0.5)
    before = lastshown(browser)
    browser.pump(seconds)
    return lastshown(browser) == before


def pause(site, game, scratch):
    browser = Browser()
    recording = None
    try:
        browser.open(site.url("index.html?record&nosound"))
        browser.wait("window.kuurakarpalo && kuurakarpalo.state == 'running'", 60)
        opening(browser)
        browser.eval("document.getElementById('canvas').blur()")
        check(still(browser, 1.5), "the picture losing focus pauses the game")
        browser.eval("document.getElementById('canvas').focus()")
        check(still(browser, 1.0), "focus coming back leaves the game paused")
        browser.press("p")
        check(not still(browser, 1.0), "P goes on")
        browser.press("p")
        check(still(browser, 1.0), "P pauses")
        browser.press("Escape")
        s = state(browser, 30)
        check(s["code"] == 0 and s["title"] == "Kuurakarpalo: exit 0", "Escape ends the paused game with exit 0")
        recording = browser.eval("kuurakarpalo.recording")
        clean(browser, "pause")
    finally:
        browser.close()
    if not check(bool(recording), "the page offers the recording"):
        return
    path = os.path.join(scratch, "paused.rec")
    with open(path, "w") as f:
        f.write(recording)
    done = subprocess.run([game, "--play", path, "--fast", "--no-sound"], cwd=ROOT,
                          capture_output=True, text=True, timeout=300)
    check(done.returncode == 0, "the game paused in the browser plays back natively with exit 0 (%d: %s)"
          % (done.returncode, done.stderr.strip()))


def language(site, game, scratch):
    """?language=LANG plays in LANG whatever the browser's own language, and
    the recording keeps it: English, then Finnish, with the browser in the
    other one."""
    for code, browserlanguage in (("en", "fi"), ("fi", "en-US")):
        browser = Browser(extra_flags=["--lang=" + browserlanguage])
        try:
            browser.open(site.url("index.html?record&nosound&language=" + code))
            browser.wait("window.kuurakarpalo && kuurakarpalo.state == 'running'", 60)
            opening(browser)
            browser.press("Escape")
            s = state(browser, 30)
            recording = browser.eval("kuurakarpalo.recording") or ""
            check(s["code"] == 0, "?language=%s: the game ends with exit 0 (%s)" % (code, s["code"]))
            header = recording.split("\nmap ")[0]
            check(("\nlanguage en" in header) == (code == "en"),
                  "?language=%s: the recording's header says so: %r" % (code, header))
            clean(browser, "language " + code)
        finally:
            browser.close()
        path = os.path.join(scratch, "language-%s.rec" % code)
        with open(path, "w") as f:
            f.write(recording)
        done = subprocess.run([game, "--play", path, "--fast", "--no-sound"], cwd=ROOT,
                              capture_output=True, text=True, timeout=300)
        check(done.returncode == 0, "?language=%s: the recording plays back natively (%d: %s)"
              % (code, done.returncode, done.stderr.strip()))


GAMEPAD = """
(function () {
  var pad = { id: 'test pad', index: 0, connected: true, mapping: 'standard', timestamp: 0,
              axes: [0, 0, 0, 0], buttons: [] };
  for (var i = 0; i < 17; i++) pad.buttons.push({ pressed: false, value: 0 });
  window.testpad = pad;
  navigator.getGamepads = function () { return [pad]; };
})();
"""


def gamepad(site):
    browser = Browser()
    try:
        browser.open(site.url("index.html?record&nosound"), before=GAMEPAD)
        browser.wait("window.kuurakarpalo && kuurakarpalo.state == 'running'", 60)
        frames(browser, 80)
        for wait in (3, 3, 3, 10):     # the face button closes the messages as space does
            browser.eval("testpad.buttons[0].pressed = true")
            frames(browser, 2)
            browser.eval("testpad.buttons[0].pressed = false")
            frames(browser, wait)
        browser.eval("testpad.axes[0] = 1")       # the stick to the right
        frames(browser, 20)
        browser.eval("testpad.axes[0] = 0")
        browser.eval("testpad.buttons[15].pressed = true")   # the cross's right
        frames(browser, 20)
        browser.eval("testpad.buttons[15].pressed = false")
        frames(browser, 10)
        browser.eval("testpad.buttons[12].pressed = true")   # the cross's up
        frames(browser, 20)
        browser.eval("testpad.buttons[12].pressed = false")
        frames(browser, 10)
        browser.click(5, 5)
        browser.eval("document.getElementById('canvas').focus()")
        browser.press("Escape")
        s = state(browser, 30)
        check(s["code"] == 0, "the game with a gamepad ends with exit 0")
        recording = browser.eval("kuurakarpalo.recording") or ""
        rows = [l.split(" ") for l in recording.split("\n") if l.startswith("w ")]
        right = sum(int(r[1]) for r in rows if r[2][3] == "R")
        up = sum(int(r[1]) for r in rows if r[2][0] == "U")

        check(right >= 36, "the stick and the cross walk right (%d frames)" % right)
        check(up >= 18, "the cross walks up (%d frames)" % up)
        check(closedboth(recording.split("\n")), "a button closes the messages as space does")
        clean(browser, "gamepad")
    finally:
        browser.close()


def sound(site):
    browser = Browser()
    try:
        browser.open(site.url("index.html"))
        browser.wait("window.kuurakarpalo && kuurakarpalo.state == 'running'", 60)
        browser.pump(1.0)
        rect = browser.eval("JSON.stringify(document.getElementById('canvas').getBoundingClientRect())")
        import json
        r = json.loads(rect)
        browser.click(r["x"] + 10, r["y"] + 10)
        running = browser.wait("Module.sounds.context() == 'running' && Module.sounds.music > 0", 10)
        check(bool(running), "after a click the audio runs and the music has started (%s, %s)"
              % (browser.eval("Module.sounds.context()"), browser.eval("Module.sounds.music")))
        clean(browser, "sound")
    finally:
        browser.close()
    browser = Browser()
    try:
        browser.open(site.url("index.html?play=/golden/death.rec&fast"))
        state(browser, 240)
        check(browser.eval("Module.sounds.effects") >= 1, "the effect plays at the hero's death")
    finally:
        browser.close()
    browser = Browser()
    try:
        browser.open(site.url("index.html?nosound&play=/golden/death.rec&fast"))
        s = state(browser, 240)
        check(s["code"] == 0 and browser.eval("Module.sounds.context()") == "none"
              and browser.eval("Module.sounds.music + Module.sounds.effects") == 0,
              "?nosound opens no audio and plays nothing")
    finally:
        browser.close()


# The tolerance between the browser's pictures and the native ones.
# SwiftShader and llvmpipe rasterise alike but not the same: a texel of a
# sprite at a fraction of a pixel, or the edge of a rotated quad (the swords),
# may land on the neighbouring pixel, and a colour may round a few levels
# apart. So a pixel counts as off only when no pixel of the other picture at
# most one away is within WEBSLACK levels of it. The golden pictures give up
# to 240 such pixels; a missing texture (the blade, the monsters, the font)
# gives 900 to 2,900 in every picture that shows it.
WEBSLACK = 8        # levels of 255 a channel may be off
WEBCHANGEDMAX = 400  # pixels of 786,432 that may be off by more


def readpicturelist():
    """The golden pictures taken from recordings: (name, recording, world, box)."""
    shots = []
    with open(os.path.join(GOLDEN, "pictures.list")) as f:
        for line in f:
            words = line.split()
            if not words or words[0].startswith("#") or words[3].startswith("question:"):
                continue
            shots.append((words[0], words[1], int(words[2]), int(words[3])))
    return shots


COMPARE = """
(async function (index, name, slack) {
  function pixels(url) {
    return new Promise(function (done) {
      var image = new Image();
      image.onload = function () {
        var c = document.createElement('canvas');
        c.width = image.width; c.height = image.height;
        var context = c.getContext('2d');
        context.drawImage(image, 0, 0);
        done(context.getImageData(0, 0, c.width, c.height));
      };
      image.src = url;
    });
  }
  var actual = await pixels(kuurakarpalo.pictures[index]);
  var expected = await pixels(name);
  var a = actual.data, e = expected.data, changed = 0, largest = 0, w = actual.width, h = actual.height;
  // How far pixel i of the browser's picture is from pixel j of the stored one.
  function off(i, j) {
    return Math.max(Math.abs(a[i] - e[j]), Math.abs(a[i + 1] - e[j + 1]), Math.abs(a[i + 2] - e[j + 2]));
  }
  var c = document.createElement('canvas');
  c.width = actual.width; c.height = actual.height;
  var context = c.getContext('2d');
  var diff = context.createImageData(c.width, c.height);
  for (var i = 0; i < a.length; i += 4) {
    var most = off(i, i);
    // A pixel off at its own place still counts as drawn alike when the
    // stored picture has its colour one pixel away: a texel or an edge
    // rounded to the neighbouring pixel.
    if (most > slack) {
      var x = (i >> 2) %% w, y = Math.floor((i >> 2) / w);
      for (var dy = -1; dy <= 1 && most > slack; dy++)
        for (var dx = -1; dx <= 1 && most > slack; dx++) {
          var nx = x + dx, ny = y + dy;
          if (nx >= 0 && ny >= 0 && nx < w && ny < h) most = Math.min(most, off(i, (ny * w + nx) * 4));
        }
    }
    largest = Math.max(largest, most);
    if (most > slack) changed++;
    var grey = (e[i] + e[i + 1] + e[i + 2]) / 9;
    diff.data[i] = most > slack ? 255 : grey;
    diff.data[i + 1] = grey;
    diff.data[i + 2] = most > 0 && most <= slack ? 255 : grey;
    diff.data[i + 3] = 255;
  }
  context.putImageData(diff, 0, 0);
  return JSON.stringify({changed: changed, largest: largest, size: [actual.width, actual.height],
                         diff: c.toDataURL('image/png')});
})(%d, %s, %d)
"""


def compare(browser, index, expected):
    """How the browser's picture index differs from the picture at the path
    expected, under the web's tolerance."""
    import json
    return json.loads(browser.eval(COMPARE % (index, json.dumps(expected), WEBSLACK)))


def pictures(site, into):
    import base64
    import json
    shots = readpicturelist()
    check(len(shots) > 0, "the list names pictures to take")
    for recording in sorted(set(s[1] for s in shots)):
        mine = [s for s in shots if s[1] == recording]
        places = ",".join("%d.%d" % (s[2], s[3]) for s in mine)
        browser = Browser()
        try:
            browser.open(site.url("index.html?play=/golden/%s.rec&fast&nosound&picture=%s" % (recording, places)))
            s = state(browser, 240)
            check(s["code"] == 0, "%s plays back with its pictures taken (exit %s)" % (recording, s["code"]))
            for index, shot in enumerate(mine):
                got = compare(browser, index, "/golden/%s.png" % shot[0])
                ok = got["size"] == [1024, 768] and got["changed"] <= WEBCHANGEDMAX
                where = ""
                if not ok and into:
                    os.makedirs(into, exist_ok=True)
                    for kind, url in (("actual", browser.eval("kuurakarpalo.pictures[%d]" % index)),
                                      ("diff", got["diff"])):
                        with open(os.path.join(into, "%s.web-%s.png" % (shot[0], kind)), "wb") as f:
                            f.write(base64.b64decode(url.split(",", 1)[1]))
                    where = "; the browser's picture and the difference are in " + into
                check(ok, "%s: %d pixels more than %d levels off (at most %d may be), the most %d%s"
                      % (shot[0], got["changed"], WEBSLACK, WEBCHANGEDMAX, got["largest"], where))
            clean(browser, recording)
        finally:
            browser.close()


def main():
    if len(sys.argv) < 4:
        print(__doc__)
        return 2
    site_root, game, test = sys.argv[1], os.path.abspath(sys.argv[2]), sys.argv[3]
    if not os.path.exists(os.path.join(site_root, "index.html")):
        print("no site in %s: build it with scripts/web" % site_root)
        return 1
    scratch = tempfile.mkdtemp(prefix="kuurakarpalo-web-")
    site = Site(site_root, {"/golden/": GOLDEN + "/", "/scratch/": scratch + "/"})
    try:
        if test == "golden":
            golden(site, sys.argv[4])
        elif test == "play":
            play(site, game, scratch)
        elif test == "language":
            language(site, game, scratch)
        elif test == "refusals":
            refusals(site, scratch)
        elif test == "failures":
            failures_(site)
        elif test == "gamepad":
            gamepad(site)
        elif test == "sound":
            sound(site)
        elif test == "pictures":
            pictures(site, sys.argv[4] if len(sys.argv) > 4 else None)
        elif test == "pause":
            pause(site, game, scratch)
        else:
            print("unknown test " + test)
            return 2
    finally:
        site.close()
    print("%d failed" % len(failures) if failures else "all passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
