"""Sound of the real application while both cores are busy, recorded at a private null sink.

Starts a private PulseAudio server with a null sink (tests/e2e/sound_support.py), the binary
under Xvfb with a score of quarter notes at tempo 120 (1200 of them by default: ten minutes),
and a busy loop per core at nice 10. Recording the sink's monitor with parec, it
1. taps a piano key five times (after one warm-up tone) and measures key release to the
   entry tone's first sample at the sink;
2. presses Space and records the whole score: dropouts (a note whose sound breaks off or moves
   against the note before it), the largest onset error against the nominal list (count-in of
   four beats, then one note every 24000 frames after the first click) and its growth over the
   minutes, and Space to the first click;
3. opens the tuner and starts its tone five times: key release to the tone's first sample.

Every onset is placed to a fraction of a sample by fitting the synthesized tone (its sine
from phase 0 and its attack, which the script finds out: none, or a short raised cosine) to
the recording around the crossings of its pitch. Key events go through XTest from this
process, so their moments are known to within one X round trip; the recording's samples are
placed on the same monotonic clock from the moments parec's data arrives (late by its smallest
delivery delay, so latencies are upper bounds).

    python3 bench/sound_under_load.py build/release/bin/sorvelscore [notes]
    SORVEL_BENCH_SAVE=rec.pickle python3 bench/sound_under_load.py ...  # keeps the recording
    python3 bench/sound_under_load.py --analyse rec.pickle
"""
import ctypes
import math
import os
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))
from e2e_support import App, end_process  # noqa: E402
from sound_support import RATE, Pulse, Recorder, open_tuner  # noqa: E402

BEAT = 24000  # frames of a quarter note at 120
COUNT_IN = 4
PITCHES = (10, 14, 17, 21)  # 330, 392, 440, 523 Hz: neighbours differ
TAPS = 5


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
        """Presses and releases a key; returns the moment of the release on time.monotonic()."""
        code = self.x11.XKeysymToKeycode(self.dpy, self.x11.XStringToKeysym(name.encode()))
        self.xtst.XTestFakeKeyEvent(self.dpy, code, 1, 0)
        self.x11.XSync(self.dpy, 0)
        time.sleep(hold)
        self.xtst.XTestFakeKeyEvent(self.dpy, code, 0, 0)
        self.x11.XSync(self.dpy, 0)
        return time.monotonic()

    def close(self):
        self.x11.XCloseDisplay(self.dpy)


def write_score(path, notes):
    with open(path, "w") as f:
        f.write("<,sorvel2,0,3,440,0,0\n#\n#\n#\n")  # tempo item 3 ("120"), key C, 4 beats
        f.writelines("%d,5\n" % PITCHES[i % len(PITCHES)] for i in range(notes))


def sample_index(rec, moment, window=2.0):
    """The recording's sample played into the sink at a monotonic moment: the inverse of
    rec.monotonic_of, from the reads of the window after it (the sink's clock and the
    system's drift apart over minutes)."""
    near = [n / 2 - (t - moment) * RATE for t, n in rec.arrivals if moment <= t <= moment + window]
    if not near:
        start = min(t - n / 2 / RATE for t, n in rec.arrivals)
        return max(0, int((moment - start) * RATE))
    return max(0, int(max(near)))


def first_sound(s, frm, to, quiet=0):
    """The first sample at or after frm that is not silence (the null sink's silence is 0)
    and follows at least `quiet` samples of it."""
    zeros = 0
    for i in range(max(frm, 0), min(to, len(s))):
        if -2 <= s[i] <= 2:
            zeros += 1
        elif zeros < quiet:
            zeros = 0
        else:
            # The attack's first samples round to 0 or +-1: back to the last zero before.
            while i > frm and s[i - 1] != 0:
                i -= 1
            return i
    return None


def crossings(s, a, b):
    """Rising zero crossings between samples a and b, placed between samples."""
    out = []
    for i in range(max(a, 0), min(b, len(s) - 1)):
        x, y = s[i], s[i + 1]
        if x < 0 <= y and y - x > 2:
            out.append(i + x / float(x - y))
    return out


def frequency(s, a, b):
    """Frequency from the rising crossings of a steady stretch (least squares), or None."""
    c = crossings(s, a, b)
    if len(c) < 8:
        return None
    p = (c[-1] - c[0]) / (len(c) - 1)
    ks = [round((x - c[0]) / p) for x in c]
    n, mk, mx = len(c), sum(ks) / len(c), sum(c) / len(c)
    slope = sum((k - mk) * (x - mx) for k, x in zip(ks, c)) / sum((k - mk) ** 2 for k in ks)
    return RATE / slope


class Tone:
    """One synthesized tone: onset (fractional sample), frequency, amplitude, attack frames."""

    def __init__(self, onset, hz, amp, ramp):
        self.onset, self.hz, self.amp, self.ramp = onset, hz, amp, ramp

    def envelope(self, k):
        if self.ramp <= 0 or k >= self.ramp:
            return 1.0
        return 0.5 - 0.5 * math.cos(math.pi * k / self.ramp)

    def at(self, n, end=None):
        k = n - self.onset
        if k < 0 or (end is not None and n >= end):
            return 0.0
        g = self.envelope(k)
        if end is not None and self.ramp > 0 and end - n < self.ramp:
            g = min(g, 0.5 - 0.5 * math.cos(math.pi * (end - n) / self.ramp))
        return self.amp * g * math.sin(2 * math.pi * self.hz * k / RATE)


def place(s, prev, hz, amp, ramp, near, span):
    """The onset of a tone of hz starting within near +- span after the tone prev (or after
    silence): the first crossing of its pitch, then the period before it that fits best."""
    period = RATE / hz
    cs = crossings(s, int(near - span), int(near + span + 12 * period))
    first = None
    for j in range(len(cs) - 6):
        if all(abs(cs[j + m + 1] - cs[j + m] - period) < 0.03 * period for m in range(6)):
            first = cs[j]
            break
    if first is None:
        return None
    best = None
    for k in range(0, 4):
        o = first - k * period
        t = Tone(o, hz, amp, ramp)
        lo, hi = int(first - 4 * period) - 48, int(first + 3 * period)
        err = 0.0
        for n in range(max(lo, 0), min(hi, len(s))):
            want = t.at(n) + (prev.at(n, end=o) if prev else 0.0)
            err += (s[n] - want) ** 2
        if best is None or err < best[0]:
            best = (err, o)
    return best[1]


def attack_of(s, onset_guess, hz, amp):
    """The attack the build synthesizes (0 or a few ms), from the first click out of silence."""
    best = None
    for ramp_ms in (0, 2, 3, 4, 5, 6, 8, 10):
        ramp = ramp_ms * RATE / 1000
        o = place(s, None, hz, amp, ramp, onset_guess, 0.01 * RATE)
        if o is None:
            continue
        t = Tone(o, hz, amp, ramp)
        err = sum((s[n] - t.at(n)) ** 2 for n in range(int(o), int(o) + 480))
        if best is None or err < best[0]:
            best = (err, ramp)
    return best[1] if best else 0


def peak(s, a, b):
    w = s[max(a, 0):min(b, len(s))]
    return max(max(w), -min(w)) if w else 0


def runs_of(cs):
    """Stretches of crossings one period apart: [first crossing, last crossing, period]."""
    runs = []
    for x, y in zip(cs, cs[1:]):
        d = y - x
        if runs and runs[-1][1] == x and abs(d - runs[-1][2]) < 0.01 * runs[-1][2]:
            r = runs[-1]
            r[1], r[3] = y, r[3] + 1
            r[2] = (r[1] - r[0]) / r[3]
        else:
            runs.append([x, y, d, 1])
    return [r for r in runs if r[3] >= 4]


def analyse_playback(s, start, notes):
    first = first_sound(s, start, len(s))
    if first is None:
        return None, "no sound after Space"
    # The sink's monitor may cut the first click's start: the second one is the reference.
    amp_click = peak(s, first + 240, first + 720)
    click2 = first_sound(s, first + BEAT - 2400, len(s))
    ramp = attack_of(s, click2, 1250.0, amp_click)
    o = place(s, None, 1250.0, amp_click, ramp, click2, 0.003 * RATE)
    if o is None:
        return None, "no second click"
    origin = o - BEAT
    # The notes: stretches of one pitch, a new note wherever the pitch changes.
    begin = int(origin + COUNT_IN * BEAT - 0.05 * RATE)
    runs = runs_of(crossings(s, begin, len(s)))
    groups = []
    for r in runs:
        if groups and abs(r[2] - groups[-1][-1][2]) < 0.01 * r[2]:
            groups[-1].append(r)
        else:
            groups.append([r])
    amp = peak(s, int(origin + COUNT_IN * BEAT + 4800), int(origin + COUNT_IN * BEAT + 9600))
    errors, breaks, moves, prev = [], 0, [], None
    for i, g in enumerate(groups[:notes]):
        breaks += len(g) - 1
        hz = RATE / g[0][2]
        first_c = g[0][0]
        period = g[0][2]
        best = None
        for k in range(4):
            o = first_c - k * period
            if prev and o <= prev.onset:
                break
            t = Tone(o, hz, amp, ramp)
            err = 0.0
            for n in range(int(first_c - 4 * period) - 48, int(first_c + 3 * period)):
                err += (s[n] - t.at(n) - (prev.at(n, end=o) if prev else 0.0)) ** 2
            if best is None or err < best[0]:
                best = (err, o)
        o = best[1]
        errors.append((o - origin - (COUNT_IN + i) * BEAT) * 1000.0 / RATE)
        if prev and abs(o - prev.onset - BEAT) > 4.8:  # 0.1 ms
            moves.append((i, (o - prev.onset - BEAT) * 1000.0 / RATE))
        prev = Tone(o, hz, amp, ramp)
    return {"first": first, "ramp_ms": ramp * 1000.0 / RATE, "amp": amp, "errors": errors,
            "breaks": breaks, "moves": moves, "groups": len(groups)}, None


def report_playback(r, notes, space_at, rec):
    e = r["errors"]
    print("playback: attack %.1f ms, level %.1f dBFS, %d notes heard of %d"
          % (r["ramp_ms"], 20 * math.log10(max(r["amp"], 1) / 32767.0), r["groups"], notes))
    print("  dropouts: %d breaks inside notes, %d notes moved against the one before%s"
          % (r["breaks"], len(r["moves"]), "".join(
              " [note %d: %+.2f ms]" % m for m in r["moves"][:6])))
    if e:
        minute = 60 * 2  # notes per minute
        firsts = [abs(x) for x in e[:minute]]
        lasts = [abs(x) for x in e[-minute:]]
        n = len(e)
        xs = [i * 0.5 / 60 for i in range(n)]
        mx, my = sum(xs) / n, sum(e) / n
        den = sum((x - mx) ** 2 for x in xs) or 1
        slope = sum((x - mx) * (y - my) for x, y in zip(xs, e)) / den
        print("  onset error: largest %.3f ms, mean %.3f ms; largest in the first minute %.3f ms,"
              " in the last minute %.3f ms; growth %.4f ms per minute (fit)"
              % (max(abs(x) for x in e), my, max(firsts), max(lasts), slope))
    print("  Space to the first click's first sample: %.1f ms"
          % ((rec.monotonic_of(r["first"] / RATE, window=2.0) - space_at) * 1000))


def latencies(s, rec, presses, what):
    lat = []
    for t in presses:
        # sample_index is never later than the key's moment in the recording (it is late by
        # parec's smallest delivery delay): the tone is the first sound out of silence after.
        i = first_sound(s, sample_index(rec, t) - int(0.02 * RATE), sample_index(rec, t) + RATE,
                        quiet=48)
        lat.append(None if i is None else (rec.monotonic_of(i / RATE, window=2.0) - t) * 1000)
    shown = ["-" if x is None else "%.1f" % x for x in lat]
    ok = [x for x in lat if x is not None]
    print("%s: %s ms%s" % (what, ", ".join(shown), " (min %.1f, mean %.1f, max %.1f)"
                           % (min(ok), sum(ok) / len(ok), max(ok)) if ok else ""))


def main(binary, notes=1200):
    print("load average before: %s" % open("/proc/loadavg").read().split()[:3])
    app = App(binary, title="^long\\.sorvel", own_set_folder=True)
    score = os.path.join(app.home, "long.sorvel")
    write_score(score, notes)
    app.args = [score]
    load = []
    with Pulse(), app:
        app.wait_title_window_closed()
        app.focus()
        keys = XKeys(app.display)
        rec = Recorder().start()
        try:
            for _ in range(2):
                load.append(subprocess.Popen(["nice", "-n", "10", "python3", "-c",
                                              "while True: pass"]))
            time.sleep(0.5)
            keys.tap("l")  # warm-up: the first entry tone opens the stream
            time.sleep(1.0)
            taps = []
            for k in "asdfa":
                taps.append(keys.tap(k))
                time.sleep(1.0)
            space = keys.tap("space")
            time.sleep((COUNT_IN + notes) * 0.5 + 3.0)
            starts = []
            try:
                # The "end" alert (a window of the application's name) is closed, then the
                # tuner opens from the menu.
                for alert in app.xdotool("search", "--onlyvisible", "--name", "^Sorvel Score$",
                                         check=False).split():
                    app.focus(alert)
                    keys.tap("Return")
                    time.sleep(0.5)
                tuner = open_tuner(app)
                time.sleep(1.0)
                for _ in range(TAPS):
                    app.focus(tuner)
                    time.sleep(0.3)
                    starts.append(keys.tap("space"))
                    time.sleep(1.0)
                    keys.tap("space")
                    time.sleep(0.7)
            except RuntimeError as e:
                print("tuner: " + str(e))
            time.sleep(2.0)  # parec loses its last second
        finally:
            samples = rec.stop()
            keys.close()
            for p in load:
                end_process(p, grace=2)
    print("load average after: %s" % open("/proc/loadavg").read().split()[:3])
    if os.environ.get("SORVEL_BENCH_SAVE"):  # the recording, to analyse again
        import pickle
        with open(os.environ["SORVEL_BENCH_SAVE"], "wb") as f:
            pickle.dump((samples, rec.arrivals, taps, space, starts, notes), f)
    analyse(samples, rec, taps, space, starts, notes)
    return 0


def analyse(samples, rec, taps, space, starts, notes):
    latencies(samples, rec, taps, "entry tone, key release to first sample")
    end = sample_index(rec, space) + int(((COUNT_IN + notes) * 0.5 + 1.0) * RATE)
    result, why = analyse_playback(samples[:end], sample_index(rec, space) - 2400, notes)
    if why:
        print("playback: " + why)
    else:
        report_playback(result, notes, space, rec)
    if starts:
        latencies(samples, rec, starts, "tuner tone, key release to first sample")


def analyse_saved(path):
    """Analyses a recording saved with SORVEL_BENCH_SAVE again."""
    import pickle
    with open(path, "rb") as f:
        saved = pickle.load(f)
    samples, arrivals, taps, space, starts = saved[:5]
    notes = saved[5] if len(saved) > 5 else 1200
    rec = Recorder()
    rec.arrivals = arrivals
    analyse(samples, rec, taps, space, starts, notes)
    return 0


if __name__ == "__main__":
    if sys.argv[1] == "--analyse":
        sys.exit(analyse_saved(sys.argv[2]))
    sys.exit(main(sys.argv[1], *(int(a) for a in sys.argv[2:3])))
