"""Space plays a short score through a private PulseAudio server's null sink; the recording of
the sink holds a bar of count-in clicks, the notes between the repeat marks twice and the tied
notes as one tone, each at its pitch and time.

The sound server of a virtual machine now and then runs its null sink late and the stream runs
dry for a moment: everything after that point sounds a little later. Such a dropout shows as
one interval between two onsets that is off while all the others are exact; one of them is
accepted per run, and a run with more is tried again, up to ATTEMPTS in all. A fault in what is
played or where it is placed puts every run off."""
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_support import App, fail, run_test  # noqa: E402
from sound_support import Pulse, Recorder, onsets, tone_runs  # noqa: E402

BEAT = 0.5  # a quarter note at tempo 120
MARK = 17  # the pitch a mark cell carries
# (pitch index, note value): C1, |: E1 G1 :|, C0# tied to C0#, A1 half.
CELLS = [(21, 5), (MARK, 26), (27, 5), (31, 5), (MARK, 27), (5, 55), (5, 5), (17, 3)]
# What sounds, as (beats after the first click, Hz): four clicks, the first one higher, then
# the notes. 277 Hz does not fill a quarter note with whole periods, so a tie played as two
# tones would show as a break in the tone where the phase starts again.
EXPECTED = ([(0, 1880), (1, 1250), (2, 1250), (3, 1250)]
            + [(4, 523), (5, 659), (6, 784), (7, 659), (8, 784), (9, 277), (11, 440)])
TIE_BEAT = 10
SECONDS = 13 * BEAT
ONSET_TOLERANCE = 0.004  # s; the sound is placed sample-exactly
# The application's output stream starts with the first click, and when the null sink takes
# on a new stream its monitor skips a few ms: that click may begin this much later.
FIRST_CUT = 0.025  # s
PITCH_TOLERANCE = 1.0  # Hz
ATTEMPTS = 3
MAX_DROPOUTS = 1  # intervals off by more than ONSET_TOLERANCE in one run


def attempt(binary):
    """Plays the score once; returns what was wrong, or None, and a summary."""
    app = App(binary, title="^short\\.sorvel", own_set_folder=True)
    app.keep = bool(os.environ.get("SORVEL_E2E_KEEP"))
    score = os.path.join(app.home, "short.sorvel")
    with open(score, "w") as f:
        f.write("<,sorvel2,0,3,440,0,0\n#\n#\n#\n")  # tempo item 3 is 120, key C, 4 beats
        f.writelines("%d,%d\n" % cell for cell in CELLS)
    app.args = [score]
    with Pulse(), app:
        app.wait_title_window_closed()
        app.focus()
        rec = Recorder().start()
        try:
            time.sleep(0.5)
            app.xdotool("key", "space")
            time.sleep(SECONDS + 3.0)
        finally:
            samples = rec.stop()
        log = app.output()
    found, breaks = onsets(tone_runs(samples))
    report = "\n".join("  %8.4f s %7.1f Hz" % o for o in found)
    if len(found) != len(EXPECTED) or any(
            abs(hz - want) > PITCH_TOLERANCE for (_, hz), (_, want) in zip(found, EXPECTED)):
        return "expected %s (beats, Hz), heard:\n%s\nlog:\n%s" % (EXPECTED, report, log), None
    # The recording starts at an unknown moment: the onsets are compared with the nominal times
    # moved by their median difference.
    diffs = sorted(t - beats * BEAT for (t, _), (beats, _) in zip(found, EXPECTED))
    offset = diffs[len(diffs) // 2]
    errors = [t - beats * BEAT - offset for (t, _), (beats, _) in zip(found, EXPECTED)]
    # Each interval from one onset to the next against its nominal length; the first click's
    # start may be cut, so the intervals count from the second click.
    steps = [b - a for a, b in zip(errors[1:], errors[2:])]
    off = [d for d in steps if abs(d) > ONSET_TOLERANCE]
    if not 0 <= errors[0] - errors[1] <= ONSET_TOLERANCE + FIRST_CUT or len(off) > MAX_DROPOUTS:
        return "onsets off their times by %s ms:\n%s" % (
            ", ".join("%.1f" % (e * 1000) for e in errors), report), None
    # Where the tied notes meet the tone goes on: no break in it there.
    tie = offset + TIE_BEAT * BEAT
    if any(abs(t - tie) < 0.005 for t in breaks):
        return "the tied notes sounded as two tones (breaks at %s s)" % breaks, None
    return None, ("%d onsets at their pitches and times (intervals exact to %.2f ms%s; the "
                  "first click started %.1f ms late; %d breaks in tones)"
                  % (len(found), max(abs(d) for d in steps if abs(d) <= ONSET_TOLERANCE) * 1000,
                     "".join(", a dropout of %.1f ms" % (d * 1000) for d in off),
                     (errors[0] - errors[1]) * 1000, len(breaks)))


def run(binary):
    failures = []
    for _ in range(ATTEMPTS):
        wrong, summary = attempt(binary)
        if not wrong:
            print("ok: " + summary + "".join("\n  (an earlier attempt: %s)" % f.split("\n")[0]
                                             for f in failures))
            return
        failures.append(wrong)
    fail("\n\n".join(failures))


if __name__ == "__main__":
    run_test(run)
