#!/usr/bin/python3
"""Photographs the web version's page for the README: the golden recording
"fights" played back in headless Chromium, taken while the fight is on.
Run from the project's root after scripts/web:

    tools/docs/webshot.py [SITE]        the picture goes to docs/web.png
"""

import os
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "tests", "web"))
from chromium import Browser, Site  # noqa: E402

site = Site(sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build-web", "www"),
            {"/golden/": os.path.join(ROOT, "tests", "golden") + "/"})
browser = Browser(width=1200, height=860)
try:
    browser.open(site.url("index.html?play=/golden/fights.rec&no-sound"))
    browser.wait("window.kuurakarpalo && kuurakarpalo.state == 'running'", 60)
    browser.eval("document.getElementById('canvas').focus()")
    browser.pump(24)
    with open(os.path.join(ROOT, "docs", "web.png"), "wb") as f:
        f.write(browser.screenshot())
finally:
    browser.close()
    site.close()
