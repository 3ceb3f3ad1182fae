"""Clicks and Shift-clicks on the staves of the real score window move the red pointer and the
yellow selection; clicks past the end of the score change nothing."""
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_support import App, Staves, fail, find_frame, pixels, region, run_test  # noqa: E402

CELLS = 60  # a full first line and 20 cells on the second
COLUMNS = 40


def write_score(path):
    # Notes, rests and a mark, so the cells hold glyphs and pictures of every kind.
    cells = []
    for i in range(CELLS):
        if i % 10 == 9:
            cells.append((17, 17))
        elif i % 10 == 4:
            cells.append((17, 25))
        else:
            cells.append((4 + (i * 5) % 34, (1, 3, 5, 6, 7)[i % 5]))
    with open(path, "w") as f:
        f.write("<,sorvel2,0,3,440,0,0\n#C\n#F\n#G\n")
        f.writelines("%d,%d\n" % c for c in cells)


def cells_between(start, end):
    """(column, row) of every cell from start to end, both included, in reading order."""
    out = set()
    (c, r) = start
    while (r, c) <= (end[1], end[0]):
        out.add((c, r))
        c += 1
        if c > COLUMNS:
            c, r = 1, r + 1
    return out


def run(binary):
    app = App(binary, title="^staff_clicks\\.sorvel", own_set_folder=True)
    score = os.path.join(app.home, "staff_clicks.sorvel")
    write_score(score)
    app.args = [score]
    app.keep = bool(os.environ.get("SORVEL_E2E_KEEP"))
    with app:
        shots = []

        def shot():
            path = app.screenshot(os.path.join(app.home, "shot-%02d.png" % len(shots)))
            shots.append(path)
            return path, pixels(path)

        def check(what, ok):
            if not ok:
                app.keep = True
                fail("%s (screenshot: %s; all screenshots kept in %s)" % (what, shots[-1], app.home))

        app.wait_title_window_closed()
        _, data = shot()
        try:
            staves = Staves(data)
        except ValueError as e:
            app.keep = True
            fail("%s (screenshot: %s)" % (e, shots[-1]))
        check("staves overlap: tops %s for cells %d px high" % (staves.tops, staves.cell_h),
              all(b - a >= staves.cell_h for a, b in zip(staves.tops, staves.tops[1:])))

        def observe(data):
            try:
                return find_frame(data), staves.yellow_cells(data)
            except ValueError as e:  # a partly yellow cell
                return find_frame(data), str(e)

        def expect(step, action, pointer, selection, timeout=5):
            """Runs action, then waits for the pointer over `pointer` and exactly the cells of
            `selection` in yellow; the screen may take a moment to follow a click."""
            action()
            want = (staves.rect(*pointer), selection)
            deadline = time.time() + timeout
            while True:
                _, data = shot()
                seen = observe(data)
                if seen == want or time.time() > deadline:
                    break
                time.sleep(0.2)
            frame, yellow = seen
            check("%s: pointer frame at %s, expected over cell %s at %s"
                  % (step, frame, pointer, want[0]), frame == want[0])
            check("%s: yellow cells %s, expected %s"
                  % (step, sorted(yellow) if isinstance(yellow, set) else yellow, sorted(selection)),
                  yellow == selection)
            return data

        expect("at start", lambda: None, (1, 1), {(1, 1)})

        # (column, row, shift, pointer after, selection start and end after)
        steps = [
            (5, 2, False, (5, 2), ((5, 2), (5, 2))),
            (12, 2, True, (5, 2), ((5, 2), (12, 2))),
            # before the start: the clicked cell becomes the start, the old start the end
            (2, 1, True, (2, 1), ((2, 1), (5, 2))),
            # the last cell of the score is still a cell
            (20, 2, True, (2, 1), ((2, 1), (20, 2))),
            (40, 1, False, (40, 1), ((40, 1), (40, 1))),
            (3, 2, True, (40, 1), ((40, 1), (3, 2))),
        ]
        for column, row, shift, pointer, (first, last) in steps:
            name = "%sclick on cell (%d, %d)" % ("shift-" if shift else "", column, row)
            data = expect(name, lambda: app.click(*staves.centre(column, row), shift=shift),
                          pointer, cells_between(first, last))

        # Past the end of the score: the cell after the last one, further right, and the
        # empty third staff. Nothing changes on screen.
        before = region(data, staves.area())
        for column, row, shift in [(21, 2, False), (30, 2, True), (3, 3, False), (40, 3, True)]:
            app.click(*staves.centre(column, row), shift=shift)
        time.sleep(1.0)
        _, data = shot()
        check("clicks past the end of the score changed the staves", region(data, staves.area()) == before)
        # Nor did they change the selection behind the screen: a Shift-click now extends the
        # range kept from before them.
        expect("shift-click after the ignored clicks",
               lambda: app.click(*staves.centre(8, 2), shift=True), (40, 1),
               cells_between((40, 1), (8, 2)))
        if app.proc.poll() is not None:
            app.keep = True
            fail("the application exited:\n" + app.output())
    print("ok: clicks and shift-clicks select cells; clicks past the end are ignored")


if __name__ == "__main__":
    run_test(run)
