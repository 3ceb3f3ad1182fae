"""Tools > Phrase Builder through the real window: a chord symbol becomes the phrase, the short
circle of fourths puts it on the line in seven keys, the line goes to the score in front, and
the saved score holds the cells after the one the new score started with."""
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_support import App, fail, run_test  # noqa: E402

MARK = (17, 25)
QUARTER = 5
# The C major triad in the keys the short circle visits, as score pitches: C, F, then B, E,
# A, D and G (the notes wrap within the builder's two octaves, C0 ... B1).
KEYS = [
    (4, 10, 14),   # C0 E0 G0
    (11, 17, 21),  # F0 A0 C1
    (20, 25, 29),  # B0 D1# F1#
    (27, 32, 37),  # E1 G1# B1
    (34, 5, 10),   # A1 C0# E0
    (7, 12, 17),   # D0 F0# A0
    (14, 20, 24),  # G0 B0 D1
]


def expected_cells():
    # The chord's notes and its mark, then per further key a separating mark, the notes and
    # the chord's own mark.
    cells = [(p, QUARTER) for p in KEYS[0]] + [MARK]
    for key in KEYS[1:]:
        cells += [MARK] + [(p, QUARTER) for p in key] + [MARK]
    return cells


def cell_rows(path):
    with open(path, encoding="utf-8") as f:
        lines = [line.rstrip("\r\n") for line in f]
    return [tuple(int(x) for x in line.split(",")) for line in lines[1:]
            if line and not line.startswith("#")]


def open_builder(app):
    for _ in range(3):  # Tools menu, Phrase Builder; the menu may open late
        app.focus()
        app.key("alt+t")
        time.sleep(0.5)
        app.key("p")
        try:
            return app.wait_until("the phrase builder", lambda: app.xdotool(
                "search", "--onlyvisible", "--name", "^Phrase Builder", check=False).split(), 3)[-1]
        except RuntimeError:
            app.key("Escape")
    raise RuntimeError("Tools > Phrase Builder did not open the builder window")


def run(binary):
    app = App(binary, title="^Untitled", own_set_folder=True)
    app.keep = bool(os.environ.get("SORVEL_E2E_KEEP"))
    saved = os.path.join(app.home, "phrase.sorvel")
    with app:
        def check(what, ok):
            if not ok:
                app.keep = True
                fail("%s (screenshot: %s)" % (what, app.screenshot(os.path.join(app.home, "failure.png"))))

        try:
            app.wait_title_window_closed()
            builder = open_builder(app)
            app.focus(builder)
            app.key("alt+h")  # the chord symbol field
            app.xdotool("type", "--delay", "20", "C")
            app.key("alt+c", "alt+o", "alt+s")  # chords, short circle, send
            app.wait_until("the builder to close after sending", lambda: not app.xdotool(
                "search", "--onlyvisible", "--name", "^Phrase Builder", check=False).split(), 10)
            app.focus()
            app.save_as(saved, "^phrase\\.sorvel")
        except RuntimeError as e:
            check(str(e), False)
        rows = cell_rows(saved)
        want = expected_cells()
        check("saved cells\n%s\ninstead of the new score's cell and\n%s" % (rows, want),
              len(rows) == len(want) + 1 and rows[1:] == want)
    print("ok: chord symbol, short circle of fourths and send reached the saved score")


if __name__ == "__main__":
    run_test(run)
