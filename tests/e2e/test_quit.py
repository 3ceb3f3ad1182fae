"""Unsaved work in the real process: the questions of Ctrl+W and Ctrl+Q (Cancel, Save, Don't
Save), Ctrl+S writing the score's own file, and the recovery snapshot a kill -9 or a SIGTERM
leaves, restored by the next start."""
import glob
import os
import re

from e2e_support import App, run_test


def titled(app, name, modified):
    """The score window named name, with or without the modified mark, or None."""
    ids = app.search("^%s%s( |$)" % (re.escape(name), "\\*" if modified else ""))
    return ids[-1] if ids else None


def wait_titled(app, name, modified):
    return app.wait_until("a window titled %s%s" % (name, "*" if modified else ""),
                          lambda: titled(app, name, modified), 10)


def answer_question(app, key, closes=True):
    """Answers the save question (a box named like the application) with a key: Escape
    cancels, Return saves, n does not save. closes=False: another question follows."""
    app.focus_shown("the question", "^Sorvel Score$", 10)
    app.key(key)
    if closes:
        app.wait_until("the question to close", lambda: not app.window_names("^Sorvel Score$"), 10)


def read(path):
    with open(path, "rb") as f:
        return f.read()


def recovery_files(app):
    return glob.glob(os.path.join(app.home, "data", "Sorvel", "Sorvel Score", "recovery", "*.recovery"))


def close_save_and_quit(app):
    check = app.check
    a_path, c_path = os.path.join(app.home, "a.sorvel"), os.path.join(app.home, "c.sorvel")
    app.wait_title_window_closed()
    app.press("d", "3", "Return")
    wait_titled(app, "Untitled", True)
    # The first Save asks; the next writes the same file without a dialog.
    app.save_as(a_path, "^a\\.sorvel( |$)", keys="ctrl+s")
    app.press("f", "Return")
    a = wait_titled(app, "a.sorvel", True)
    app.key("ctrl+s")
    app.wait_until("a.sorvel written again", lambda: b"\n7,5\n" in read(a_path), 10)
    check("Ctrl+S asked for a location again", not app.window_names("^Save Score"))
    wait_titled(app, "a.sorvel", False)

    # Ctrl+W on a modified untitled score: Save asks where, then the window closes (Cancel,
    # Don't Save and undo per window are the window tests').
    app.focus(a)
    app.key("ctrl+n")
    app.wait_window("^Untitled 2")
    app.press("h", "3", "Return")
    app.key("ctrl+w")
    answer_question(app, "Return")
    app.answer_save_dialog(c_path)
    app.wait_until("Untitled 2 saved and closed", lambda: os.path.exists(c_path)
                   and not app.window_names("^Untitled 2"), 10)
    check("c.sorvel holds %r" % read(c_path), b"\n11,5\n" in read(c_path))

    # Ctrl+Q with three windows, one clean and two modified: Cancel keeps all of them and
    # writes nothing; then Save for a.sorvel and Don't Save for the untitled one.
    app.focus(a)
    app.press("j", "Return")
    app.key("ctrl+n")
    app.wait_window("^Untitled 3")
    app.press("k", "Return")
    app.key("ctrl+n")
    app.wait_window("^Untitled 4")
    scale = os.path.join(app.set_folder, "scale.csv")
    scale_before = os.stat(scale).st_mtime_ns
    app.key("ctrl+q")
    answer_question(app, "Escape")
    check("Cancel on Ctrl+Q closed windows: %s" % app.window_names(),
          titled(app, "a.sorvel", True) and titled(app, "Untitled 3", True)
          and titled(app, "Untitled 4", False))
    check("Cancel on Ctrl+Q wrote scale.csv", os.stat(scale).st_mtime_ns == scale_before)
    app.focus(a)
    app.key("ctrl+q")
    answer_question(app, "Return", closes=False)
    app.wait_until("a.sorvel saved", lambda: b"\n14,5\n" in read(a_path), 10)
    answer_question(app, "n")
    code = app.wait_exit()
    check("the application exited with %d" % code, code == 0)
    check("snapshots left after a normal quit: %s" % recovery_files(app), not recovery_files(app))


ORIGINAL = b"<,sorvel2,0,3,440,0,0\n#C\n#\n#\n17,5\n20,3\n17,17\n"


def recovery_after_kill_and_sigterm(app):
    check, orig = app.check, app.args[0]
    before, after = os.path.join(app.home, "before.sorvel"), os.path.join(app.home, "after.sorvel")
    app.wait_title_window_closed()
    # The same keys in two windows of one file; the second is saved, the first is not.
    first, second = app.search("^orig")[-2:]
    for wid in (first, second):
        app.focus(wid)
        app.press("g", "4", "Return", "Right", "shift+a", "slash")
    app.focus(second)
    app.save_as(before, "^before\\.sorvel( |$)")
    app.wait_until("the snapshot of the unsaved window", lambda: [
        f for f in recovery_files(app) if read(f).endswith(read(before))], 15)
    app.proc.kill()
    app.proc.wait()

    # The next start offers it back (the question's R restores); Save asks where, and writes
    # what the other window saved.
    app.title, app.args = "^Sorvel Score$", []
    app.start()
    app.wait_until("the restored score", lambda: [
        app.focus(w) or app.key("r") for w in app.search("^Sorvel Score$")]
        and titled(app, "orig.sorvel", True), 15, interval=0.5)
    app.window = titled(app, "orig.sorvel", True)
    app.focus()
    app.save_as(after, "^after\\.sorvel( |$)", keys="ctrl+s")
    check("the restored score saves as\n%r\ninstead of\n%r" % (read(after), read(before)),
          read(after) == read(before))
    check("orig.sorvel was overwritten", read(orig) == ORIGINAL)

    # SIGTERM with unsaved work: the application ends at once, leaving its snapshot.
    app.press("d", "Return")
    app.proc.terminate()
    code = app.wait_exit()
    check("the application exited with %d after SIGTERM" % code, code == 0)
    snapshots = recovery_files(app)
    check("SIGTERM left %d snapshots" % len(snapshots), len(snapshots) == 1)
    text = read(snapshots[0])
    check("the snapshot %r is not after.sorvel's edited score" % text,
          after.encode() in text and not text.endswith(read(after)) and b"<,sorvel2," in text)


def run(binary):
    with App(binary, title="^Untitled", own_set_folder=True) as app:
        close_save_and_quit(app)
    app = App(binary, title="^orig\\.sorvel", own_set_folder=True)
    app.args = [app.write("orig.sorvel", ORIGINAL)] * 2
    with app:
        recovery_after_kill_and_sigterm(app)
    print("ok: unsaved work is asked about, saved in place and recovered after kill -9 and "
          "SIGTERM")


if __name__ == "__main__":
    run_test(run)
