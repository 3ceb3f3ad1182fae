"""Cells copied with Ctrl+C in one running copy of the application and pasted with Ctrl+V in
a second copy on the same X server, through the real X clipboard; the second saves them."""
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_support import App, Staves, fail, pixels, run_test  # noqa: E402

# Keys that set the entry cell, then "/" inserts it before the selected cell and Right moves
# on to the blank cell that closes the score. The cell each becomes (pitch, note value).
NOTES = [
    (["d", "3"], (4, 5)),             # C0 quarter
    (["f", "4"], (7, 7)),             # D0 eighth
    (["g", "4", "period"], (10, 8)),  # E0 dotted eighth
]


def run(binary):
    first = App(binary, title="^Untitled", own_set_folder=True)
    first.keep = bool(os.environ.get("SORVEL_E2E_KEEP"))
    with first:
        def check(what, ok, app=first):
            if not ok:
                first.keep = True
                shot = app.screenshot(os.path.join(first.home, "failure.png"))
                fail("%s (screenshot: %s, logs: %s)" % (what, shot, first.home))

        first.wait_title_window_closed()
        try:
            staves = Staves(pixels(first.screenshot(os.path.join(first.home, "start.png"))))
        except ValueError as e:
            check(str(e), False)
        for keys, _ in NOTES:
            first.press(*keys)
            first.press("slash", "Right")
        # The second and third cell selected, copied.
        first.click(*staves.centre(2, 1))
        first.click(*staves.centre(3, 1), shift=True)
        time.sleep(0.3)
        first.key("ctrl+c")
        time.sleep(0.5)

        second = App(binary, title="^Untitled", own_set_folder=True, display=first.display)
        second.keep = first.keep
        with second:
            second.wait_title_window_closed()
            second.focus()
            # Pasted before the selected cell: the new score's closing blank cell.
            second.key("ctrl+v")
            time.sleep(0.5)
            saved = os.path.join(second.home, "out", "pasted.sorvel")
            os.makedirs(os.path.dirname(saved))
            try:
                second.save_as(saved, "^pasted\\.sorvel")
            except RuntimeError as e:
                check(str(e), False, second)
            with open(saved, "rb") as f:
                lines = f.read().decode("utf-8").split("\n")[:-1]
            cells = [tuple(int(v) for v in line.split(","))
                     for line in lines[1:] if not line.startswith("#")]
            expected = [NOTES[1][1], NOTES[2][1], (0, 0)]
            if cells != expected:
                first.keep = second.keep = True
                second.screenshot(os.path.join(first.home, "second.png"))
            check("pasted cells %s, expected %s (second copy's home %s)"
                  % (cells, expected, second.home), cells == expected, second)
    print("ok: cells copied in one running copy were pasted and saved in another")


if __name__ == "__main__":
    run_test(run)
