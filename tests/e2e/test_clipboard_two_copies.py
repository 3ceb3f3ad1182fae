"""Cells copied with Ctrl+C in one running copy of the application and pasted with Ctrl+V in
a second copy on the same X server, through the real X clipboard; the second saves them."""
import os
import time

from e2e_support import App, run_test

CELLS = [(4, 5), (7, 7), (10, 8)]  # C0 quarter, D0 eighth, E0 dotted eighth


def run(binary):
    first = App(binary, title="^three\\.sorvel", own_set_folder=True)
    first.args = [first.write("three.sorvel", "<,sorvel2,0,3,440,0,0\n#\n#\n#\n"
                              + "".join("%d,%d\n" % cell for cell in CELLS))]
    with first:
        first.wait_title_window_closed()
        first.focus()
        # The second and third cell selected from the keyboard, copied.
        first.press("Right", "shift+Right")
        time.sleep(0.3)
        first.key("ctrl+c")
        time.sleep(0.5)

        second = App(binary, title="^Untitled", own_set_folder=True, display=first.display)
        with second:
            second.wait_title_window_closed()
            second.focus()
            # Pasted before the selected cell: the new score's closing blank cell.
            second.key("ctrl+v")
            time.sleep(0.5)
            saved = os.path.join(second.home, "out", "pasted.sorvel")
            os.makedirs(os.path.dirname(saved))
            second.save_as(saved, "^pasted\\.sorvel")
            with open(saved, "rb") as f:
                lines = f.read().decode("utf-8").split("\n")[:-1]
            cells = [tuple(int(v) for v in line.split(","))
                     for line in lines[1:] if not line.startswith("#")]
            expected = [CELLS[1], CELLS[2], (0, 0)]
            second.check("pasted cells %s, expected %s" % (cells, expected), cells == expected)
    print("ok: cells copied in one running copy were pasted and saved in another")


if __name__ == "__main__":
    run_test(run)
