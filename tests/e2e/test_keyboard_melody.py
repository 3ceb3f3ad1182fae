"""A melody typed with real X key presses and releases into a new score, saved through the real
file dialog (Ctrl+S), and read back from the saved file. Typing into a chord field must not
reach the score; Escape and a click on a staff give the keyboard back to it."""
import os
import time

from e2e_support import App, Staves, pixels, run_test

# Each note: the keys that set the entry cell, then "/" to insert it before the selected cell
# (the selection stays on it) and Right to move on to the blank cell that closes the score.
# The cell each note should become, as (pitch index, note-value index).
MELODY = [
    (["d", "3"], (4, 5)),                               # C0 quarter
    (["g", "4", "period"], (10, 8)),                    # E0 dotted eighth
    (["a", "Up", "Up", "2"], (4, 3)),                   # A0, two natural steps up to C0, half
    (["shift+a", "2"], (17, 3)),                        # A1 half (Shift: an octave up)
    (["shift+3"], (17, 17)),                            # quarter rest (its pitch is A1)
    (["u", "3", "9"], (12, 41)),                        # F0# quarter triplet
    (["l", "3", "8"], (20, 55)),                        # B1 quarter, tied
    (["j", "4", "backslash"], (14, 35)),                # G0 eighth, alternate form
]
# The last note is written over the closing blank cell with Return.
LAST = (["h", "6", "Return"], (11, 11))                 # F0 thirty-second


def run(binary):
    app = App(binary, title="^Untitled", own_set_folder=True)
    saved = os.path.join(app.home, "out", "melody.sorvel")
    os.makedirs(os.path.dirname(saved))
    with app:
        check = app.check
        app.wait_title_window_closed()
        staves = Staves(pixels(app.screenshot(os.path.join(app.home, "start.png"))))

        for keys, _ in MELODY:
            app.press(*keys)
            app.press("slash", "Right")
            if keys == MELODY[3][0]:
                # A wrong note inserted and deleted again leaves no trace.
                app.press("w", "3", "slash", "BackSpace")
        app.press(*LAST[0])
        expected = [cell for _, cell in MELODY] + [LAST[1]]

        # Chord field 1: a click gives it the keyboard, and what is typed there, Return
        # included, never edits the score. Escape gives the keyboard back.
        app.click(*staves.chord_field(1))
        app.key("ctrl+a")
        app.xdotool("type", "--delay", "30", "Am7d3/")
        app.press("Return", "x", "BackSpace")
        app.press("Escape")
        # Keys reach the score again: E1 over the selected (last) cell, value kept.
        app.press("shift+g", "Return")
        expected[-1] = (27, expected[-1][1])

        # Chord field 2; this time a click on a staff cell ends the typing.
        app.click(*staves.chord_field(2))
        app.key("ctrl+a")
        app.xdotool("type", "--delay", "30", "G7")
        app.press("Return")
        app.click(*staves.centre(1, 1))
        # The first cell is now selected and copied into the entry: C1, value kept.
        app.press("shift+d", "Return")
        expected[0] = (21, expected[0][1])
        time.sleep(0.3)

        app.save_as(saved, "^melody\\.sorvel")

        with open(saved, "rb") as f:
            text = f.read()
        check("the saved file is not UTF-8 text with LF line ends: %r" % text,
              b"\r" not in text and text.endswith(b"\n"))
        lines = text.decode("utf-8").split("\n")[:-1]
        header = lines[0].split(",")
        check("header %r" % lines[0],
              header[:2] == ["<", "sorvel2"] and header[3:] == ["3", "440", "0", "0"]
              and header[2].isdigit())
        chords = [line for line in lines[1:] if line.startswith("#")]
        check("chord lines %r, expected the typed chords and a blank third line" % chords,
              chords == ["#Am7d3/", "#G7", "#       "])
        cells = [tuple(int(v) for v in line.split(",")) for line in lines[1 + len(chords):]]
        check("saved cells %s,\n  expected %s" % (cells, expected), cells == expected)
    print("ok: %d cells typed from the keyboard saved as expected" % len(expected))


if __name__ == "__main__":
    run_test(run)
