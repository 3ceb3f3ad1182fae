"""Space plays a short score through a private PulseAudio server's null sink; the recording of
the sink holds a bar of count-in clicks, the notes between the repeat marks twice, two equal
quarter notes as two notes and the tied notes as one, each at its pitch and time. Then the
sound server is restarted while a score plays: the window says so, and the next Space sounds.

A virtual machine's sound server now and then runs its null sink late and the stream runs dry
for a moment; a run with such a dropout is tried again, up to ATTEMPTS in all. A fault in what
is played or where it is placed puts every run off."""
import time

from e2e_support import App, fail, run_test
from sound_support import Pulse, Recorder, notes

BEAT = 0.5  # a quarter note at tempo 120
MARK = 17  # the pitch a mark cell carries
# C1, |: E1 G1 :|, A1 A1, C0# tied to C0#, A1 half.
CELLS = [(21, 5), (MARK, 26), (27, 5), (31, 5), (MARK, 27), (17, 5), (17, 5), (5, 55), (5, 5),
         (17, 3)]
# What sounds, as (beats after the first click, Hz): four clicks, the first one higher, then
# the notes; the tie is one tone of two beats.
EXPECTED = ([(0, 1880), (1, 1250), (2, 1250), (3, 1250)]
            + [(4, 523), (5, 659), (6, 784), (7, 659), (8, 784), (9, 440), (10, 440), (11, 277),
               (13, 440)])
SECONDS = 15 * BEAT
# Each tone is found where it rises out of the dip before it, a fraction of a ms into it; the
# sound itself is placed sample-exactly.
ONSET_TOLERANCE = 0.002  # s
PITCH_TOLERANCE = 0.005  # of the frequency
ATTEMPTS = 3
SERVER_GONE = "The sound server has gone away"


def score_app(binary):
    app = App(binary, title="^short\\.sorvel", own_set_folder=True)
    # Tempo item 3 is 120, key C, 4 beats.
    app.args = [app.write("short.sorvel", "<,sorvel2,0,3,440,0,0\n#\n#\n#\n"
                          + "".join("%d,%d\n" % cell for cell in CELLS))]
    return app


def press_space(app):
    """Space in the score window, after OK on the box that says an earlier playback ended."""
    for wid in app.search("^Sorvel Score$"):
        app.focus(wid)
        app.key("Return")
    app.wait_until("the end box to close", lambda: not app.search("^Sorvel Score$"), 5)
    app.focus()
    app.xdotool("key", "space")


def played(app):
    """Presses Space and records the score; the tones heard."""
    rec = Recorder().start()
    try:
        time.sleep(0.5)
        press_space(app)
        time.sleep(SECONDS + 3.0)
    finally:
        samples = rec.stop()
    return notes(samples)


def wrong_with(found):
    """What is wrong with the tones heard against EXPECTED, or None."""
    report = "\n".join("  %r" % n for n in found)
    if len(found) != len(EXPECTED) or any(
            abs(n.frequency - hz) > PITCH_TOLERANCE * hz for n, (_, hz) in zip(found, EXPECTED)):
        return "expected %s (beats, Hz), heard:\n%s" % (EXPECTED, report)
    # The recording starts at an unknown moment, and the first click's start may be cut when
    # the null sink takes on the new stream: times count from the second click.
    t0 = found[1].start - BEAT
    errors = [n.start - t0 - beats * BEAT for n, (beats, _) in zip(found[1:], EXPECTED[1:])]
    if any(abs(e) > ONSET_TOLERANCE for e in errors):
        return "onsets off their times by %s ms:\n%s" % (
            ", ".join("%.1f" % (e * 1000) for e in errors), report)
    return None


def play_until_right(app, what):
    """Plays the score up to ATTEMPTS times, failing with `what` and every attempt's fault
    unless one is right; the tones of that one and the faults of the attempts before it."""
    failures = []
    for _ in range(ATTEMPTS):
        found = played(app)
        wrong = wrong_with(found)
        if not wrong:
            return found, failures
        failures.append(wrong)
    fail(what + "\n\n".join(failures))


def run(binary):
    app = score_app(binary)
    with Pulse() as pulse, app:
        app.wait_title_window_closed()
        found, failures = play_until_right(app, "")
        print("ok: %d tones at their pitches and times, the equal notes apart, the tie one "
              "tone%s" % (len(found), "".join("\n  (an earlier attempt: %s)"
                                              % f.split("\n")[0] for f in failures)))
        press_space(app)
        time.sleep(3.0)
        pulse.stop()  # while the notes play
        time.sleep(2.0)
        pulse.start()
        time.sleep(3.0)  # the application tries again every second
        log = app.output()
        if log.count(SERVER_GONE) != 1:
            fail("the window should say once that the server went away; log:\n" + log)
        play_until_right(app, "after the server came back: ")
    print("ok: the server went away during playback (said once); after its return the score "
          "played again in full")


if __name__ == "__main__":
    run_test(run)
