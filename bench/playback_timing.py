"""Note onsets of the real application's score playback, from a recording.

Starts a PulseAudio server with a null sink (unless PULSE_SERVER is set), opens a score of 16
quarter notes at tempo 120 in the binary under Xvfb, presses Space, records the sink and
reports where every note starts: each should follow the one before by 0.5 s exactly, and the
first note should come 2.0 s (four count-in beats) after the first click.

    python3 bench/playback_timing.py build/release/bin/sorvelscore
"""
import array
import os
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))
sys.path.insert(0, HERE)
from e2e_support import App  # noqa: E402
from entry_tone_latency import RATE, frequency_track, onsets, start_pulse  # noqa: E402

NOTES = 16
BEAT = 0.5  # a quarter note at 120
PITCHES = (10, 14, 17, 21)  # neighbours differ, so every note shows as a new onset


def write_score(path):
    with open(path, "w") as f:
        # Tempo item 3 ("120"), key "C", four beats a bar.
        f.write("<,sorvel2,0,3,440,0,0\n#\n#\n#\n")
        f.writelines("%d,5\n" % PITCHES[i % len(PITCHES)] for i in range(NOTES))


def first_click(samples, threshold=3000):
    for i, x in enumerate(samples):
        if abs(x) > threshold:
            return i / RATE
    return None


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
        click = first_click(samples)
        found = onsets(frequency_track(samples))
        if click is None or len(found) < NOTES:
            print("first click at %r, found %d notes only: %r" % (click, len(found), found))
            return 1
        found = found[:NOTES]
        t0 = found[0][0]
        print("first note %.1f ms after the first click (nominal %.1f ms)"
              % ((t0 - click) * 1000, 4 * BEAT * 1000))
        errors = []
        for i, (t, f) in enumerate(found):
            err = (t - t0 - i * BEAT) * 1000
            errors.append(err)
            gap = (t - found[i - 1][0]) * 1000 if i else 0.0
            print("note %2d: %6.1f Hz at %8.1f ms, %6.1f ms after the previous, error %+5.1f ms"
                  % (i + 1, f, (t - t0) * 1000, gap, err))
        print("onset error against i x 0.5 s: max |error| %.1f ms (onset finder resolution 1 ms)"
              % max(abs(e) for e in errors))
        return 0
    finally:
        if os.path.exists(raw) and not os.environ.get("KEEP_RAW"):
            os.remove(raw)
        if pulse_env:
            subprocess.run(["pulseaudio", "--kill"], env=pulse_env)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
