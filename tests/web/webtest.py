#!/usr/bin/python3
"""The web version's tests, in headless Chromium against the site that
scripts/web writes (build-web/www/). Run from the project's root:

    tests/web/webtest.py SITE GAME TEST [ARG]

SITE is the site's folder, GAME the native game (recordings made in the
browser play back on it); TEST is one of the functions named in TESTS,
each with a line saying what it checks. Every page must load without a
console error or an uncaught exception, except where a test makes it fail
on purpose.
"""

import base64
import json
import os
import shutil
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
    return json.loads(ended(browser, timeout))


def frames(browser, n, timeout=60):
    """Lets the game show n more pictures (frames), however slow the machine."""
    start = browser.eval("kuurakarpalo.shown")
    browser.wait("kuurakarpalo.shown >= %d" % (start + n), timeout, step=0.02)


def native(game, scratch, name, recording, what):
    """The recording made in the browser plays back natively with exit 0."""
    path = os.path.join(scratch, name)
    with open(path, "w") as f:
        f.write(recording)
    done = subprocess.run([game, "--play", path, "--fast", "--no-sound"], cwd=ROOT,
                          capture_output=True, text=True, timeout=300)
    check(done.returncode == 0, "%s: the recording plays back natively with exit 0 (%d: %s)"
          % (what, done.returncode, done.stderr.strip()[-300:]))


def clean(browser, what):
    errors = browser.errors()
    check(not errors, what + ": no console error or uncaught exception" + ("" if not errors else ": %s" % errors))


def golden(site, game, scratch, name):
    browser = Browser()
    try:
        browser.open(site.url("index.html?play=/golden/%s.rec&fast&no-sound" % name))
        s = state(browser, 240)
        check(s["code"] == 0, "%s plays back in the browser with exit 0 (got %s: %s)" % (name, s["code"], s["message"]))
        check(s["title"] == "Kuurakarpalo: exit 0", "the title says the exit code: %r" % s["title"])
        check(s["shown"], "the page shows the end")
        clean(browser, name)
    finally:
        browser.close()


def refusals(site, game, scratch):
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
        ("cut.rec", 0, "the game that made it did not finish"),
        ("junk.rec", 1, "holds a character a recording never has"),
        ("changed.rec", 3, "no longer matches the game"),
        ("missing.rec", 1, "cannot be opened"),
    ]
    for name, code, words in cases:
        browser = Browser()
        try:
            browser.open(site.url("index.html?play=/scratch/%s&fast&no-sound" % name))
            s = state(browser, 120)
            check(s["code"] == code, "%s: exit %d (got %s)" % (name, code, s["code"]))
            check(s["title"] == "Kuurakarpalo: exit %d" % code, "%s: the title says it: %r" % (name, s["title"]))
            check(words in s["message"] and s["message"] in s["text"],
                  "%s: the page shows the game's line: %r" % (name, s["message"]))
            if name != "missing.rec":
                clean(browser, name)
        finally:
            browser.close()


def failures_(site, game, scratch):
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


def closedboth(lines):
    """Whether both opening messages were closed by presses: at least two
    box frames with space, and world frames after the last box frame."""
    presses = [i for i, l in enumerate(lines) if l.startswith("k ") and "S" in l]
    return len(presses) >= 2 and any(l.startswith("w ") for l in lines[presses[-1]:])


def opening(browser):
    """Gives the running game focus with a click and closes both opening
    messages."""
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
        browser.open(site.url("index.html?record&no-sound"))
        browser.wait("window.kuurakarpalo && kuurakarpalo.state == 'running'", 60)
        check(browser.eval("!document.getElementById('focus').hidden"), "the page asks for a click before the keys")
        opening(browser)
        check(browser.eval("document.activeElement.id == 'canvas' && document.getElementById('focus').hidden"),
              "a click gives the game focus, and the hint goes")
        browser.key("ArrowRight", True)
        frames(browser, 20)
        browser.key("ArrowRight", False)
        check(browser.eval("window.scrollY == 0 && window.scrollX == 0"), "the arrows and space do not scroll the page")
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
    native(game, scratch, "paused.rec", recording, "pause")


def stored(conf):
    """A script that stores conf as the page's settings before it loads."""
    return "localStorage.setItem('kuurakarpalo.conf', %s)" % json.dumps(conf)


# The language: from a parameter, from the stored settings, a parameter over
# them, and junk stored, each in a browser of another language.
LANGUAGES = [
    ("?language=en", "&language=en", None, "fi", "en"),
    ("stored language = en", "", "language = en\n", "fi", "en"),
    ("?language=fi over the stored en", "&language=fi", "language = en\n", "en-US", "fi"),
    ("junk stored", "", "language = xx\nmusic-volume = 99999999999999\n\u00ff" + "x" * 5000 + "\n", "fi", None),
]


def language(site, game, scratch):
    for what, parameter, conf, browserlanguage, code in LANGUAGES:
        browser = Browser(extra_flags=["--lang=" + browserlanguage])
        try:
            browser.open(site.url("index.html?record&no-sound" + parameter), before=conf and stored(conf))
            browser.wait("window.kuurakarpalo && kuurakarpalo.state == 'running'", 60)
            opening(browser)
            browser.press("Escape")
            s = state(browser, 30)
            recording = browser.eval("kuurakarpalo.recording") or ""
            check(s["code"] == 0, "%s: the game ends with exit 0 (%s)" % (what, s["code"]))
            header = recording.split("\nmap ")[0]
            check(code is None or ("\nlanguage en" in header) == (code == "en"), "%s: the recording says %s: %r" % (what, code, header))
            if conf and "junk" in what:
                warned = [t for _, t in browser.console if "kuurakarpalo.conf" in t]
                check(len(warned) >= 2, "%s: the settings reader's warnings reach the console: %s" % (what, warned))
            clean(browser, what)
        finally:
            browser.close()
        native(game, scratch, "language-%s.rec" % len(what), recording, what)


LAYOUT = """JSON.stringify((function () {
  var c = document.getElementById('canvas').getBoundingClientRect();
  var main = document.getElementById('stage').getBoundingClientRect();
  var out = [].filter.call(document.querySelectorAll('body *'), function (e) {
    var r = e.getBoundingClientRect();
    return r.width && (r.left < -1 || r.top < -1 || r.right > innerWidth + 1 || r.bottom > innerHeight + 1);
  }).map(function (e) { return e.id || e.tagName; });
  var pad = [].map.call(document.querySelectorAll('[data-action]'), function (e) {
    return [e.dataset.action, !!e.getAttribute('aria-label'), e.getBoundingClientRect().width > 0];
  });
  return {width: c.width / innerWidth, height: c.height / main.height, out: out, pad: pad,
          scrolls: document.scrollingElement.scrollHeight > innerHeight || document.scrollingElement.scrollWidth > innerWidth,
          touchaction: getComputedStyle(document.body).touchAction};
})())"""


def held(browser):
    """The actions the touch pad holds down now."""
    return browser.eval("JSON.stringify(kuurakarpalo.actions.reduce(function (h, a) {"
                        " h[a[0]] = a[1]; return h; }, {}))")


def phone(site, game, scratch):
    """A phone in portrait and in landscape: the picture's size, nothing
    outside the screen, no scrolling; played by touch, the game recorded
    plays back natively."""
    for width, height in ((390, 844), (844, 390)):
        what = "%dx%d" % (width, height)
        browser = Browser()
        try:
            browser.phone(width, height)
            browser.open(site.url("index.html?record&no-sound"))
            browser.wait("window.kuurakarpalo && kuurakarpalo.state == 'running'", 60)
            frames(browser, 80)
            got = json.loads(browser.eval(LAYOUT))
            big = got["width"] >= 0.9 if height > width else got["height"] >= 0.9
            check(big, "%s: the picture fills %.0f%% of the width, %.0f%% of the height beside the pad"
                  % (what, 100 * got["width"], 100 * got["height"]))
            check(not got["out"] and not got["scrolls"] and got["touchaction"] == "none",
                  "%s: nothing lies outside the screen %s, nothing scrolls" % (what, got["out"]))
            check(sorted(a for a, label, shown in got["pad"] if label and shown)
                  == ["down", "left", "pause", "right", "swing", "up"], "%s: the pad's parts %s" % (what, got["pad"]))
            if width > height:
                # A turn with a finger down lets go of it.
                browser.touch("touchStart", [browser.centre('[data-action="right"]') + (1,)])
                frames(browser, 3)
                browser.phone(height, width)
                frames(browser, 3)
                check(json.loads(held(browser)).get("right") is False, "%s: a turn lets go of the direction" % what)
                browser.touch("touchEnd")
                clean(browser, what)
                continue
            picture, swing = browser.centre("#canvas"), browser.centre('[data-action="swing"]')
            up, left = browser.centre('[data-action="up"]'), browser.centre('[data-action="left"]')
            corner = (left[0], up[1])
            # The opening messages: a tap on the picture, then the sword.
            for place, wait in ((picture, 3), (picture, 3), (swing, 3), (swing, 10)):
                browser.touch("touchStart", [place + (1,)])
                frames(browser, 2)
                browser.touch("touchEnd")
                frames(browser, wait)
            browser.touch("touchStart", [corner + (1,)])
            frames(browser, 20)
            browser.touch("touchStart", [corner + (1,), swing + (2,)])
            frames(browser, 10)
            browser.touch("touchMove", [(corner[0], corner[1] + 400, 1), swing + (2,)])   # off the pad
            frames(browser, 5)
            browser.touch("touchEnd")
            browser.touch("touchStart", [left + (1,), picture + (2,), swing + (3,), up + (4,), (5, 5, 5)])
            frames(browser, 5)
            browser.touch("touchCancel")
            frames(browser, 10)
            check(not any(json.loads(held(browser)).values()), "touchcancel lets go of everything")
            browser.press("Escape")
            s = state(browser, 30)
            recording = browser.eval("kuurakarpalo.recording") or ""
            check(s["code"] == 0, "the game played by touch ends with exit 0")
            clean(browser, what)
        finally:
            browser.close()
    rows = [l.split(" ") for l in recording.split("\n") if l.startswith("w ")]
    frames_ = lambda keys: sum(int(r[1]) for r in rows if all(k in r[2] for k in keys))
    check(closedboth(recording.split("\n")), "a tap on the picture and the sword close the opening messages")
    check(frames_("UL") >= 25, "the corner between up and left walks diagonally (%d frames)" % frames_("UL"))
    check(frames_("ULS") >= 1, "two fingers walk and swing at once (%d frames)" % frames_("ULS"))
    check(rows[-1][2] == "-----", "nothing stays held at the end: %s" % rows[-1])
    native(game, scratch, "touch.rec", recording, "touch")


def install(site, game, scratch):
    """The manifest and its icons; Chromium finds the page installable."""
    browser = Browser()
    try:
        browser.open(site.url("index.html?no-sound"))
        browser.wait("window.kuurakarpalo && kuurakarpalo.offline && kuurakarpalo.state == 'running'", 60)
        errors = browser.call("Page.getInstallabilityErrors")["installabilityErrors"]
        check(not errors, "Chromium finds the page installable: %s" % errors)
        manifest = json.loads(browser.eval("fetch('manifest.webmanifest').then(function (r) { return r.text(); })"))
        check(manifest["display"] == "standalone" and manifest["short_name"] and manifest["start_url"],
              "the manifest names the app, its start and its display")
        for icon in manifest["icons"]:
            size = browser.eval("new Promise(function (done) { var i = new Image(); i.onload = function () {"
                                " done(i.naturalWidth + 'x' + i.naturalHeight); }; i.src = %s; })" % json.dumps(icon["src"]))
            check(size == icon["sizes"], "%s (%s) is %s" % (icon["src"], icon["purpose"], size))
        check(sorted(i["sizes"] + i["purpose"] for i in manifest["icons"])
              == ["192x192any", "192x192maskable", "512x512any", "512x512maskable"], "icons of 192 and 512, maskable too")
        clean(browser, "install")
    finally:
        browser.close()


def offline(site, game, scratch):
    """After one visit the game plays with the server gone; a rebuilt site
    waits while a game runs and replaces the old one on the next load."""
    root = os.path.join(scratch, "www")
    shutil.copytree(site.root, root)
    mine = Site(root)
    browser = Browser()
    try:
        url = mine.url("index.html?no-sound")
        browser.open(url)
        browser.wait("window.kuurakarpalo && kuurakarpalo.offline && kuurakarpalo.state == 'running'", 60)
        browser.open(url)
        browser.wait("navigator.serviceWorker.controller && window.kuurakarpalo && kuurakarpalo.state == 'running'", 60)
        for name, old, new in (("sw.js", "var BUILD = '", "var BUILD = 'rebuilt"),
                               ("index.html", "<title>", "<meta name='rebuilt'><title>")):
            with open(os.path.join(root, name)) as f:
                text = f.read()
            with open(os.path.join(root, name), "w") as f:
                f.write(text.replace(old, new, 1))
        browser.eval("navigator.serviceWorker.getRegistration().then(function (r) { return r.update(); }).then(function () {})")
        check(browser.wait("kuurakarpalo.update", 30), "a new build arriving during a game: the page says it is ready")
        frames(browser, 20)
        check(browser.eval("kuurakarpalo.state == 'running' && !document.querySelector('meta[name=rebuilt]')"),
              "the game in progress goes on, on the old build")
        browser.open(url)
        check(browser.wait("document.querySelector('meta[name=rebuilt]') && window.kuurakarpalo && kuurakarpalo.state == 'running'", 60),
              "the next load starts the new build")
        check(browser.wait("caches.keys().then(function (k) { return k.length == 1 && /rebuilt/.test(k[0]); })", 10),
              "the old build's store is gone")
        mine.close()
        browser.open(url)
        check(browser.wait("window.kuurakarpalo && kuurakarpalo.state == 'running' && kuurakarpalo.shown > 0", 60),
              "with the server gone, the game loads and plays")
        clean(browser, "offline")
    finally:
        browser.close()


DROP = """(function (text, name) {
  var files = new DataTransfer();
  files.items.add(new File([text], name));
  document.dispatchEvent(new DragEvent('drop', {dataTransfer: files, bubbles: true, cancelable: true}));
})(%s, %s)"""

DOWNLOAD = """new Promise(function (done) {
  HTMLAnchorElement.prototype.click = function () { var a = this; fetch(a.href).then(function (r) { return r.text(); })
    .then(function (t) { done(JSON.stringify({name: a.download, text: t})); }); };
  document.querySelector('#best tbody tr button:nth-of-type(2)').click();
})"""


def kept(site, game, scratch):
    """The games kept in the browser: a closed tab's game, one kept from a
    recording and its row on the end panel, Watch, Download, and a
    recording dropped on the page."""
    browser = Browser()
    with open(os.path.join(GOLDEN, "death.rec")) as f:
        death = f.read()
    try:
        browser.open(site.url("index.html?no-sound"))
        browser.wait("window.kuurakarpalo && kuurakarpalo.state == 'running'", 60)
        opening(browser)
        frames(browser, 120)
        browser.open("about:blank")
        browser.pump(1)
        browser.open(site.url("index.html?no-sound&keep=/golden/death.rec"))
        s = state(browser, 240)
        check(browser.eval("kuurakarpalo.kept.length") == 1, "a closed tab's game is kept")
        rows = browser.eval("JSON.stringify([].map.call(document.querySelectorAll('#best tbody tr'),"
                            " function (r) { return [r.className, r.cells[1].textContent, r.innerText]; }))")
        rows = json.loads(rows)
        check(s["code"] == 0 and len(rows) == 1 and rows[0][0] == "new" and rows[0][1] == "20",
              "the recording kept is the table's row, marked new: %s" % rows)
        got = json.loads(browser.eval(DOWNLOAD))
        check(got["text"] == death and got["name"].endswith(".rec"), "Download saves the recording (%s)" % got["name"])
        browser.eval("document.querySelector('#best tbody tr button').click()")
        browser.wait("/watch=1/.test(location.search)", 10)
        s = state(browser, 240)
        check(s["code"] == 0 and "played to its end" in s["text"], "Watch plays the game back: %r" % s["text"])
        with open(os.path.join(GOLDEN, "messages.rec")) as f:
            browser.eval(DROP % (json.dumps(f.read()), json.dumps("friend.rec")))
        browser.wait("/open/.test(location.search)", 10)
        s = state(browser, 240)
        check(s["code"] == 0 and browser.eval("!document.getElementById('keep').hidden"),
              "a dropped recording plays back, and can be kept (%s)" % s["code"])
        browser.eval(DROP % (json.dumps("\u0000 not a recording"), json.dumps("photo.jpg")))
        browser.wait("window.kuurakarpalo && kuurakarpalo.state != 'ended'", 10)
        s = state(browser, 60)
        check(s["code"] == 1 and s["shown"], "a foreign file dropped: exit 1 and its line (%r)" % s["message"])
    finally:
        browser.close()


GAMEPAD = """
(function () {
  var pad = { id: 'test pad', index: 0, connected: true, mapping: 'standard', timestamp: 0,
              axes: [0, 0, 0, 0], buttons: [] };
  for (var i = 0; i < 17; i++) pad.buttons.push({ pressed: false, value: 0 });
  window.testpad = pad;
  navigator.getGamepads = function () { return [pad]; };
})();
"""


def gamepad(site, game, scratch):
    browser = Browser()
    try:
        browser.open(site.url("index.html?record&no-sound"), before=GAMEPAD)
        browser.wait("window.kuurakarpalo && kuurakarpalo.state == 'running'", 60)
        frames(browser, 80)
        for wait in (3, 3, 3, 10):     # the face button closes the messages as space does
            browser.eval("testpad.buttons[0].pressed = true")
            frames(browser, 2)
            browser.eval("testpad.buttons[0].pressed = false")
            frames(browser, wait)
        # The stick to the right, the cross's right, the cross's up.
        for part, on, off in (("axes[0]", 1, 0), ("buttons[15].pressed", "true", "false"),
                              ("buttons[12].pressed", "true", "false")):
            browser.eval("testpad.%s = %s" % (part, on))
            frames(browser, 20)
            browser.eval("testpad.%s = %s" % (part, off))
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


def sound(site, game, scratch):
    browser = Browser()
    try:
        browser.open(site.url("index.html"))
        browser.wait("window.kuurakarpalo && kuurakarpalo.state == 'running'", 60)
        browser.pump(1.0)
        rect = browser.eval("JSON.stringify(document.getElementById('canvas').getBoundingClientRect())")
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
        browser.open(site.url("index.html?no-sound&play=/golden/death.rec&fast"))
        s = state(browser, 240)
        check(s["code"] == 0 and browser.eval("Module.sounds.context()") == "none"
              and browser.eval("Module.sounds.music + Module.sounds.effects") == 0,
              "?no-sound opens no audio and plays nothing")
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
  }
  return JSON.stringify({changed: changed, largest: largest, size: [actual.width, actual.height]});
})(%d, %s, %d)
"""


def compare(browser, index, expected):
    """How the browser's picture index differs from the picture at the path
    expected, under the web's tolerance."""
    return json.loads(browser.eval(COMPARE % (index, json.dumps(expected), WEBSLACK)))


def pictures(site, game, scratch, into=None):
    shots = readpicturelist()
    check(len(shots) > 0, "the list names pictures to take")
    for recording in sorted(set(s[1] for s in shots)):
        mine = [s for s in shots if s[1] == recording]
        places = ",".join("%d.%d" % (s[2], s[3]) for s in mine)
        browser = Browser()
        try:
            browser.open(site.url("index.html?play=/golden/%s.rec&fast&no-sound&picture=%s" % (recording, places)))
            s = state(browser, 240)
            check(s["code"] == 0, "%s plays back with its pictures taken (exit %s)" % (recording, s["code"]))
            for index, shot in enumerate(mine):
                got = compare(browser, index, "/golden/%s.png" % shot[0])
                ok = got["size"] == [1024, 768] and got["changed"] <= WEBCHANGEDMAX
                where = ""
                if not ok and into:
                    os.makedirs(into, exist_ok=True)
                    where = os.path.join(into, "%s.web-actual.png" % shot[0])
                    with open(where, "wb") as f:
                        f.write(base64.b64decode(browser.eval("kuurakarpalo.pictures[%d]" % index).split(",", 1)[1]))
                    where = "; the browser's picture is " + where
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
    tests = {"golden": golden, "language": language, "refusals": refusals, "failures": failures_,
             "gamepad": gamepad, "sound": sound, "pictures": pictures, "pause": pause, "phone": phone,
             "install": install, "offline": offline, "kept": kept}
    if test not in tests:
        print("unknown test " + test)
        return 2
    try:
        tests[test](site, game, scratch, *sys.argv[4:])
    finally:
        site.close()
    print("%d failed" % len(failures) if failures else "all passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
