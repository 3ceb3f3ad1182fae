"""Timing of the real application's score playback, from a recording of what it sounds.

Starts a private PulseAudio server with a null sink (tests/e2e/sound_support.py), opens a
score of quarter notes at tempo 120 (360 of them by default: three minutes) in the binary
under Xvfb, sends Space and records the sink. Reports:
- the onset of every note against its nominal time (count-in of four beats, then one note
  every 0.5 s after the first click): the largest and mean error, and its drift over time;
- the time from the key event to the first count-in click being played into the sink. The
  key is sent with XTest from this process, so its moment is known to within the XSync round
  trip; the recording's samples are placed on the same monotonic clock from the moments
  parec's data arrives (late by its smallest delivery delay, which makes the figure an upper
  bound; a real sound card adds its own buffer).

    python3 bench/playback_timing.py build/release/bin/sorvelscore [notes]
"""
import ctypes
import os
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))
from e2e_support import App  # noqa: E402
from sound_support import Pulse, Recorder, onsets, tone_runs  # noqa: E402

BEAT = 0.5  # a quarter note at 120
COUNT_IN = 4
PITCHES = (10, 14, 17, 21)  # neighbours differ, so every note shows as a new onset


class XKeys:
    """Key events through XTest straight from this process: a key's release (the moment the
    application acts) is known to within one round trip to the X server."""

    def __init__(self, display):
        c = ctypes
        self.x11 = c.CDLL("libX11.so.6")
        self.xtst = c.CDLL("libXtst.so.6")
        self.x11.XOpenDisplay.restype = c.c_void_p
        self.x11.XOpenDisplay.argtypes = [c.c_char_p]
        self.x11.XStringToKeysym.restype = c.c_ulong
        self.x11.XStringToKeysym.argtypes = [c.c_char_p]
        self.x11.XKeysymToKeycode.argtypes = [c.c_void_p, c.c_ulong]
        self.x11.XSync.argtypes = [c.c_void_p, c.c_int]
        self.x11.XCloseDisplay.argtypes = [c.c_void_p]
        self.xtst.XTestFakeKeyEvent.argtypes = [c.c_void_p, c.c_uint, c.c_int, c.c_ulong]
        self.dpy = self.x11.XOpenDisplay(display.encode())
        if not self.dpy:
            raise RuntimeError("cannot open display " + display)

    def tap(self, name, hold=0.05):
        """Presses and releases a key; returns (before, after) the release on time.monotonic()."""
        code = self.x11.XKeysymToKeycode(self.dpy, self.x11.XStringToKeysym(name.encode()))
        self.xtst.XTestFakeKeyEvent(self.dpy, code, 1, 0)
        self.x11.XSync(self.dpy, 0)
        time.sleep(hold)
        before = time.monotonic()
        self.xtst.XTestFakeKeyEvent(self.dpy, code, 0, 0)
        self.x11.XSync(self.dpy, 0)
        return before, time.monotonic()

    def close(self):
        self.x11.XCloseDisplay(self.dpy)


def write_score(path, notes):
    with open(path, "w") as f:
        # Tempo item 3 ("120"), key "C", four beats a bar.
        f.write("<,sorvel2,0,3,440,0,0\n#\n#\n#\n")
        f.writelines("%d,5\n" % PITCHES[i % len(PITCHES)] for i in range(notes))


def main(binary, notes=360):
    app = App(binary, title="^long\\.sorvel", own_set_folder=True)
    score = os.path.join(app.home, "long.sorvel")
    write_score(score, notes)
    app.args = [score]
    with Pulse(), app:
        app.wait_title_window_closed()
        app.focus()
        keys = XKeys(app.display)
        rec = Recorder().start()
        try:
            time.sleep(0.5)  # some silence before the sound
            released = keys.tap("space")
            time.sleep((COUNT_IN + notes) * BEAT + 3.0)  # and loses its last one
        finally:
            samples = rec.stop()
            keys.close()
    runs = tone_runs(samples)
    found, breaks = onsets(runs)
    clicks = [o for o in found if o[1] > 1000]
    notes_found = [o for o in found if o[1] < 1000]
    print("recorded %.1f s, %d clicks and %d notes found, %d breaks inside tones"
          % (len(samples) / 48000.0, len(clicks), len(notes_found), len(breaks)))
    if len(clicks) < 2 or len(notes_found) != notes:
        print("expected %d notes; onsets: %r" % (notes, found[:20]))
        return 1
    # Nominal times count from where the first click should begin (see below).
    t0 = clicks[1][0] - BEAT
    errors = [(t - t0 - (COUNT_IN + i) * BEAT) * 1000 for i, (t, _) in enumerate(notes_found)]
    print("note onsets against first click + (4 + i) x 0.5 s: max |error| %.3f ms, "
          "mean %.3f ms, mean |error| %.3f ms"
          % (max(abs(e) for e in errors), sum(errors) / len(errors),
             sum(abs(e) for e in errors) / len(errors)))
    n = len(errors)
    xs = [(COUNT_IN + i) * BEAT for i in range(n)]
    mx, my = sum(xs) / n, sum(errors) / n
    slope = sum((x - mx) * (y - my) for x, y in zip(xs, errors)) / sum((x - mx) ** 2 for x in xs)
    tenth = max(1, n // 10)
    print("drift: %.4f ms per minute (fit); mean error first tenth %.3f ms, last tenth %.3f ms"
          % (slope * 60, sum(errors[:tenth]) / tenth, sum(errors[-tenth:]) / tenth))
    # Errors grow in steps where the sound broke off and what followed came later; between
    # those steps each note follows the one before by 0.5 s.
    moves = [(i, errors[i] - errors[i - 1]) for i in range(1, n)]
    steps = [(i, d) for i, d in moves if abs(d) > 0.1]
    steady = [abs(d) for _, d in moves if abs(d) <= 0.1]
    print("steps in the error (> 0.1 ms from one note to the next): %d, %.1f ms in all%s"
          % (len(steps), sum(d for _, d in steps),
             "".join(" [note %d: %+.1f ms]" % sd for sd in steps[:10])))
    if steady:
        print("the other %d note-to-note intervals: largest error %.3f ms"
              % (len(steady), max(steady)))
    # The application's output stream starts with the first click. When the null sink takes
    # on a new stream its monitor skips what the sink had already sent (the count of samples
    # jumps by 10 to 20 ms) and the first milliseconds of the click are missing from the
    # recording. Where the click began follows from the second one, a beat later, on the
    # steady stretch after that jump.
    heard = rec.monotonic_of(clicks[0][0])
    began = rec.monotonic_of(clicks[1][0]) - BEAT
    print("first click: begins %.1f ms after the release of Space (%.1f ms after its sending "
          "began); its first sample in the recording %.1f ms after the release"
          % ((began - released[1]) * 1000, (began - released[0]) * 1000,
             (heard - released[1]) * 1000))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], *(int(a) for a in sys.argv[2:3])))
