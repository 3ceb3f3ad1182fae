"""Files given on the command line: a name that is not valid UTF-8 opens, and a file that
cannot be opened leaves, after its alert, an untitled score instead of a process without any
window. A picture set of a FIFO and huge pictures never holds up the window."""
import os
import shutil
import struct
import time
import zlib

from e2e_support import App, run_test

SCORE = b"<,sorvel2,0,3,440,0,0\n#C\n#\n#\n17,5\n20,3\n"


def latin1_name(binary):
    app = App(binary, title="^caf")
    app.args = [app.write(b"caf\xe9.txt", SCORE)]  # Latin-1, not UTF-8
    with app:
        names, log = app.window_names(), app.output()
        app.check("the Latin-1 file name did not open: windows %r, log:\n%s" % (names, log),
                  not any("Untitled" in n for n in names) and "Can't open" not in log)


def rejected_file(binary):
    app = App(binary, title=".")
    app.args = [app.write("notes.txt", "hello\n")]
    with app:
        # Return on the alert dismisses it. Which visible window is the alert is not known
        # (the title window may be up as well), so each gets the key in turn.
        deadline = time.time() + 20
        while time.time() < deadline and not app.window_names("^Untitled"):
            for wid in app.search():
                app.focus(wid)
                app.xdotool("key", "--window", wid, "Return", check=False)
            time.sleep(0.5)
        app.check("after the alert no score window came: %r (the process runs on unseen)"
                  % app.window_names(), app.window_names("^Untitled"))
        app.check("the application ended after the alert", app.proc.poll() is None)


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
    app.args = [app.write("odd.txt", "<,sorvel2,0,3,440,0,0\n#\n"
                          + "".join("%d,5\n" % p for p in range(17, 24)))]
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
