"""A private PulseAudio server with a null sink, a recorder of what the sink plays, and the
analysis that finds tones in a recording.

Pulse() starts its own `pulseaudio` in a temporary runtime and config folder (so it never
meets another sound server of the machine or of a parallel run), makes the null sink and its
monitor the default sink and source, and points every client started afterwards from this
process (the application, parec, paplay, pactl) at it through PULSE_SERVER. It ends the server
it started, and only that one, on leaving the `with` block, also after a failure; stop() and
start() end it and start it again on the same socket, as a restarted sound server.

Recorder() records the sink's monitor with parec, reading its output as it arrives."""
import array
import math
import os
import shutil
import signal
import subprocess
import tempfile
import threading
import time

from e2e_support import end_process

RATE = 48000
SINK = "sorvel_null"


class Pulse:
    proc = None

    def __enter__(self):
        self.dir = tempfile.mkdtemp(prefix="sorvel-pulse-")
        self.socket = os.path.join(self.dir, "native")
        with open(os.path.join(self.dir, "client.conf"), "w") as f:
            f.write("autospawn = no\n")  # a client never starts a server of its own
        self.env = {
            "HOME": self.dir, "XDG_RUNTIME_DIR": self.dir, "XDG_CONFIG_HOME": self.dir,
            "PULSE_RUNTIME_PATH": os.path.join(self.dir, "runtime"),
            "PULSE_STATE_PATH": os.path.join(self.dir, "state"),
            "PULSE_CLIENTCONFIG": os.path.join(self.dir, "client.conf"),
            "PULSE_SERVER": "unix:" + self.socket,
        }
        # The clients keep HOME and the runtime folder of their own; only the server and the
        # client configuration are this one's.
        self.saved = {name: os.environ.get(name) for name in ("PULSE_SERVER", "PULSE_CLIENTCONFIG")}
        os.environ.update({name: self.env[name] for name in self.saved})
        self.log = open(os.path.join(self.dir, "pulseaudio.log"), "w")
        try:
            self.start()
        except BaseException:
            self.__exit__(None, None, None)
            raise
        return self

    def start(self):
        self.proc = subprocess.Popen(
            ["pulseaudio", "-n", "--daemonize=no", "--use-pid-file=no",
             "--exit-idle-time=-1", "--disallow-exit", "--log-target=stderr",
             "--load=module-native-protocol-unix auth-anonymous=1 socket=" + self.socket,
             "--load=module-null-sink sink_name=%s rate=%d" % (SINK, RATE)],
            env=dict(os.environ, **self.env), stdout=self.log, stderr=subprocess.STDOUT)
        deadline = time.time() + 20
        while subprocess.run(["pactl", "info"], capture_output=True).returncode != 0:
            if self.proc.poll() is not None or time.time() > deadline:
                raise RuntimeError("pulseaudio did not start:\n" + self.server_log())
            time.sleep(0.1)
        self.pactl("set-default-sink", SINK)
        self.pactl("set-default-source", SINK + ".monitor")

    def stop(self):
        end_process(self.proc)

    def pactl(self, *args):
        subprocess.run(["pactl"] + list(args), check=True, capture_output=True)

    def server_log(self):
        with open(os.path.join(self.dir, "pulseaudio.log")) as f:
            return f.read()

    def __exit__(self, *exc):
        self.stop()
        self.log.close()
        for name in self.saved:
            if self.saved[name] is None:
                os.environ.pop(name, None)
            else:
                os.environ[name] = self.saved[name]
        shutil.rmtree(self.dir, ignore_errors=True)


class Recorder:
    """Records the null sink's monitor (mono, 16 bit, RATE) from start() to stop().

    start() returns once the first samples are in; parec may drop its last second: stop it
    3 s after the sound."""

    def __init__(self):
        self.data = bytearray()

    def start(self):
        self.proc = subprocess.Popen(
            ["parec", "-d", SINK + ".monitor", "--format=s16le", "--rate=%d" % RATE,
             "--channels=1", "--latency-msec=20", "--raw"], stdout=subprocess.PIPE)
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()
        # parec takes a second or two to deliver its first samples.
        deadline = time.time() + 15
        while not self.data:
            if self.proc.poll() is not None or time.time() > deadline:
                self.stop()
                raise RuntimeError("parec recorded nothing")
            time.sleep(0.02)
        return self

    def _read(self):
        fd = self.proc.stdout.fileno()
        while True:
            chunk = os.read(fd, 4096)
            if not chunk:
                break
            self.data += chunk

    def stop(self):
        end_process(self.proc, sig=signal.SIGINT)
        self.reader.join(10)
        self.samples = array.array("h")
        self.samples.frombytes(bytes(self.data[:len(self.data) // 2 * 2]))
        return self.samples


class Tone:
    """A stretch of sound: start and end in seconds, frequency in Hz."""

    def __init__(self, start, end, frequency):
        self.start, self.end, self.frequency = start, end, frequency

    def __repr__(self):
        return "%.4f-%.4f s %.2f Hz" % (self.start, self.end, self.frequency)


def tone_runs(s, min_periods=5):
    """Every stretch of at least min_periods periods of one steady pitch, in time order,
    from rising zero crossing to rising zero crossing."""
    ups = [i + s[i] / float(s[i] - s[i + 1]) for i in range(len(s) - 1)
           if s[i] < 0 <= s[i + 1] and s[i + 1] - s[i] > 500]
    per = [b - a for a, b in zip(ups, ups[1:])]
    runs, first = [], 0
    for k in range(1, len(per) + 1):
        if k == len(per) or abs(per[k] - per[k - 1]) / per[k - 1] > 0.02:
            if k - first >= min_periods:
                f = RATE * (k - first) / (ups[k] - ups[first])
                runs.append(Tone(ups[first] / RATE, ups[k] / RATE, f))
            first = k
    return runs


def notes(s, quiet=200, dip=8, shortest=0.005):
    """Every tone in the recording, in time order: each a stretch between silences or the dips
    of the tones' rise and fall. Each tone rises from silence and falls back to it inside its
    own length, so two tones meet in a few samples below `quiet` (1 % of the tones' level);
    inside a tone the sine is never that small for `dip` samples in a row. A stream that ran
    dry for a moment shows as a tone cut in two."""
    found, start, low = [], None, 0
    for i, x in enumerate(s):
        if -quiet < x < quiet:
            low += 1
            if low == dip and start is not None:
                end = i - dip + 1
                if end - start >= shortest * RATE:
                    found.append((start, end))
                start = None
        else:
            if start is None:
                start = i
            low = 0
    if start is not None and len(s) - start >= shortest * RATE:
        found.append((start, len(s)))
    out = []
    for a, b in found:
        mid = s[a + (b - a) // 4:b - (b - a) // 4]
        ups = [i + mid[i] / float(mid[i] - mid[i + 1]) for i in range(len(mid) - 1)
               if mid[i] < 0 <= mid[i + 1]]
        f = RATE * (len(ups) - 1) / (ups[-1] - ups[0]) if len(ups) > 2 else 0.0
        out.append(Tone(a / float(RATE), b / float(RATE), f))
    return out


def write_sine(path, hz, seconds, amplitude=0.5):
    """A 16-bit mono WAV file of a sine, for paplay."""
    import wave
    n = int(seconds * RATE)
    data = array.array("h", (int(amplitude * 32767 * math.sin(2 * math.pi * hz * i / RATE))
                             for i in range(n)))
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(data.tobytes())


def open_tuner(app):
    """Tools > Tuner from the score window; returns the tuner window's id. The window opens
    with the keyboard on its play button."""
    for _ in range(3):  # the menu may open late
        app.focus()
        app.key("alt+t")
        time.sleep(0.5)
        app.key("t")
        try:
            wid = app.focus_shown("the tuner window", "^Tuner$", 3)
            time.sleep(0.3)
            return wid
        except RuntimeError:
            app.key("Escape")
    raise RuntimeError("Tools > Tuner did not open the tuner window")
