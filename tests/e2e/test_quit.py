"""Start-up with a score file, Save through Ctrl+S and the real file dialog, and Quit with Ctrl+Q:
the saved file equals the opened one byte for byte, and quitting stores the set folder in the
settings and writes the pattern table back to it."""
import configparser
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_support import App, fail, run_test  # noqa: E402

# Every header field away from its default: image set 1, tempo item 5, A = 442 Hz, key item 2,
# beat item 3. The window shows three chord lines, so a file with exactly three saves them
# unchanged (a page without a line would come back as the field's blank text).
HEADER = "<,sorvel2,1,5,442,2,3\n"
CHORDS = "#C  Am7  F\u266fm7b5\n#\n#       \n"
CELLS = "".join("%d,%d\n" % (i % 39, (i * 7) % 65) for i in range(90))  # three pages


def rows(path):
    with open(path, encoding="utf-8") as f:
        return [line.rstrip("\r\n") for line in f if line.strip()]


def stored_file_pass(app):
    config = configparser.ConfigParser(interpolation=None)
    config.read(app.settings_path(), encoding="utf-8")
    return config.get("General", "filePass", fallback=None)


def checker(app):
    def check(what, ok):
        if not ok:
            app.keep = True
            try:
                where = "screenshot: " + app.screenshot(os.path.join(app.home, "failure.png"))
            except Exception:  # the application, or its display, may be gone
                where = "files kept in " + app.home
            fail("%s (%s, log: %s)" % (what, where, os.path.join(app.home, "app.log")))
    return check


def save_then_quit(binary):
    app = App(binary, title="^round_trip\\.sorvel", own_set_folder=True)
    app.keep = bool(os.environ.get("SORVEL_E2E_KEEP"))
    original = os.path.join(app.home, "round_trip.sorvel")
    with open(original, "wb") as f:
        f.write((HEADER + CHORDS + CELLS).encode("utf-8"))
    app.args = [original]
    scale = os.path.join(app.set_folder, "scale.csv")
    scale_rows = rows(scale)
    scale_before = os.stat(scale)
    saved = os.path.join(app.home, "saved", "copy.sorvel")
    os.makedirs(os.path.dirname(saved))
    with app:
        check = checker(app)
        try:
            app.save_as(saved, "^copy\\.sorvel")
        except RuntimeError as e:
            check(str(e), False)
        with open(original, "rb") as a, open(saved, "rb") as b:
            want, got = a.read(), b.read()
        if want != got:
            at = next((i for i, (x, y) in enumerate(zip(want, got)) if x != y), min(len(want), len(got)))
            check("the saved file differs from the opened one at byte %d: %r instead of %r"
                  % (at, got[max(0, at - 20):at + 20], want[max(0, at - 20):at + 20]), False)

        app.key("ctrl+q")
        try:
            code = app.wait_exit()
        except RuntimeError as e:
            check(str(e), False)
        check("the application exited with %d after Ctrl+Q" % code, code == 0)
        after = os.stat(scale)
        check("scale.csv was not written back at quit",
              (after.st_ino, after.st_mtime_ns) != (scale_before.st_ino, scale_before.st_mtime_ns))
        check("scale.csv rows changed at quit:\n%s\ninstead of\n%s" % (rows(scale), scale_rows),
              rows(scale) == scale_rows)
        check("filePass stored as %r, expected %r" % (stored_file_pass(app), app.set_folder),
              stored_file_pass(app) == app.set_folder)


def new_set_folder_then_quit(binary):
    """A set folder typed into the preferences is stored at quit and receives the table."""
    app = App(binary, title="^Untitled", own_set_folder=True)
    app.keep = bool(os.environ.get("SORVEL_E2E_KEEP"))
    old_scale = os.path.join(app.set_folder, "scale.csv")
    scale_rows = rows(old_scale)
    old_before = os.stat(old_scale)
    new_folder = os.path.join(app.home, "other set")
    os.makedirs(new_folder)
    with app:
        check = checker(app)
        try:
            pref = None
            for _ in range(3):  # File menu, Preferences; the menu may open late
                app.key("alt+f")
                time.sleep(0.5)
                app.key("p")
                try:
                    pref = app.wait_until("the preferences window", lambda: app.xdotool(
                        "search", "--onlyvisible", "--name", "^Preferences", check=False).split(), 3)
                    break
                except RuntimeError:
                    app.key("Escape")
                    app.focus()
            check("File > Preferences did not open the preferences window", pref)
            app.focus(pref[-1])
            app.key("ctrl+a")
            app.xdotool("type", "--delay", "20", new_folder)
            app.key("ctrl+q")
            code = app.wait_exit()
        except RuntimeError as e:
            check(str(e), False)
        check("the application exited with %d after Ctrl+Q" % code, code == 0)
        check("filePass stored as %r, expected the folder typed in the preferences %r"
              % (stored_file_pass(app), new_folder), stored_file_pass(app) == new_folder)
        new_scale = os.path.join(new_folder, "scale.csv")
        check("no scale.csv written to the new set folder", os.path.exists(new_scale))
        check("scale.csv in the new set folder holds\n%s\ninstead of\n%s" % (rows(new_scale), scale_rows),
              rows(new_scale) == scale_rows)
        old_after = os.stat(old_scale)
        check("scale.csv of the old set folder was rewritten",
              (old_after.st_ino, old_after.st_mtime_ns) == (old_before.st_ino, old_before.st_mtime_ns))


def run(binary):
    save_then_quit(binary)
    new_set_folder_then_quit(binary)
    print("ok: saved bytes equal the opened file; quit stores filePass and writes scale.csv back")


if __name__ == "__main__":
    run_test(run)
