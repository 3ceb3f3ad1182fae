"""Quit with Ctrl+Q in the real process: a set folder typed into the preferences is stored in
the real settings file and receives the pattern table; the old set folder is left alone."""
import configparser
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_support import App, fail, run_test  # noqa: E402


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


def run(binary):
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
    print("ok: quit stored the typed set folder and wrote scale.csv into it")


if __name__ == "__main__":
    run_test(run)
