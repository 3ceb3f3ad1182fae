"""Runs the real sorvelscore binary under its own Xvfb and drives it with xdotool.

A failing test keeps its temporary home (screenshots, app.log) and prints its path; set
SORVEL_E2E_KEEP=1 to keep it after a passing run too."""
import os
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time

SCREEN = (1280, 800)
STAFF_COLUMNS = 40


class App:
    """The application under its own X server.

    title: a regular expression for the score window's name to wait for at start (default:
    "Untitled" without arguments, any window otherwise).
    own_set_folder: copy the set folder beside the binary into the temporary home and point
    filePass at the copy, so that a quit (which writes scale.csv back) never touches the build.
    display: run on the X server of another App (a second running copy) instead of one of
    its own; its windows are then told apart by process id.
    """
    xvfb = proc = log = set_folder = None

    def __init__(self, binary, title=None, own_set_folder=False, display=None):
        self.binary = os.path.abspath(binary)
        self.home = tempfile.mkdtemp(prefix="sorvel-e2e-")
        self.config = os.path.join(self.home, "config")
        os.makedirs(self.config)
        self.args, self.title, self.display = [], title, display
        self.shared_display = display is not None
        self.keep = bool(os.environ.get("SORVEL_E2E_KEEP"))
        if own_set_folder:
            self.set_folder = os.path.join(self.home, "set")
            shutil.copytree(os.path.join(os.path.dirname(self.binary), "set"), self.set_folder)
            os.makedirs(os.path.join(self.config, "Sorvel"))
            self.write("config/Sorvel/Sorvel Score.conf",
                       "[General]\nfilePass=%s\n" % self.set_folder)

    def check(self, what, ok):
        """Fails the test with `what` unless ok, keeping the home and a screenshot."""
        if ok:
            return
        self.keep = True
        try:
            where = "screenshot: " + self.screenshot(os.path.join(self.home, "failure.png"))
        except Exception:  # the application, or its display, may be gone
            where = "files kept in " + self.home
        fail("%s (%s, log: %s)" % (what, where, os.path.join(self.home, "app.log")))

    def write(self, name, data):
        """Writes data (str or bytes) to the file name (str or bytes) in the home; its path."""
        path = os.path.join(os.fsencode(self.home) if isinstance(name, bytes) else self.home, name)
        with open(path, "wb" if isinstance(data, bytes) else "w") as f:
            f.write(data)
        return path

    def __enter__(self):
        if not self.shared_display:
            self._start_xvfb()
        try:
            self.start()
        except BaseException:
            self.__exit__(None, None, None)
            raise
        return self

    def __exit__(self, kind, error, trace):
        """A timeout or an early exit of the application (RuntimeError), or a screen that
        cannot be measured (ValueError), fails the test with a screenshot."""
        try:
            if isinstance(error, (RuntimeError, ValueError)):
                self.check(str(error), False)
        finally:
            self.stop()
            if self.xvfb:
                self.xvfb.terminate()
                self.xvfb.wait(5)
            if self.keep:
                print("kept for inspection: " + self.home)
            else:
                shutil.rmtree(self.home, ignore_errors=True)

    def _start_xvfb(self):
        r, w = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(w), "-screen", "0", "%dx%dx24" % SCREEN, "-nolisten", "tcp"],
            pass_fds=(w,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(w)
        with os.fdopen(r) as pipe:  # Xvfb writes its display number and a line end
            number = pipe.readline().strip() if select.select([pipe], [], [], 20)[0] else ""
        if not number:
            raise RuntimeError("Xvfb did not start")
        self.display = ":" + number

    def env(self):
        env = dict(os.environ, DISPLAY=self.display, HOME=self.home, XDG_CONFIG_HOME=self.config,
                   XDG_DATA_HOME=os.path.join(self.home, "data"), XDG_RUNTIME_DIR=self.home,
                   QT_QPA_PLATFORM="xcb")
        env.pop("WAYLAND_DISPLAY", None)
        return env

    def start(self):
        self.log = open(os.path.join(self.home, "app.log"), "w")
        self.proc = subprocess.Popen([self.binary] + self.args, env=self.env(),
                                     stdout=self.log, stderr=subprocess.STDOUT, cwd=self.home)
        self.window = self.wait_window(self.title or ("Untitled" if not self.args else None))

    def stop(self):
        end_process(self.proc)
        if self.log:
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
            ids = self.search(name or ".", own=self.shared_display)
            if ids:
                self.xdotool("windowactivate", "--sync", ids[-1], check=False)
                self.focus(ids[-1])
                time.sleep(0.5)
                return ids[-1]
            time.sleep(0.2)
        raise RuntimeError("no window appeared:\n" + self.output())

    def search(self, name=".", own=False):
        """Ids of the visible windows whose name matches; own: of this process only."""
        pid = ["--all", "--pid", str(self.proc.pid)] if own else []
        return self.xdotool("search", *pid, "--onlyvisible", "--name", name, check=False).split()

    def window_names(self, name="."):
        return [self.xdotool("getwindowname", i, check=False) for i in self.search(name)]

    def focus_shown(self, what, name, timeout=15):
        """Waits for a visible window whose name matches and gives it the keyboard; its id."""
        wid = self.wait_until(what, lambda: self.search(name), timeout)[-1]
        self.focus(wid)
        return wid

    def wait_until(self, what, condition, timeout=20, interval=0.1):
        """Polls condition() until it is true; raises with `what` when it never is."""
        deadline = time.time() + timeout
        while time.time() < deadline:
            value = condition()
            if value:
                return value
            time.sleep(interval)
        raise RuntimeError("timed out waiting for " + what)

    def wait_title_window_closed(self, timeout=10):
        """The title window sits over the staves for its first two seconds."""
        self.wait_until("the title window to close",
                        lambda: not self.window_names("^Sorvel Score$"), timeout)

    def focus(self, wid=None):
        self.xdotool("windowfocus", "--sync", wid or self.window, check=False)

    def wait_exit(self, timeout=20):
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            raise RuntimeError("the application did not exit")

    def save_as(self, path, title_pattern, timeout=15, keys="ctrl+shift+s"):
        """Save As (Ctrl+Shift+S; keys="ctrl+s" where Save is to ask), then the path typed
        into the save dialog; waits for the file and the score window's new title."""
        self.key(keys)
        self.answer_save_dialog(path, timeout)
        self.wait_until("the saved file " + path + " and the window title " + title_pattern,
                        lambda: os.path.exists(path) and self.window_names(title_pattern), timeout)
        self.focus()

    def answer_save_dialog(self, path, timeout=15):
        """The path typed into the save dialog's name field, and Return. The score window
        gets the keyboard back from the caller (without a window manager nobody else gives
        it)."""
        self.focus_shown("the save dialog", "^Save Score", timeout)
        self.key("ctrl+a")
        self.xdotool("type", "--delay", "20", path)
        self.press("Return")

    def screenshot(self, path):
        subprocess.run(["import", "-window", "root", path], env=self.env(), check=True)
        return path

    def key(self, *keys):
        """Each key in turn, named as xdotool names it ("ctrl+shift+s")."""
        for k in keys:
            self.xdotool("key", "--clearmodifiers", k)
            time.sleep(0.05)

    def press(self, *keys):
        """Like key(), but "shift+K" holds Shift down until K is released, as a person does.

        (xdotool key shift+K lets go of Shift before K, so the release of K carries no Shift,
        and the score window acts on key releases.)"""
        for k in keys:
            if not k.startswith("shift+"):
                self.key(k)
                continue
            self.xdotool("keydown", "Shift_L")
            self.xdotool("key", k[len("shift+"):])
            self.xdotool("keyup", "Shift_L")
            time.sleep(0.05)

    def click(self, x, y):
        self.xdotool("mousemove", "--sync", x, y)
        self.xdotool("click", "1")
        time.sleep(0.3)


def end_process(proc, grace=10, sig=signal.SIGTERM):
    """Ends a child process that still runs: with sig, then after grace seconds for good."""
    if proc and proc.poll() is None:
        proc.send_signal(sig)
        try:
            proc.wait(grace)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()


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


def find_frame(data, color=b"\xff\x00\x00", min_side=20):
    """(x, y, width, height) of the first rectangle outlined in pure `color`, or None.

    A frame is a horizontal run of at least min_side pixels whose left end also starts a
    vertical run of at least min_side pixels; the runs give its size."""
    w, h, raw = data
    for y in range(h):
        row = raw[y * w * 3:(y + 1) * w * 3]
        start = row.find(color * min_side)
        while start >= 0:
            if start % 3 == 0:
                x = start // 3
                width = 0
                while x + width < w and pixel(data, x + width, y) == tuple(color):
                    width += 1
                height = 0
                while y + height < h and pixel(data, x, y + height) == tuple(color):
                    height += 1
                if height >= min_side:
                    return x, y, width, height
            start = row.find(color * min_side, start + 1)
    return None


def spread(values):
    return max(values) - min(values)


class Staves:
    """Cell rectangles of the three staves, measured from a screenshot taken while the pointer
    is on the first cell: the pointer frame gives that cell, the five solid staff lines (near
    black) of each staff give the rows, and the length of those lines the column width. The
    window may show the staves at any zoom, so a spacing may differ by a pixel."""

    def __init__(self, data):
        frame = find_frame(data)
        if not frame:
            raise ValueError("no red pointer frame on screen")
        self.x0, self.y0, self.cell_w, self.cell_h = frame
        _, h, _ = data
        x = self.x0 + 1
        lines = [y for y in range(self.y0, h) if max(pixel(data, x, y)) < 60]
        groups = []
        for y in lines:
            if groups and y - groups[-1][-1] <= 12 and len(groups[-1]) < 5:
                groups[-1].append(y)
            else:
                groups.append([y])
        staves = [g for g in groups if len(g) == 5 and g[1] - g[0] > 2
                  and spread([b - a for a, b in zip(g, g[1:])]) <= 1][:3]
        if len(staves) != 3:
            raise ValueError("expected three staves of five lines below x=%d, found %s" % (x, groups))
        offset = staves[0][0] - self.y0
        self.tops = [g[0] - offset for g in staves]
        if any(b - a < self.cell_h for a, b in zip(self.tops, self.tops[1:])):
            raise ValueError("staves overlap: tops %s for cells %d px high" % (self.tops, self.cell_h))
        # The solid lines run across all 40 cells: their length gives the column width.
        y = staves[0][-1]
        end = x = self.x0
        while x + 1 < data[0] and x - end <= 3:  # the pointer frame and glyphs break it briefly
            x += 1
            if sum(pixel(data, x, y)) < 150:
                end = x
        staff_width = end - self.x0 + 1
        if abs(staff_width / STAFF_COLUMNS - self.cell_w) > 1:
            raise ValueError("staff of %d px does not hold 40 cells of %d px" % (staff_width, self.cell_w))
        self.column_w = staff_width / STAFF_COLUMNS

    def centre(self, column, row):
        return (self.x0 + round((column - 0.5) * self.column_w), self.tops[row - 1] + self.cell_h // 2)

    def chord_field(self, row):
        """A point inside the chord field right above the staff of `row`."""
        return self.x0 + round(10 * self.column_w), self.tops[row - 1] - 12


def fail(message):
    print("FAILED: " + message)
    sys.exit(1)


def run_test(test):
    """Runs test(binary) for the binary named on the command line; a timeout or an early exit
    of the application (RuntimeError) fails the test with its message."""
    if len(sys.argv) != 2:
        fail("usage: %s <path to sorvelscore>" % os.path.basename(sys.argv[0]))
    try:
        test(sys.argv[1])
    except RuntimeError as e:
        fail(str(e))
