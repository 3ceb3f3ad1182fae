"""Tools > Tuner, play: the reference tone of A1 recorded from a private PulseAudio server's
null sink is a steady tone of 440 Hz (the table's value) that stops at the second press."""
import time

from e2e_support import App, fail, run_test
from sound_support import RATE, Pulse, Recorder, open_tuner, tone_runs

TABLE_HZ = 440.0


def run(binary):
    app = App(binary, title="^Untitled", own_set_folder=True)
    with Pulse(), app:
        app.wait_title_window_closed()
        tuner = open_tuner(app)
        rec = Recorder().start()
        try:
            time.sleep(0.5)
            app.focus(tuner)
            app.xdotool("key", "space")  # the play button has the keyboard
            time.sleep(3.0)
            app.focus(tuner)
            app.xdotool("key", "space")
            time.sleep(3.0)
        finally:
            samples = rec.stop()
        # On a loaded machine the tone can break off for a moment: every stretch of it counts.
        runs = [r for r in tone_runs(samples) if r.end - r.start > 0.05]
        app.check("expected a tone of about 3 s, heard %s" % runs,
                  runs and runs[-1].end - runs[0].start >= 2.0)
        wrong = [r for r in runs if abs(r.frequency - TABLE_HZ) > 0.5]
        if wrong:
            fail("the tuner sounds %s instead of %.1f Hz" % (wrong, TABLE_HZ))
        if runs[-1].end > len(samples) / RATE - 1.0:
            fail("the tone went on after the second press: %s" % runs)
        longest = max(runs, key=lambda r: r.end - r.start)
    print("ok: a tone of %.3f Hz (its longest stretch, %.2f s) for %.2f s"
          % (longest.frequency, longest.end - longest.start, runs[-1].end - runs[0].start))


if __name__ == "__main__":
    run_test(run)
