"""Files given on the command line: a name that is not valid UTF-8 opens, and a file that
cannot be opened leaves, after its alert, an untitled score instead of a process without any
window."""
import os
import sys
import time

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


def run(binary):
    latin1_name(binary)
    rejected_file(binary)
    print("ok: a Latin-1 file name opens; an unopenable file leaves an untitled score")


if __name__ == "__main__":
    run_test(run)
