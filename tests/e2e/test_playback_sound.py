"""Space plays a short score through a private PulseAudio server's null sink; the recording of
the sink holds a bar of count-in clicks, the notes between the repeat marks twice and the tied
notes as one tone, each at its pitch and time.

On a loaded machine the sound can break off for a moment (the audio thread or the timer that
feeds it runs late) and shift what follows; such a run is tried again, up to ATTEMPTS in all,
and the test fails only when no attempt is clean. A fault in what is played fails them all."""
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
FIRST_CUT = 0.015  # s
PITCH_TOLERANCE = 1.0  # Hz
ATTEMPTS = 3


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
    late = [FIRST_CUT if i == 0 else 0.0 for i in range(len(errors))]
    if any(not -ONSET_TOLERANCE <= e <= ONSET_TOLERANCE + x for e, x in zip(errors, late)):
        return "onsets off their times by %s ms:\n%s" % (
            ", ".join("%.1f" % (e * 1000) for e in errors), report), None
    # Where the tied notes meet the tone goes on: no break in it there.
    tie = offset + TIE_BEAT * BEAT
    if any(abs(t - tie) < 0.005 for t in breaks):
        return "the tied notes sounded as two tones (breaks at %s s)" % breaks, None
    return None, ("%d onsets at their pitches and times (worst %.2f ms off after the first "
                  "click, which started %.1f ms late; %d breaks in tones)"
                  % (len(found), max(abs(e) for e in errors[1:]) * 1000, errors[0] * 1000,
                     len(breaks)))


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
