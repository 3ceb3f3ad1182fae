"""Runs the real sorvelscore binary under its own Xvfb and drives it with xdotool."""
import os
import shutil
import subprocess
import sys
import tempfile
import time

SCREEN = (1280, 800)


class App:
    def __init__(self, binary, args=(), config=None):
        self.binary = os.path.abspath(binary)
        self.home = tempfile.mkdtemp(prefix="sorvel-e2e-")
        self.config = config or os.path.join(self.home, "config")
        os.makedirs(self.config, exist_ok=True)
        self.args = list(args)
        self.xvfb = None
        self.proc = None
        self.display = None

    def __enter__(self):
        self._start_xvfb()
        self.start()
        return self

    def __exit__(self, *exc):
        self.stop()
        if self.xvfb:
            self.xvfb.terminate()
            self.xvfb.wait(5)
        shutil.rmtree(self.home, ignore_errors=True)

    def _start_xvfb(self):
        r, w = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(w), "-screen", "0", "%dx%dx24" % SCREEN, "-nolisten", "tcp"],
            pass_fds=(w,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(w)
        number = b""
        deadline = time.time() + 20
        while not number.endswith(b"\n") and time.time() < deadline:
            chunk = os.read(r, 16)
            if not chunk:
                break
            number += chunk
        os.close(r)
        if not number.strip():
            raise RuntimeError("Xvfb did not start")
        self.display = ":" + number.decode().strip()

    def env(self):
        env = dict(os.environ)
        env.update({
            "DISPLAY": self.display,
            "HOME": self.home,
            "XDG_CONFIG_HOME": self.config,
            "XDG_DATA_HOME": os.path.join(self.home, "data"),
            "XDG_RUNTIME_DIR": self.home,
            "QT_QPA_PLATFORM": "xcb",
        })
        env.pop("WAYLAND_DISPLAY", None)
        return env

    def start(self):
        self.log = open(os.path.join(self.home, "app.log"), "w")
        self.proc = subprocess.Popen([self.binary] + self.args, env=self.env(),
                                     stdout=self.log, stderr=subprocess.STDOUT, cwd=self.home)
        self.window = self.wait_window("Untitled" if not self.args else None)

    def stop(self):
        if self.proc and self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(10)
            except subprocess.TimeoutExpired:
                self.proc.kill()
        if self.proc:
            self.log.close()

    def output(self):
        with open(os.path.join(self.home, "app.log")) as f:
            return f.read()

    def xdotool(self, *args, check=True):
        return subprocess.run(["xdotool"] + [str(a) for a in args], env=self.env(), check=check,
                              capture_output=True, text=True).stdout.strip()

    def wait_window(self, name=None, timeout=20):
        deadline = time.time() + timeout
        while time.time() < deadline:
            if self.proc.poll() is not None:
                raise RuntimeError("the application exited early:\n" + self.output())
            query = ["search", "--onlyvisible", "--name", name or "."]
            ids = self.xdotool(*query, check=False).split()
            if ids:
                wid = ids[-1]
                self.xdotool("windowactivate", "--sync", wid, check=False)
                self.xdotool("windowfocus", "--sync", wid, check=False)
                time.sleep(0.5)
                return wid
            time.sleep(0.2)
        raise RuntimeError("no window appeared:\n" + self.output())

    def screenshot(self, path=None):
        path = path or os.path.join(self.home, "shot-%d.png" % int(time.time() * 1000))
        subprocess.run(["import", "-window", "root", path], env=self.env(), check=True)
        return path

    def key(self, *keys):
        for k in keys:
            self.xdotool("key", "--clearmodifiers", k)
            time.sleep(0.05)

    def type_keys(self, *keys):
        self.key(*keys)
        time.sleep(0.3)

    def click(self, x, y, shift=False):
        self.xdotool("mousemove", "--sync", x, y)
        if shift:
            self.xdotool("keydown", "shift")
        self.xdotool("click", "1")
        if shift:
            self.xdotool("keyup", "shift")
        time.sleep(0.3)


def pixels(path):
    """Returns (width, height, rows of (r, g, b)) of a PNG, read through ImageMagick."""
    out = subprocess.run(["convert", path, "-depth", "8", "rgb:-"], check=True,
                         capture_output=True).stdout
    w, h = SCREEN
    assert len(out) == w * h * 3, len(out)
    return w, h, out


def pixel(data, x, y):
    w, _, raw = data
    i = (y * w + x) * 3
    return raw[i], raw[i + 1], raw[i + 2]


def find_pointer(data):
    """Top-left corner of the red cell pointer frame (pure red), or None."""
    w, h, raw = data
    for y in range(h):
        row = raw[y * w * 3:(y + 1) * w * 3]
        start = row.find(b"\xff\x00\x00" * 20)
        while start >= 0 and start % 3:
            start = row.find(b"\xff\x00\x00" * 20, start + 1)
        if start >= 0:
            return start // 3, y
    return None


def fail(message):
    print("FAILED: " + message)
    sys.exit(1)
