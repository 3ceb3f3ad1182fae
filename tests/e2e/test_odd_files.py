"""Files given on the command line: a name that is not valid UTF-8 opens, and a file that
cannot be opened leaves, after its alert, an untitled score instead of a process without any
window. A picture set of a FIFO and huge pictures never holds up the window."""
import os
import shutil
import struct
import sys
import time
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_support import App, fail, run_test  # noqa: E402

SCORE = b"<,sorvel2,0,3,440,0,0\n#C\n#\n#\n17,5\n20,3\n"


def latin1_name(binary):
    app = App(binary, title="^caf")
    path = os.path.join(os.fsencode(app.home), b"caf\xe9.txt")  # Latin-1, not UTF-8
    with open(path, "wb") as f:
        f.write(SCORE)
    app.args = [path]
    with app:
        names = app.window_names()
        if any("Untitled" in n for n in names) or "Can't open" in app.output():
            fail("the Latin-1 file name did not open: windows %r, log:\n%s" % (names, app.output()))


def rejected_file(binary):
    app = App(binary, title=".")
    bad = os.path.join(app.home, "notes.txt")
    with open(bad, "w") as f:
        f.write("hello\n")
    app.args = [bad]
    with app:
        # Return on the alert dismisses it. Which visible window is the alert is not known
        # (the title window may be up as well), so each gets the key in turn.
        deadline = time.time() + 20
        while time.time() < deadline and not app.window_names("^Untitled"):
            for wid in app.xdotool("search", "--onlyvisible", "--name", ".", check=False).split():
                app.focus(wid)
                app.xdotool("key", "--window", wid, "Return", check=False)
            time.sleep(0.5)
        if not app.window_names("^Untitled"):
            fail("after the alert no score window came: %r (the process runs on unseen)"
                 % app.window_names())
        if app.proc.poll() is not None:
            fail("the application ended after the alert")


def write_png(path, width, height):
    """A one-colour RGB picture, written row by row (64 megapixels without a library)."""
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    row = b"\x00" + b"\x28\xa0\x5a" * width
    packer = zlib.compressobj(1)
    data = b"".join(packer.compress(row) for _ in range(height)) + packer.flush()
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
                + chunk(b"IDAT", data) + chunk(b"IEND", b""))


def answer_time(app, timeout=5.0):
    """Seconds from a key release reaching the X server to the window's log line for it, or
    None when the window does not answer within timeout."""
    before = app.output().count("keyUp 53")
    app.xdotool("key", "Escape")
    start = time.monotonic()
    while time.monotonic() - start < timeout:
        if app.output().count("keyUp 53") > before:
            return time.monotonic() - start
        time.sleep(0.002)
    return None


def odd_pictures(binary):
    # The only picture set: the entry note's picture (A1, the entry cell's pitch) is a FIFO
    # that no one writes to, the notes of the score show pictures of 8000x8000 pixels.
    app = App(binary, title="^odd", own_set_folder=True)
    for name in os.listdir(app.set_folder):
        if os.path.isdir(os.path.join(app.set_folder, name)):
            shutil.rmtree(os.path.join(app.set_folder, name))
    odd = os.path.join(app.set_folder, "odd")
    os.makedirs(odd)
    write_png(os.path.join(app.home, "huge.png"), 8000, 8000)
    for name in ("A1#", "B1b", "B1", "C1", "C1#", "D1b"):  # pitches 18 to 23
        os.link(os.path.join(app.home, "huge.png"), os.path.join(odd, name + ".png"))
    os.mkfifo(os.path.join(odd, "A1.png"))
    score = os.path.join(app.home, "odd.txt")
    with open(score, "w") as f:
        f.write("<,sorvel2,0,3,440,0,0\n#\n" + "".join("%d,5\n" % p for p in range(17, 24)))
    app.args = [score]
    with app:
        # The window has asked for every picture with its first paint; they are still being
        # decoded while it answers.
        for _ in range(5):
            took = answer_time(app)
            if took is None or took > 0.1:
                app.keep = True
                fail("with a FIFO and huge pictures in the set the window answered a key %s"
                     % ("not at all" if took is None else "after %.0f ms" % (took * 1000)))
            time.sleep(0.2)


def run(binary):
    latin1_name(binary)
    rejected_file(binary)
    odd_pictures(binary)
    print("ok: a Latin-1 file name opens; an unopenable file leaves an untitled score; a set "
          "of odd pictures never holds up the window")


if __name__ == "__main__":
    run_test(run)
