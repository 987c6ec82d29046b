#!/usr/bin/python3
"""The web version's tests, in headless Chromium. From the project's root:

    tests/web/webtest.py SITE GAME TEST [ARG]

SITE is the site scripts/web writes (build-web/www/), GAME the native game, which plays back what
the browser records, TEST one of TESTS. No page may show a console error or an uncaught exception,
unless a test makes it fail."""

import base64
import contextlib
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


def clean(browser, what):
    errors = [t for level, t in browser.console if level == "error"] + browser.exceptions
    check(not errors, "%s: no console error or uncaught exception %s" % (what, errors or ""))


# The game on the page in that state, not on one left by load.
STATE = "!window.left && window.kuurakarpalo && kuurakarpalo.state == '%s'"


def load(browser, url, before=None, running=True):
    """Navigates to url (marking the last page, whose game no wait may see) and waits for the game to run."""
    browser.eval("window.left = true")
    script = browser.open(url, before)
    if running:
        browser.wait(STATE % "running", 60)
    return script


@contextlib.contextmanager
def page(site, query="", what=None, flags=(), before=None, running=True, phone=None):
    """A browser (or phone) with the page loaded with query unless None, kept clean of errors if what names it."""
    browser = Browser(extra_flags=flags)
    try:
        if phone:
            browser.phone(*phone)
        if query is not None:
            load(browser, site.url("index.html?" + query), before, running)
        yield browser
        if what:
            clean(browser, what)
    finally:
        browser.close()


def ended(browser, code, what, timeout=30):
    """Waits for the game to end with code, said by the title; what the page shows."""
    browser.wait(STATE % "ended", timeout)
    s = browser.eval("({code: kuurakarpalo.exitcode, message: kuurakarpalo.message, title: document.title,"
                     " shown: !document.getElementById('end').hidden, text: document.getElementById('end').innerText,"
                     " recording: kuurakarpalo.recording || ''})")
    check(s["code"] == code and s["title"] == "Kuurakarpalo: exit %d" % code,
          "%s: exit %d, the title says it (got %s, %r: %r)" % (what, code, s["code"], s["title"], s["message"]))
    return s


def closetab(browser):
    """Leaves the page as a closed tab does (one left straight for the next keeps a new worker waiting)."""
    browser.open("about:blank")
    browser.pump(1)


def frames(browser, n, timeout=60):
    """Lets the game show n more pictures (frames), however slow the machine."""
    start = browser.eval("kuurakarpalo.shown")
    browser.wait("kuurakarpalo.shown >= %d" % (start + n), timeout, step=0.02)


def still(browser):
    """Whether no picture was shown for a second after the game settled."""
    browser.pump(0.5)
    before = browser.eval("kuurakarpalo.shown")
    browser.pump(1)
    return browser.eval("kuurakarpalo.shown") == before


def read(path, mode="r"):
    """A golden file's text (bytes in mode "rb"), or any file's by its full path."""
    with open(os.path.join(GOLDEN, path), mode) as f:
        return f.read()


def write(path, content):
    with open(path, "wb" if isinstance(content, bytes) else "w") as f:
        f.write(content)


def native(game, scratch, recording, what):
    """The recording made in the browser plays back natively with exit 0."""
    path = os.path.join(scratch, "native.rec")
    write(path, recording)
    done = subprocess.run([game, "--play", path, "--fast", "--no-sound"], cwd=ROOT, capture_output=True,
                          text=True, timeout=300)
    check(done.returncode == 0, "%s: the recording plays back natively with exit 0 (%d: %s)"
          % (what, done.returncode, done.stderr.strip()[-300:]))


def walks(recording, keys, least, what):
    """Checks that every one of keys is held in least world frames of the recording or more."""
    rows = [l.split(" ") for l in recording.split("\n") if l.startswith("w ")]
    walked = sum(int(r[1]) for r in rows if all(k in r[2] for k in keys))
    check(walked >= least, "%s (%d frames)" % (what, walked))


def closedboth(recording):
    """Whether two box frames or more hold space, and world frames follow the last: both messages closed."""
    lines = recording.split("\n")
    presses = [i for i, l in enumerate(lines) if l.startswith("k ") and "S" in l]
    return len(presses) >= 2 and any(l.startswith("w ") for l in lines[presses[-1]:])


def opening(browser, press=None):
    """After a click, press (space) closes the first message typed out, the second, and swings the sword."""
    browser.click(*browser.centre("#canvas"))
    frames(browser, 80)
    for wait in (3, 3, 3, 10):
        (press or (lambda: browser.press(" ")))()
        frames(browser, wait)


# SwiftShader and llvmpipe may land a texel or a sword's edge on the next pixel
# and round a colour apart: a pixel is off only when none of the other
# picture's at most one away is within WEBSLACK levels. The golden pictures
# give up to 240 such; a missing texture gives 900 to 2,900.
WEBSLACK = 8        # levels of 255 a channel may be off
WEBCHANGEDMAX = 400  # pixels of 786,432 that may be off by more

COMPARE = """(async function (index, name, slack) {
  async function pixels(url) {
    var image = await createImageBitmap(await (await fetch(url)).blob());
    var c = new OffscreenCanvas(image.width, image.height).getContext('2d');
    c.drawImage(image, 0, 0);
    return c.getImageData(0, 0, image.width, image.height);
  }
  var actual = await pixels(kuurakarpalo.pictures[index]), expected = await pixels(name);
  var a = actual.data, e = expected.data, changed = 0, largest = 0, w = actual.width, h = actual.height;
  function off(i, j) { return Math.max(Math.abs(a[i] - e[j]), Math.abs(a[i + 1] - e[j + 1]), Math.abs(a[i + 2] - e[j + 2])); }
  for (var i = 0; i < a.length; i += 4) {
    // The nearest of the stored picture's pixels at most one away.
    var most = 1e9, x = (i >> 2) %% w, y = Math.floor((i >> 2) / w);
    for (var dy = -1; dy <= 1 && most > slack; dy++)
      for (var dx = -1; dx <= 1 && most > slack; dx++)
        if (x + dx >= 0 && y + dy >= 0 && x + dx < w && y + dy < h) most = Math.min(most, off(i, i + (dy * w + dx) * 4));
    largest = Math.max(largest, most);
    changed += most > slack;
  }
  return {changed: changed, largest: largest, size: [w, h]};
})(%d, %s, %d)"""


def golden(site, game, scratch, name, into=None):
    """The golden recording plays back with its golden pictures (a mismatch's left in into); only death heard."""
    shots = [w[:4] for w in map(str.split, read("pictures.list").split("\n"))
             if len(w) > 3 and w[0][0] != "#" and w[1] == name and w[3].isdigit()]
    query = "play=/golden/%s.rec&fast" % name + ("" if name == "death" else "&no-sound")
    if shots:
        query += "&picture=" + ",".join("%s.%s" % (s[2], s[3]) for s in shots)
    with page(site, query, name, running=False) as browser:
        check(ended(browser, 0, name + " plays back in the browser", 240)["shown"], "the page shows the end")
        context, music, effects = browser.eval("[Module.sounds.context(), Module.sounds.music, Module.sounds.effects]")
        check(effects >= 1 if name == "death" else context == "none" and music + effects == 0,
              "the sounds: audio %s, %d music, %d effects" % (context, music, effects))
        for index, shot in enumerate(s[0] for s in shots):
            got = browser.eval(COMPARE % (index, json.dumps("/golden/%s.png" % shot), WEBSLACK))
            ok = got["size"] == [1024, 768] and got["changed"] <= WEBCHANGEDMAX
            if not ok and into:
                os.makedirs(into, exist_ok=True)
                picture = browser.eval("kuurakarpalo.pictures[%d]" % index).split(",", 1)[1]
                write(os.path.join(into, "%s.web-actual.png" % shot), base64.b64decode(picture))
            check(ok, "%s: %d pixels more than %d levels off (at most %d may be), the most %d%s" % (
                shot, got["changed"], WEBSLACK, WEBCHANGEDMAX, got["largest"], "" if ok else "; see " + str(into)))


def refusals(site, game, scratch):
    """Recordings refused, data that fails to load and no WebGL: each its exit code and its line on the page."""
    text = read("messages.rec", "rb")
    head, tail = text.split(b"\nc 100 ", 1)
    value, tail = tail.split(b" ", 1)
    # Cut in the middle of a line; one checkpoint value changed; bytes that
    # no recording holds; and one missing, whose failed fetch is a console
    # error, so last.
    with page(site, None) as browser:
        for name, content, code, words in (
                ("cut.rec", text[: len(text) // 2], 0, "the game that made it did not finish"),
                ("changed.rec", b"%s\nc 100 %08x %s" % (head, int(value, 16) ^ 1, tail), 3, "no longer matches the game"),
                ("junk.rec", bytes(range(256)) * 4, 1, "holds a character a recording never has"),
                ("missing.rec", None, 1, "cannot be opened")):
            if content is None:
                clean(browser, "the refused recordings")
            else:
                write(os.path.join(scratch, name), content)
            load(browser, site.url("index.html?play=/scratch/%s&fast&no-sound" % name), running=False)
            s = ended(browser, code, name, 120)
            check(words in s["message"] and s["message"] in s["text"], "%s: the page shows %r" % (name, s["message"]))
        broken = Site(site.root, site.mounts, missing={"/kuurakarpalo.data"})
        load(browser, broken.url("index.html"), running=False)
        s = ended(browser, 1, "data that fails to load")
        check("data" in s["message"] and s["shown"], "the page shows why, not a blank page: %r" % s["message"])
        broken.close()
    with page(site, flags=["--disable-webgl", "--disable-3d-apis"], running=False) as browser:
        check("WebGL" in ended(browser, 1, "without WebGL")["message"], "without WebGL: the page says why")


GAMEPAD = """(function () {
  var pad = {id: 'test pad', index: 0, connected: true, mapping: 'standard', timestamp: 0, axes: [0, 0, 0, 0], buttons: []};
  for (var i = 0; i < 17; i++) pad.buttons.push({pressed: false, value: 0});
  window.testpad = pad;
  navigator.getGamepads = function () { return [pad]; };
})();"""


def pause(site, game, scratch):
    """Keys and audio after a click, a gamepad, pausing by the focus and P, Escape; played back natively."""
    with page(site, "record", "pause", before=GAMEPAD) as browser:
        def hold(part, on, off, n):
            browser.eval("testpad.%s = %s" % (part, on))
            frames(browser, n)
            browser.eval("testpad.%s = %s" % (part, off))
        check(browser.eval("!document.getElementById('focus').hidden"), "the page asks for a click before the keys")
        opening(browser, lambda: hold("buttons[0].pressed", "true", "false", 2))
        check(browser.eval("document.activeElement.id == 'canvas' && document.getElementById('focus').hidden"),
              "a click gives the game focus, and the hint goes")
        check(browser.wait("Module.sounds.context() == 'running' && Module.sounds.music > 0", 10),
              "after a click the audio runs and the music has started")
        browser.key("ArrowRight", True)
        frames(browser, 20)
        browser.key("ArrowRight", False)
        # The stick to the right, the cross's right, the cross's up.
        for part, on, off in (("axes[0]", 1, 0), ("buttons[15].pressed", "true", "false"),
                              ("buttons[12].pressed", "true", "false")):
            hold(part, on, off, 20)
            frames(browser, 10)
        browser.press(" ")
        check(browser.eval("window.scrollY == 0 && window.scrollX == 0"), "the arrows and space do not scroll the page")
        for act, paused, what in (("blur", True, "the picture losing focus pauses the game"),
                                  ("focus", True, "focus coming back leaves the game paused"),
                                  ("p", False, "P goes on"), ("p", True, "P pauses")):
            if act == "p":
                browser.press("p")
            else:
                browser.eval("document.getElementById('canvas').%s()" % act)
            check(still(browser) == paused, what)
        browser.press("Escape")
        recording = ended(browser, 0, "Escape in the pause")["recording"]
    walks(recording, "R", 56, "the arrow, the stick and the cross walk right")
    walks(recording, "U", 18, "the cross walks up")
    check(closedboth(recording), "a button closes the messages as space does")
    if check(bool(recording), "the page offers the recording"):
        native(game, scratch, recording, "pause")


# The language from a parameter, the stored settings, both, or junk stored, in
# a browser of another language: what, parameter, settings, browser's, game's.
LANGUAGES = [
    ("?language=en", "&language=en", None, "fi", "en"),
    ("stored language = en", "", "language = en\n", "fi", "en"),
    ("?language=fi over the stored en", "&language=fi", "language = en\n", "en-US", "fi"),
    ("junk stored", "", "language = xx\nmusic-volume = 99999999999999\n\u00ff" + "x" * 5000 + "\n", "fi", None),
]


def language(site, game, scratch):
    for what, parameter, conf, browserlanguage, code in LANGUAGES:
        before = conf and "localStorage.setItem('kuurakarpalo.conf', %s)" % json.dumps(conf)
        with page(site, "record&no-sound" + parameter, what, ["--lang=" + browserlanguage], before) as browser:
            opening(browser)
            browser.press("Escape")
            recording = ended(browser, 0, what)["recording"]
            header = recording.split("\nmap ")[0]
            check(code is None or ("\nlanguage en" in header) == (code == "en"), "%s: %r" % (what, header))
            if code is None:
                warned = [t for _, t in browser.console if "kuurakarpalo.conf" in t]
                check(len(warned) >= 2, "%s: the settings reader's warnings reach the console: %s" % (what, warned))
        native(game, scratch, recording, what)


PANEL = """(function () {
  var $ = function (id) { return document.getElementById(id); };
  return {sound: $('s-sound').checked, lefthanded: $('s-lefthanded').checked, language: $('s-language').value,
          languages: [].map.call($('s-language').options, function (o) { return o.value; }),
          volume: [$('s-music-volume').min, $('s-music-volume').max, $('s-music-volume').value],
          up: $('s-key-up').value, padleft: document.body.classList.contains('lefthanded'),
          conf: localStorage.getItem('kuurakarpalo.conf'), old: localStorage.getItem('kuurakarpalo.lefthanded'),
          warned: $('s-warnings').textContent, shown: !$('settings').hidden};
})()"""


def links(site, game, scratch):
    """Parameters the game does not know are ignored; old ones still work; a wrong value still says why.
    The settings panel reads and writes the stored settings through the game."""
    for query, args, code, words in (
            ("fbclid=IwAR0abc&utm_source=x&no-sound", ["--no-sound"], None, "?fbclid is none of the game's options"),
            ("nosound", ["--no-sound"], None, None),
            ("music-volume=loud&no-sound", None, 2, "takes a number from 0 to 128")):
        with page(site, query, query if code is None else None, running=code is None) as browser:
            if code is None:
                got = browser.eval("kuurakarpalo.args")
                warned = [t for _, t in browser.console if words and words in t]
                check(got == args and (not words or len(warned) == 1), "?%s: the game runs with %s (%s)" % (query, got, warned))
            else:
                check(words in ended(browser, code, query)["message"], "?%s: the page says what is wrong" % query)
    before = ("localStorage.setItem('kuurakarpalo.conf', 'sound = off\\n# mine\\nkey-up = w\\n');"
              "localStorage.setItem('kuurakarpalo.lefthanded', '1')")
    with page(site, "no-sound", "the settings panel", before=before) as browser:
        browser.eval("document.getElementById('opensettings').click()")
        got = browser.eval(PANEL)
        check(not got["sound"] and got["lefthanded"] and got["padleft"] and got["old"] is None and got["up"] == "W"
              and got["conf"] == "sound = off\n# mine\nkey-up = w\nleft-handed = yes\n",
              "the panel shows what the game reads; the old left-handed key became a setting: %s" % got)
        check(got["languages"] == ["", "fi", "en"] and got["volume"] == ["0", "128", "128"],
              "the languages and the volumes' range come from the game: %s" % got)
        browser.eval("window.left = true; document.getElementById('s-music-volume').value = 64;"
                     "document.getElementById('s-key-up').value = 'Foo';"
                     "document.getElementById('s-save').click()")
        browser.wait(STATE % "running", 60)
        got = browser.eval(PANEL)
        check(got["conf"] == "sound = off\n# mine\nkey-up = w\nleft-handed = yes\nmusic-volume = 64\n"
              and got["shown"] and "names a key the game does not know: Foo" in got["warned"],
              "saving writes the changes the game takes, keeps every other line, and says what it left out: %s" % got)


LAYOUT = """(function () {
  var c = document.getElementById('canvas').getBoundingClientRect(), main = document.getElementById('stage').getBoundingClientRect();
  var out = [].filter.call(document.querySelectorAll('body *'), function (e) {
    var r = e.getBoundingClientRect();
    return r.width && (r.left < -1 || r.top < -1 || r.right > innerWidth + 1 || r.bottom > innerHeight + 1);
  }).map(function (e) { return e.id || e.tagName; });
  var pad = [].filter.call(document.querySelectorAll('[data-action]'), function (e) {
    return e.getAttribute('aria-label') && e.getBoundingClientRect().width > 0;
  }).map(function (e) { return e.dataset.action; }).sort();
  var page = document.scrollingElement, scrolls = page.scrollHeight > innerHeight || page.scrollWidth > innerWidth;
  return {width: c.width / innerWidth, height: c.height / main.height, out: out, pad: pad, scrolls: scrolls,
          touchaction: getComputedStyle(document.body).touchAction};
})()"""


def layout(browser, what, side):
    """The picture fills 9/10 of side beside the whole pad, and nothing lies outside the screen or scrolls."""
    got = browser.eval(LAYOUT)
    check(got[side] >= 0.9 and not got["out"] and not got["scrolls"] and got["touchaction"] == "none"
          and got["pad"] == ["down", "left", "pause", "right", "swing", "up"], "%s: %s" % (what, got))


def phone(site, game, scratch):
    """A phone's layout in portrait and landscape; played by touch, and back natively; a turn lets go."""
    with page(site, "record&no-sound", "phone", phone=(390, 844)) as browser:
        frames(browser, 80)
        layout(browser, "portrait", "width")
        picture, swing = browser.centre("#canvas"), browser.centre('[data-action="swing"]')
        up, left = browser.centre('[data-action="up"]'), browser.centre('[data-action="left"]')
        corner = (left[0], up[1])
        # The opening messages closed by a tap on the picture, then the sword;
        # the corner between up and left held, a second finger on the sword,
        # the first slid off the pad; five fingers down, the touch cancelled.
        touches = []
        for place, wait in ((picture, 3), (picture, 3), (swing, 3), (swing, 10)):
            touches += [("touchStart", [place + (1,)], 2), ("touchEnd", [], wait)]
        touches += [("touchStart", [corner + (1,)], 20), ("touchStart", [corner + (1,), swing + (2,)], 10),
                    ("touchMove", [(corner[0], corner[1] + 400, 1), swing + (2,)], 5), ("touchEnd", [], 0),
                    ("touchStart", [left + (1,), picture + (2,), swing + (3,), up + (4,), (5, 5, 5)], 5),
                    ("touchCancel", [], 10), ("touchStart", [browser.centre('[data-action="right"]') + (1,)], 3)]
        for kind, points, wait in touches:
            browser.touch(kind, points)
            frames(browser, wait)
        browser.phone(844, 390)
        frames(browser, 3)
        check(browser.eval("(kuurakarpalo.actions.filter(function (a) { return a[0] == 'right'; }).pop() || [])[1]"
                           " === false"), "a turn lets go of the direction")
        browser.touch("touchEnd")
        frames(browser, 10)
        layout(browser, "landscape", "height")
        browser.press("Escape")
        recording = ended(browser, 0, "the game played by touch")["recording"]
    check(closedboth(recording), "a tap on the picture and the sword close the opening messages")
    walks(recording, "UL", 25, "the corner between up and left walks diagonally")
    walks(recording, "ULS", 1, "two fingers walk and swing at once")
    last = [l for l in recording.split("\n") if l.startswith("w ")][-1]
    check(last.split(" ")[2] == "-----", "nothing stays held at the end: %s" % last)
    native(game, scratch, recording, "touch")


ICONS = """fetch('manifest.webmanifest').then(function (r) { return r.json(); }).then(function (m) {
  return Promise.all(m.icons.map(function (icon) { return new Promise(function (done) {
    var i = new Image();
    i.onload = function () { done([icon.sizes, i.naturalWidth + 'x' + i.naturalHeight, icon.purpose]); };
    i.src = icon.src;
  }); })).then(function (icons) { return [m, icons]; });
})"""


def offline(site, game, scratch):
    """The app installable; a rebuild waits out a game, even a late worker's; once seen, it plays offline."""
    root = os.path.join(scratch, "www")
    shutil.copytree(site.root, root)
    mine = Site(root)
    url = mine.url("index.html?no-sound")
    with page(mine, "no-sound", "offline", running=False) as browser:
        browser.wait(STATE % "running" + " && kuurakarpalo.offline", 60)
        errors = browser.call("Page.getInstallabilityErrors")["installabilityErrors"]
        check(not errors, "Chromium finds the page installable: %s" % errors)
        manifest, icons = browser.eval(ICONS)
        check(manifest["display"] == "standalone" and manifest["short_name"] and manifest["start_url"],
              "the manifest names the app, its start and its display")
        check(all(wanted == size for wanted, size, _ in icons) and sorted(s + p for s, _, p in icons)
              == ["192x192any", "192x192maskable", "512x512any", "512x512maskable"],
              "icons of 192 and 512, maskable too, each of its size: %s" % icons)
        load(browser, url)
        browser.wait("navigator.serviceWorker.controller", 10)
        for name, old, new in (("sw.js", "var BUILD = '", "var BUILD = 'rebuilt"),
                               ("index.html", "<title>", "<meta name='rebuilt'><title>")):
            write(os.path.join(root, name), read(os.path.join(root, name)).replace(old, new, 1))
        browser.eval("navigator.serviceWorker.getRegistration().then(function (r) { return r.update(); }).then(function () {})")
        check(browser.wait("kuurakarpalo.update", 30), "a new build arriving during a game: the page says it is ready")
        frames(browser, 20)
        check(browser.eval("kuurakarpalo.state == 'running' && !document.querySelector('meta[name=rebuilt]')"),
              "the game in progress goes on, on the old build")
        # The page gives up waiting for the worker it asked to take over.
        late = load(browser, url, "ServiceWorker.prototype.postMessage = function () {};")
        browser.eval("window.marked = true; navigator.serviceWorker.dispatchEvent(new Event('controllerchange'))")
        check(browser.wait("window.marked && kuurakarpalo.update", 10),
              "a worker taking over during a game: the game goes on, the page says the update is ready")
        browser.call("Page.removeScriptToEvaluateOnNewDocument", identifier=late)
        closetab(browser)
        load(browser, url)
        check(browser.eval("!!document.querySelector('meta[name=rebuilt]')"), "the next load starts the new build")
        check(browser.wait("caches.keys().then(function (k) { return k.length == 1 && /rebuilt/.test(k[0]); })", 10),
              "the old build's store is gone")
        mine.close()
        load(browser, url)
        check(browser.wait(STATE % "running" + " && kuurakarpalo.shown > 0", 60),
              "with the server gone, the game loads and plays")


DROP = """(function (text, name) {
  var files = new DataTransfer();
  files.items.add(new File([text], name));
  document.dispatchEvent(new DragEvent('drop', {dataTransfer: files, bubbles: true, cancelable: true}));
})(%s, %s)"""

DOWNLOAD = """new Promise(function (done) {
  HTMLAnchorElement.prototype.click = function () { var a = this; fetch(a.href).then(function (r) { return r.text(); })
    .then(function (t) { done({name: a.download, text: t}); }); };
  document.querySelector('#best tbody tr button:nth-of-type(2)').click();
})"""


def kept(site, game, scratch):
    """Games kept: a closed tab's, one from a recording and its row, Watch, Download, a recording dropped."""
    death = read("death.rec")
    with page(site, "no-sound") as browser:
        opening(browser)
        frames(browser, 120)
        closetab(browser)
        load(browser, site.url("index.html?no-sound&keep=/golden/death.rec"), running=False)
        ended(browser, 0, "the recording kept", 240)
        check(browser.eval("kuurakarpalo.kept.length") == 1, "a closed tab's game is kept")
        rows = browser.eval("[].map.call(document.querySelectorAll('#best tbody tr'),"
                            " function (r) { return [r.className, r.cells[1].textContent]; })")
        check(rows == [["new", "20"]], "the recording kept is the table's row, marked new: %s" % rows)
        got = browser.eval(DOWNLOAD)
        check(got["text"] == death and got["name"].endswith(".rec"), "Download saves the recording (%s)" % got["name"])
        # Watch and a drop carry ?fast over: the table shown again at the end
        # of a short playback, unpaced.
        write(os.path.join(scratch, "short.rec"), death[: death.index("\n", death.index("\nc 100 ") + 1) + 1])
        load(browser, site.url("index.html?no-sound&fast&play=/scratch/short.rec"), running=False)
        ended(browser, 0, "a short playback")
        browser.eval("document.querySelector('#best tbody tr button').click()")
        browser.wait("/watch=1/.test(location.search)", 10)
        check("played to its end" in ended(browser, 0, "Watch", 240)["text"], "Watch plays the game back to its end")
        browser.eval(DROP % (json.dumps(read("messages.rec")), json.dumps("friend.rec")))
        browser.wait("/open/.test(location.search)", 10)
        ended(browser, 0, "a dropped recording", 240)
        check(browser.eval("!document.getElementById('keep').hidden"), "a dropped recording can be kept")
        browser.eval(DROP % (json.dumps("\u0000 not a recording"), json.dumps("photo.jpg")))
        browser.wait("window.kuurakarpalo && kuurakarpalo.state != 'ended'", 10)
        check(ended(browser, 1, "a foreign file dropped", 60)["shown"], "a foreign file dropped: its line is shown")


TESTS = {test.__name__: test for test in (golden, refusals, pause, language, links, phone, offline, kept)}


def main():
    if len(sys.argv) < 4 or sys.argv[3] not in TESTS or not os.path.exists(os.path.join(sys.argv[1], "index.html")):
        print(__doc__ + "\n(scripts/web builds the site)")
        return 2
    scratch = tempfile.mkdtemp(prefix="kuurakarpalo-web-")
    site = Site(sys.argv[1], {"/golden/": GOLDEN + "/", "/scratch/": scratch + "/"})
    try:
        TESTS[sys.argv[3]](site, os.path.abspath(sys.argv[2]), scratch, *sys.argv[4:])
    finally:
        site.close()
        shutil.rmtree(scratch, ignore_errors=True)
    print("%d failed" % len(failures) if failures else "all passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
