"""Headless Chromium driven over --remote-debugging-pipe, and the built page served on 127.0.0.1.

Standard library only. Chromium reads DevTools protocol commands from file descriptor 3 and
writes replies and events to descriptor 4, each message a JSON text ended by a NUL byte.
"""
import base64
import functools
import http.server
import json
import os
import shutil
import subprocess
import tempfile
import threading
import time

CHROMIUM_FLAGS = [
    "--headless=new", "--no-sandbox", "--force-device-scale-factor=1",
    "--disable-background-networking", "--disable-component-update", "--disable-sync",
    "--no-first-run", "--window-size=800,600", "--remote-debugging-pipe",
]
# WebGL on Chromium's own software renderer: ANGLE on SwiftShader (Vulkan). It rasterises with 4
# bits of subpixel precision where Mesa's llvmpipe has 8, so edges land differently.
SWIFTSHADER = ["--enable-unsafe-swiftshader", "--use-angle=swiftshader"]
# WebGL on the system's OpenGL ES through EGL, with no display: ANGLE on Mesa, here llvmpipe,
# the very renderer the native build draws with. A busy machine's slow software draws must not
# set off the GPU watchdog, and a lost GPU process must not fall back to SwiftShader unseen.
MESA = ["--use-angle=gl-egl", "--ignore-gpu-blocklist", "--enable-gpu", "--disable-gpu-watchdog",
        "--disable-gpu-process-crash-limit", "--disable-software-rasterizer"]


class PageServer:
    """Serves a folder on 127.0.0.1 at a free port, in a thread, until closed."""

    def __init__(self, folder):
        handler = functools.partial(_QuietHandler, directory=folder)
        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        self.url = "http://127.0.0.1:%d/" % self.server.server_address[1]
        self.thread = threading.Thread(target=self.server.serve_forever, daemon=True)
        self.thread.start()

    def close(self):
        self.server.shutdown()
        self.server.server_close()


class _QuietHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      ".wasm": "application/wasm", ".js": "text/javascript"}

    def log_message(self, *args):
        pass


class Browser:
    """One Chromium process with a fresh profile; pages are opened with open_page()."""

    def __init__(self, extra_flags=(), renderer=SWIFTSHADER):
        self.profile = tempfile.mkdtemp(prefix="demo-chromium-")
        # Chromium's own messages, for a test that fails to say what the GPU process reported.
        self.log = tempfile.TemporaryFile()
        to_browser = os.pipe()
        from_browser = os.pipe()
        # Out of the way of descriptors 3 and 4, which the child gets.
        child_in = os.dup2(to_browser[0], 10) if to_browser[0] < 10 else to_browser[0]
        child_out = os.dup2(from_browser[1], 11) if from_browser[1] < 11 else from_browser[1]

        def place_pipes():
            os.dup2(child_in, 3)
            os.dup2(child_out, 4)

        chromium = shutil.which("chromium") or "chromium"
        # The tests hide NPOT textures from Mesa for the native program; Chromium's compositor,
        # drawing through ANGLE on Mesa, needs them, and its GPU process fails without them.
        environment = {name: value for name, value in os.environ.items()
                       if name != "MESA_EXTENSION_OVERRIDE"}
        self.process = subprocess.Popen(
            [chromium, *CHROMIUM_FLAGS, *renderer, *extra_flags, "--user-data-dir=" + self.profile,
             "about:blank"],
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=self.log,
            env=environment, pass_fds=(3, 4), preexec_fn=place_pipes)
        for fd in {to_browser[0], from_browser[1], child_in, child_out}:
            os.close(fd)
        self.writer = os.fdopen(to_browser[1], "wb", buffering=0)
        self.reader = os.fdopen(from_browser[0], "rb", buffering=0)
        self.next_id = 0
        self.replies = {}
        self.events = []
        self.lock = threading.Condition()
        self.thread = threading.Thread(target=self._read, daemon=True)
        self.thread.start()

    def _read(self):
        pending = b""
        while True:
            chunk = self.reader.read(1 << 20)
            if not chunk:
                with self.lock:
                    self.closed = True
                    self.lock.notify_all()
                return
            pending += chunk
            while b"\0" in pending:
                text, pending = pending.split(b"\0", 1)
                message = json.loads(text)
                with self.lock:
                    if "id" in message:
                        self.replies[message["id"]] = message
                    else:
                        self.events.append(message)
                    self.lock.notify_all()

    def send(self, method, params=None, session=None, timeout=60):
        with self.lock:
            self.next_id += 1
            ident = self.next_id
        message = {"id": ident, "method": method, "params": params or {}}
        if session:
            message["sessionId"] = session
        self.writer.write(json.dumps(message).encode() + b"\0")
        deadline = time.monotonic() + timeout
        with self.lock:
            while ident not in self.replies:
                left = deadline - time.monotonic()
                if left <= 0 or getattr(self, "closed", False):
                    raise TimeoutError("%s: no reply from Chromium" % method)
                self.lock.wait(left)
            reply = self.replies.pop(ident)
        if "error" in reply:
            raise RuntimeError("%s: %s" % (method, reply["error"]))
        return reply["result"]

    def open_page(self, url):
        target = self.send("Target.createTarget", {"url": "about:blank"})["targetId"]
        session = self.send("Target.attachToTarget",
                            {"targetId": target, "flatten": True})["sessionId"]
        page = Page(self, session)
        page.send("Runtime.enable")
        page.send("Page.enable")
        page.send("Page.navigate", {"url": url})
        page.wait_for("document.readyState === 'complete' && location.href === %s" %
                      json.dumps(url), 30, interval=0.05)
        return page

    def close(self):
        try:
            self.send("Browser.close", timeout=10)
        except (TimeoutError, RuntimeError, OSError):
            pass
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        self.writer.close()
        self.thread.join(timeout=10)
        self.reader.close()
        self.log.close()
        shutil.rmtree(self.profile, ignore_errors=True)

    def messages(self, containing=("gpu", "gl", "egl", "angle"), most=20):
        """The last lines Chromium printed that mention any of the words (case-insensitive)."""
        self.log.seek(0)
        lines = [line for line in self.log.read().decode(errors="replace").splitlines()
                 if any(word in line.lower() for word in containing)]
        return "\n".join(lines[-most:])

    def webgl2_renderer(self, page):
        """The renderer a new WebGL 2 context on the page reports, or None without one."""
        return page.evaluate(
            "(() => { const gl = document.createElement('canvas').getContext('webgl2');"
            " const info = gl && gl.getExtension('WEBGL_debug_renderer_info');"
            " return info ? gl.getParameter(info.UNMASKED_RENDERER_WEBGL) : null; })()")

    def __enter__(self):
        return self

    def __exit__(self, *exception):
        self.close()


class Page:
    """One tab of the browser."""

    def __init__(self, browser, session):
        self.browser = browser
        self.session = session

    def send(self, method, params=None, timeout=60):
        return self.browser.send(method, params, self.session, timeout)

    def evaluate(self, expression, timeout=60):
        """The value of a JavaScript expression (awaited when it is a promise)."""
        result = self.send("Runtime.evaluate", {"expression": expression, "returnByValue": True,
                                                "awaitPromise": True}, timeout)
        if "exceptionDetails" in result:
            raise RuntimeError("%s: %s" % (expression, result["exceptionDetails"]))
        return result["result"].get("value")

    def wait_for(self, expression, timeout, interval=0.25):
        """Polls until the expression is truthy; returns its value. TimeoutError after timeout."""
        deadline = time.monotonic() + timeout
        while True:
            value = self.evaluate(expression)
            if value:
                return value
            if time.monotonic() > deadline:
                raise TimeoutError("waited %g s for %s" % (timeout, expression))
            time.sleep(interval)

    def data_url_bytes(self, expression, timeout=120):
        """The bytes of a data: URL that the expression returns."""
        url = self.evaluate(expression, timeout)
        return base64.b64decode(url.split(",", 1)[1])

    def click(self, x, y):
        for kind in ("mousePressed", "mouseReleased"):
            self.send("Input.dispatchMouseEvent",
                      {"type": kind, "x": x, "y": y, "button": "left", "clickCount": 1})

    def key(self, key, code, key_code):
        for kind in ("keyDown", "keyUp"):
            self.send("Input.dispatchKeyEvent", {"type": kind, "key": key, "code": code,
                                                 "windowsVirtualKeyCode": key_code})

    def console_messages(self):
        """Texts the page logged so far."""
        texts = []
        with self.browser.lock:
            for event in self.browser.events:
                if (event.get("sessionId") == self.session and
                        event.get("method") == "Runtime.consoleAPICalled"):
                    texts.append(" ".join(str(arg.get("value", "")) for arg in
                                          event["params"]["args"]))
        return texts
