"""Key-to-sound time of quick piano keys in the real application.

Starts a private PulseAudio server with a null sink, runs the binary under
Xvfb, records the sink while four piano keys are pressed 100 ms apart, and reports when each
tone starts relative to the first. A key that sounds at once shows its tone 100, 200 and
300 ms after the first; a queue of tones shows them 500 ms apart.

    python3 bench/entry_tone_latency.py build/release/bin/sorvelscore
"""
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from e2e_support import App  # noqa: E402
from sound_support import RATE, Pulse, Recorder  # noqa: E402


def frequency_track(samples, window=960, step=48):
    """(time in s, frequency from zero crossings) per window of 20 ms, every 1 ms."""
    track = []
    for start in range(0, len(samples) - window, step):
        w = samples[start:start + window]
        if max(abs(x) for x in w[::8]) < 1000:
            track.append((start / RATE, 0.0))
            continue
        # Rising zero crossings, placed between samples: periods from first to last.
        ups = [i + a / float(a - b) for i, (a, b) in enumerate(zip(w, w[1:])) if a < 0 <= b]
        if len(ups) < 3:
            track.append((start / RATE, 0.0))
            continue
        track.append((start / RATE, (len(ups) - 1) * RATE / (ups[-1] - ups[0])))
    return track


def onsets(track, min_len=25):
    """Starts of stretches of at least min_len ms at one steady, sounding frequency."""
    found, run_start, last = [], None, None
    for i, (t, f) in enumerate(track):
        steady = f > 0 and last and abs(f - last) / last < 0.03
        if steady:
            if run_start is None:
                run_start = i - 1
            if i - run_start == min_len and (not found or abs(track[run_start][1] - found[-1][1]) / found[-1][1] > 0.03):
                found.append((track[run_start][0], track[run_start][1]))
        else:
            run_start = None
        last = f if f > 0 else None
    return found


def main(binary):
    with Pulse(), App(binary) as app:
        app.wait_title_window_closed()
        app.focus()
        app.xdotool("key", "l")  # the output stream starts with the first tone
        time.sleep(1.0)
        rec = Recorder().start()
        try:
            time.sleep(0.5)  # some silence before the sound
            pressed = []
            for k in ("a", "s", "d", "f"):
                pressed.append(time.time())
                app.xdotool("key", k)
                time.sleep(max(0.0, pressed[0] + 0.1 * len(pressed) - time.time()))
            time.sleep(3.0)  # and loses its last one
        finally:
            samples = rec.stop()
    # Leave out the warm-up tone, which ends well before the keys.
    found = onsets(frequency_track(samples))
    found = [o for o in found if o[0] > found[0][0] + 0.6] if found else []
    if len(found) < 4:
        print("found %d tones only: %r" % (len(found), found))
        return 1
    t0 = found[0][0]
    for i, (t, f) in enumerate(found[:4]):
        print("key %d: %.0f Hz, sounds %.1f ms after the first (pressed %.1f ms after it)"
              % (i + 1, f, (t - t0) * 1000, (pressed[i] - pressed[0]) * 1000))
    late = (found[3][0] - t0 - (pressed[3] - pressed[0])) * 1000
    print("the fourth key sounds %.1f ms later than the first, relative to its press" % late)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
