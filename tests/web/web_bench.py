"""Prints the page's frame-time table (index.html?bench, the web twin of demo --bench) from
headless Chromium, with WebGL on SwiftShader (the default) or, with --mesa, on ANGLE over the
system's Mesa (llvmpipe here, the renderer `demo --bench` draws with). Not a test: the figures
depend on the machine and its load.

Usage: web_bench.py WEB_BUILD [--mesa]
"""
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from browser import MESA, SWIFTSHADER, Browser, PageServer  # noqa: E402

if __name__ == "__main__":
    server = PageServer(os.path.abspath(sys.argv[1]))
    try:
        renderer = MESA if "--mesa" in sys.argv[2:] else SWIFTSHADER
        with Browser(renderer=renderer) as browser:
            started = time.monotonic()
            page = browser.open_page(server.url + "index.html?bench")
            page.wait_for("window.runStatus !== undefined", 3600, interval=1)
            print(page.evaluate("window.benchText"))
            print("(%.0f s in all)" % (time.monotonic() - started))
    finally:
        server.close()
