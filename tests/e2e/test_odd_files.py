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
    """A one-colour RGB picture, compressed row by row (64 megapixels without a library)."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    packer = zlib.compressobj(1)
    rows = b"".join(packer.compress(b"\x00" + b"\x28\xa0\x5a" * width) for _ in range(height))
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
                + chunk(b"IDAT", rows + packer.flush()) + chunk(b"IEND", b""))


def odd_pictures(binary):
    """The one picture set: the entry note's picture (A1) a FIFO nobody writes to, the score's
    notes 8000x8000 pictures. Every key is answered (its log line written) within 100 ms."""
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
    app.args = [os.path.join(app.home, "odd.txt")]
    with open(app.args[0], "w") as f:
        f.write("<,sorvel2,0,3,440,0,0\n#\n" + "".join("%d,5\n" % p for p in range(17, 24)))
    with app:
        for _ in range(5):  # while the pictures are still being decoded
            before = app.output().count("keyUp 53")
            app.xdotool("key", "Escape")
            start = time.monotonic()
            while app.output().count("keyUp 53") == before and time.monotonic() - start < 5:
                time.sleep(0.002)
            took = time.monotonic() - start
            app.check("with a FIFO and huge pictures in the set a key took %.0f ms"
                      % (took * 1000), took <= 0.1)
            time.sleep(0.2)


def run(binary):
    latin1_name(binary)
    rejected_file(binary)
    odd_pictures(binary)
    print("ok: a Latin-1 file name opens; an unopenable file leaves an untitled score; a set "
          "of odd pictures never holds up the window")


if __name__ == "__main__":
    run_test(run)
