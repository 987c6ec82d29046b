"""Headless Chromium on SwiftShader (no GPU, no display) through the DevTools protocol, and
the site served on the loopback, for the web tests, benchmark and pictures."""

import base64
import contextlib
import functools
import http.server
import json
import os
import shutil
import socketserver
import subprocess
import tempfile
import threading
import time
import urllib.request

import websocket

CHROMIUM = os.environ.get("CHROMIUM", "/usr/bin/chromium")


class Site:
    """The site on 127.0.0.1, folders mounted ({"/golden/": "tests/golden"}), paths missing, extra headers."""

    def __init__(self, root, mounts=None, missing=(), headers=None):
        self.root, self.mounts, self.missing, self.headers = root, dict(mounts or {}), set(missing), dict(headers or {})
        site = self

        class Handler(http.server.SimpleHTTPRequestHandler):
            def translate_path(self, path):
                path = path.split("?", 1)[0].split("#", 1)[0]
                for prefix, folder in site.mounts.items():
                    if path.startswith(prefix):
                        return os.path.join(folder, path[len(prefix):])
                return super().translate_path(path)

            def send_head(self):
                if self.path.split("?", 1)[0] in site.missing:
                    return self.send_error(404)
                return super().send_head()

            def end_headers(self):
                for name, value in site.headers.items():
                    self.send_header(name, value)
                super().end_headers()

            def log_message(self, *args):
                pass

        self.server = socketserver.ThreadingTCPServer(("127.0.0.1", 0), functools.partial(Handler, directory=root))
        self.server.daemon_threads = True
        self.port = self.server.server_address[1]
        threading.Thread(target=self.server.serve_forever, daemon=True).start()

    def url(self, path):
        return "http://127.0.0.1:%d/%s" % (self.port, path.lstrip("/"))

    def close(self):
        self.server.shutdown()
        self.server.server_close()


class Browser:
    """One headless Chromium with one page, its console messages as (level, text) and uncaught exceptions."""

    def __init__(self, extra_flags=(), width=1280, height=900):
        self.profile = tempfile.mkdtemp(prefix="kuurakarpalo-chromium-")
        flags = ["--headless", "--no-sandbox", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
                 "--no-first-run", "--no-default-browser-check", "--disable-background-networking",
                 "--disable-component-update", "--disable-sync", "--disable-quic",
                 "--disable-features=Translate,MediaRouter,OptimizationHints",
                 "--remote-debugging-port=0", "--user-data-dir=" + self.profile, "--window-size=%d,%d" % (width, height)]
        self.process = subprocess.Popen([CHROMIUM] + flags + list(extra_flags) + ["about:blank"],
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        tabs = json.load(urllib.request.urlopen("http://127.0.0.1:%d/json" % self._port()))
        page = [t for t in tabs if t["type"] == "page"][0]
        self.ws = websocket.create_connection(page["webSocketDebuggerUrl"], timeout=60)
        self.next, self.console, self.exceptions = 0, [], []
        for domain in ("Runtime", "Page", "Log"):
            self.call(domain + ".enable")

    def _port(self):
        """The DevTools port, once Chromium has written it into the profile."""
        path = os.path.join(self.profile, "DevToolsActivePort")
        for _ in range(300):
            first = open(path).readline().strip() if os.path.exists(path) else ""
            if first:
                return int(first)
            if self.process.poll() is not None:
                raise RuntimeError("chromium ended at start with code %d" % self.process.returncode)
            time.sleep(0.1)
        raise RuntimeError("chromium did not open its DevTools port")

    def _event(self, message):
        method, params = message.get("method"), message.get("params", {})
        if method == "Runtime.consoleAPICalled":
            text = " ".join(str(a.get("value", a.get("description", ""))) for a in params["args"])
            self.console.append((params["type"], text))
        elif method == "Runtime.exceptionThrown":
            details = params["exceptionDetails"]
            self.exceptions.append(details.get("exception", {}).get("description") or details.get("text"))
        elif method == "Log.entryAdded":
            entry = params["entry"]
            self.console.append((entry["level"], entry.get("text", "") + " " + entry.get("url", "")))

    def call(self, method, **params):
        self.next += 1
        ident = self.next
        self.ws.send(json.dumps({"id": ident, "method": method, "params": params}))
        while True:
            message = json.loads(self.ws.recv())
            if message.get("id") == ident:
                if "error" in message:
                    raise RuntimeError("%s: %s" % (method, message["error"]))
                return message.get("result", {})
            self._event(message)

    def pump(self, seconds):
        """Takes the page's events for a while."""
        end = time.time() + seconds
        self.ws.settimeout(0.05)
        try:
            while time.time() < end:
                try:
                    self._event(json.loads(self.ws.recv()))
                except websocket.WebSocketTimeoutException:
                    pass
        finally:
            self.ws.settimeout(60)

    def open(self, url, before=None):
        """Navigates to url, running before ahead of each page's scripts until removed by the identifier returned."""
        script = before and self.call("Page.addScriptToEvaluateOnNewDocument", source=before)["identifier"]
        self.call("Page.navigate", url=url)
        return script

    def eval(self, expression):
        result = self.call("Runtime.evaluate", expression=expression, returnByValue=True, awaitPromise=True)
        if "exceptionDetails" in result:
            raise RuntimeError("%s: %s" % (expression, result["exceptionDetails"]))
        return result["result"].get("value")

    def wait(self, expression, timeout, step=0.1):
        """Waits until expression is true in the page; its last value."""
        end = time.time() + timeout
        while True:
            value = self.eval(expression)
            if value or time.time() > end:
                return value
            self.pump(step)

    KEYS = {"ArrowLeft": 37, "ArrowUp": 38, "ArrowRight": 39, "ArrowDown": 40, "Escape": 27, "Enter": 13}

    def key(self, key, down=True):
        """A named key or one character (a letter, space) down or up."""
        code = self.KEYS.get(key) or ord(key.upper())
        name = {" ": "Space"}.get(key, key if len(key) > 1 else "Key" + key.upper())
        self.call("Input.dispatchKeyEvent", type="keyDown" if down else "keyUp", key=key, code=name,
                  windowsVirtualKeyCode=code, nativeVirtualKeyCode=code)

    def press(self, key):
        self.key(key, True)
        self.pump(0.05)
        self.key(key, False)

    def click(self, x, y):
        for kind in ("mousePressed", "mouseReleased"):
            self.call("Input.dispatchMouseEvent", type=kind, x=x, y=y, button="left", clickCount=1)

    def phone(self, width, height):
        """A phone of width by height CSS pixels at 3x, with touch; again to turn it."""
        turned = {"type": "portraitPrimary", "angle": 0} if height > width else {"type": "landscapePrimary", "angle": 90}
        self.call("Emulation.setDeviceMetricsOverride", width=width, height=height, deviceScaleFactor=3, mobile=True,
                  screenOrientation=turned)
        self.call("Emulation.setTouchEmulationEnabled", enabled=True, maxTouchPoints=10)

    def touch(self, kind, points=()):
        """touchStart, touchMove, touchEnd or touchCancel, fingers down at [(x, y, id)]."""
        self.call("Input.dispatchTouchEvent", type=kind, touchPoints=[{"x": x, "y": y, "id": i} for x, y, i in points])

    def centre(self, selector):
        """The centre of the first element that selector finds, in CSS pixels."""
        r = self.eval("document.querySelector(%s).getBoundingClientRect().toJSON()" % json.dumps(selector))
        return r["x"] + r["width"] / 2, r["y"] + r["height"] / 2

    def screenshot(self):
        return base64.b64decode(self.call("Page.captureScreenshot", format="png")["data"])

    def close(self):
        with contextlib.suppress(Exception):
            self.ws.close()
        self.process.kill()
        self.process.wait()
        shutil.rmtree(self.profile, ignore_errors=True)
