"""Prints the page's frame-time table (index.html?bench, the web twin of demo --bench) from
headless Chromium on SwiftShader. Not a test: the figures depend on the machine and its load.

Usage: web_bench.py WEB_BUILD
"""
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from browser import Browser, PageServer  # noqa: E402

if __name__ == "__main__":
    server = PageServer(os.path.abspath(sys.argv[1]))
    try:
        with Browser() as browser:
            started = time.monotonic()
            page = browser.open_page(server.url + "index.html?bench")
            page.wait_for("window.runStatus !== undefined", 3600, interval=1)
            print(page.evaluate("window.benchText"))
            print("(%.0f s in all)" % (time.monotonic() - started))
    finally:
        server.close()
