"""Start latency of the tuner's reference tone in the real application.

Starts a private PulseAudio server with a null sink (tests/e2e/sound_support.py), opens
Tools > Tuner in the binary under Xvfb and presses its play button (Space, the button has the
keyboard) five times to start and five times to stop the tone, recording the sink. For each
start it reports the time from the key's release (sent with XTest from this process, see
playback_timing.py) to the tone's first sample in the recording, placed on the same clock.
The tuner opens a new output stream for each tone, and when the null sink takes on a new
stream its monitor skips a few ms: the tone may have begun up to that much earlier.

    python3 bench/tuner_tone_latency.py build/release/bin/sorvelscore
"""
import os
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))
sys.path.insert(0, HERE)
from e2e_support import App  # noqa: E402
from playback_timing import XKeys  # noqa: E402
from sound_support import Pulse, Recorder, open_tuner, tone_runs  # noqa: E402

STARTS = 5


def main(binary):
    with Pulse(), App(binary, title="^Untitled", own_set_folder=True) as app:
        app.wait_title_window_closed()
        tuner = open_tuner(app)
        keys = XKeys(app.display)
        rec = Recorder().start()
        presses = []
        try:
            time.sleep(0.5)  # some silence before the sound
            for _ in range(STARTS):
                app.focus(tuner)
                presses.append(keys.tap("space"))
                time.sleep(1.0)
                keys.tap("space")
                time.sleep(0.7)
            time.sleep(2.0)  # and loses its last one
        finally:
            samples = rec.stop()
            keys.close()
    tones = [r for r in tone_runs(samples) if r.end - r.start > 0.5]
    if len(tones) != STARTS:
        print("expected %d tones, found %r" % (STARTS, tones))
        return 1
    lat = []
    for (before, after), tone in zip(presses, tones):
        sounded = rec.monotonic_of(tone.start)
        lat.append((sounded - after) * 1000)
        print("%.2f Hz for %.2f s, first sample %.1f ms after the release of Space "
              "(release took %.2f ms to reach the X server)"
              % (tone.frequency, tone.end - tone.start, lat[-1], (after - before) * 1000))
    print("start latency: min %.1f ms, mean %.1f ms, max %.1f ms"
          % (min(lat), sum(lat) / len(lat), max(lat)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
