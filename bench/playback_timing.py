"""Note onsets of the real application's score playback, from a recording.

Starts a PulseAudio server with a null sink (unless PULSE_SERVER is set), opens a score of 16
quarter notes at tempo 120 in the binary under Xvfb, presses Space, records the sink and
reports where every note starts: each should follow the one before by 0.5 s exactly, and the
first note should come 2.0 s (four count-in beats) after the first click.

    python3 bench/playback_timing.py build/release/bin/sorvelscore
"""
import array
import math
import os
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))
sys.path.insert(0, HERE)
from e2e_support import App  # noqa: E402
from entry_tone_latency import RATE, start_pulse  # noqa: E402

NOTES = 16
BEAT = 0.5  # a quarter note at 120
PITCHES = (10, 14, 17, 21)  # neighbours differ, so every note shows as a new onset


def write_score(path):
    with open(path, "w") as f:
        # Tempo item 3 ("120"), key "C", four beats a bar.
        f.write("<,sorvel2,0,3,440,0,0\n#\n#\n#\n")
        f.writelines("%d,5\n" % PITCHES[i % len(PITCHES)] for i in range(NOTES))


def tone_runs(samples):
    """(start in s, frequency, periods) of every stretch of one steady pitch.

    Every tone of the synthesis starts at phase 0, rising, so its onset is a rising zero
    crossing; the first crossing found may be one period late when the tone before ended above
    zero, which the correlation with a sine from phase 0 over that period tells.
    """
    s = samples
    ups = [i + s[i] / float(s[i] - s[i + 1]) for i in range(len(s) - 1)
           if s[i] < 0 <= s[i + 1] and s[i + 1] - s[i] > 500]
    per = [b - a for a, b in zip(ups, ups[1:])]
    runs, start = [], 0
    for k in range(1, len(per) + 1):
        if k == len(per) or abs(per[k] - per[k - 1]) / per[k - 1] > 0.02:
            if k - start >= 5:
                f = RATE * (k - start) / (ups[k] - ups[start])
                t = ups[start]
                period = RATE / f
                a = int(round(t - period))
                seg = s[a:int(round(t))]
                ref = [math.sin(2 * math.pi * f * n / RATE) for n in range(len(seg))]
                num = sum(x * y for x, y in zip(seg, ref))
                den = math.sqrt(sum(x * x for x in seg) * sum(y * y for y in ref)) or 1.0
                if num / den > 0.95:
                    t -= period
                runs.append((t / RATE, f, k - start))
            start = k
    return runs


def dropouts(samples, start, end, min_ms=1.0):
    """Stretches of at least min_ms of silence between two times: the stream ran dry."""
    n, run, out = int(RATE * min_ms / 1000), 0, []
    for i in range(int(start * RATE), min(len(samples), int(end * RATE))):
        if abs(samples[i]) < 300:
            run += 1
        else:
            if run >= n:
                out.append(((i - run) / RATE, run * 1000.0 / RATE))
            run = 0
    return out


def main(binary):
    pulse_env = start_pulse()
    raw = os.environ.get("KEEP_RAW") or tempfile.mktemp(suffix=".raw")
    try:
        app = App(binary, title="^sixteen\\.sorvel", own_set_folder=True)
        score = os.path.join(app.home, "sixteen.sorvel")
        write_score(score)
        app.args = [score]
        with app:
            app.wait_title_window_closed()
            app.focus()
            rec = subprocess.Popen(["parec", "-d", "null.monitor", "--format=s16le",
                                    "--rate=%d" % RATE, "--channels=1", "--latency-msec=20", raw])
            time.sleep(2.0)  # parec delivers its first second late
            app.xdotool("key", "space")
            time.sleep(2.0 + NOTES * BEAT + 3.0)  # count-in, notes, and parec's lost last second
            rec.send_signal(2)
            rec.wait()
        samples = array.array("h")
        with open(raw, "rb") as f:
            samples.frombytes(f.read())
        runs = tone_runs(samples)
        clicks = [r for r in runs if r[1] > 1000]
        # A dropout splits a note into two runs of the same pitch: the first is its onset.
        notes = []
        for r in runs:
            if r[1] < 1000 and not (notes and abs(r[1] - notes[-1][1]) / notes[-1][1] < 0.02):
                notes.append(r)
        if len(clicks) < 1 or len(notes) < NOTES:
            print("found %d clicks and %d notes: %r" % (len(clicks), len(notes), runs))
            return 1
        notes = notes[:NOTES]
        t0 = notes[0][0]
        print("first note %.1f ms after the first click (nominal %.1f ms)"
              % ((t0 - clicks[0][0]) * 1000, 4 * BEAT * 1000))
        errors = []
        for i, (t, f, _) in enumerate(notes):
            err = (t - t0 - i * BEAT) * 1000
            errors.append(err)
            gap = (t - notes[i - 1][0]) * 1000 if i else 0.0
            print("note %2d: %6.1f Hz at %8.2f ms, %7.2f ms after the previous, error %+6.2f ms"
                  % (i + 1, f, (t - t0) * 1000, gap, err))
        print("max |onset error| against i x 0.5 s: %.2f ms" % max(abs(e) for e in errors))
        gaps = dropouts(samples, t0, t0 + NOTES * BEAT)
        print("dropouts inside the notes (the stream ran dry): %d, %.1f ms in all%s"
              % (len(gaps), sum(g[1] for g in gaps),
                 "".join(" [%.3f s: %.1f ms]" % g for g in gaps[:8])))
        return 0
    finally:
        if os.path.exists(raw) and not os.environ.get("KEEP_RAW"):
            os.remove(raw)
        if pulse_env:
            subprocess.run(["pulseaudio", "--kill"], env=pulse_env)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
