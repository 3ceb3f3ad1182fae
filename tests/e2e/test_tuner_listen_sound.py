"""The tuner listening: a tone of 446 Hz played with paplay into a private PulseAudio server's
null sink, whose monitor is the default source the application listens to, reads A1, +23 or
+24 cents, 446.0 Hz (446 Hz is 23.45 cents above A = 440). The window's readings are followed
through the diagnostic lines SORVEL_TUNER_LOG asks for."""
import os
import subprocess
import time

from e2e_support import App, run_test
from sound_support import Pulse, open_tuner, write_sine

EXPECTED = ("tuner shows: A1 (A4) +23 cents ", "tuner shows: A1 (A4) +24 cents ")


def readings(app):
    return [line for line in app.output().splitlines() if line.startswith("tuner shows: ")]


def shown(app):
    """The latest reading the window shows."""
    return (readings(app) or [""])[-1]


def run(binary):
    os.environ["SORVEL_TUNER_LOG"] = "1"
    app = App(binary, title="^Untitled", own_set_folder=True)
    tone = os.path.join(app.home, "446.wav")
    write_sine(tone, 446.0, 8.0)
    with Pulse(), app:
        app.wait_title_window_closed()
        open_tuner(app)
        app.key("Tab", "space")  # from the play button to the Listen switch
        time.sleep(0.5)
        player = subprocess.Popen(["paplay", "--latency-msec=20", tone])
        try:
            app.wait_until("A1 +23 or +24 cents", lambda: shown(app).startswith(EXPECTED), 6)
            time.sleep(1.0)  # the reading stays while the tone is held
            held = shown(app)
        except RuntimeError:
            held = shown(app)
        finally:
            shot = app.screenshot(os.path.join(app.home, "listening.png"))
            player.wait(20)
        app.check("the tuner showed %s" % readings(app)[-5:], held.startswith(EXPECTED))
        if os.environ.get("SORVEL_E2E_KEEP"):
            print("screenshot: " + shot)
        app.wait_until("the note to go away after the tone",
                       lambda: shown(app) == "tuner shows: No note", 10)
    print("ok: the tuner heard %s" % held[len("tuner shows: "):])


if __name__ == "__main__":
    run_test(run)
