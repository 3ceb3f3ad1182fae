"""A private PulseAudio server with a null sink, a recorder of what the sink plays, and the
analysis that finds tones in a recording.

Pulse() starts its own `pulseaudio` in a temporary runtime and config folder (so it never
meets another sound server of the machine or of a parallel run), makes the null sink and its
monitor the default sink and source, and points every client started afterwards from this
process (the application, parec, paplay, pactl) at it through PULSE_SERVER. It ends the server
it started, and only that one, on leaving the `with` block, also after a failure.

Recorder() records the sink's monitor with parec, reading its output as it arrives so that
every sample can be placed on the monotonic clock (time.monotonic(), which is also the clock
of X event times)."""
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
    def __init__(self):
        self.dir = None
        self.proc = None
        self.saved = {}

    def __enter__(self):
        self.dir = tempfile.mkdtemp(prefix="sorvel-pulse-")
        socket = os.path.join(self.dir, "native")
        with open(os.path.join(self.dir, "client.conf"), "w") as f:
            f.write("autospawn = no\n")  # a client never starts a server of its own
        env = {
            "HOME": self.dir, "XDG_RUNTIME_DIR": self.dir, "XDG_CONFIG_HOME": self.dir,
            "PULSE_RUNTIME_PATH": os.path.join(self.dir, "runtime"),
            "PULSE_STATE_PATH": os.path.join(self.dir, "state"),
            "PULSE_CLIENTCONFIG": os.path.join(self.dir, "client.conf"),
            "PULSE_SERVER": "unix:" + socket,
        }
        # The clients keep HOME and the runtime folder of their own; only the server and the
        # client configuration are this one's.
        for name in ("PULSE_SERVER", "PULSE_CLIENTCONFIG"):
            self.saved[name] = os.environ.get(name)
            os.environ[name] = env[name]
        self.log = open(os.path.join(self.dir, "pulseaudio.log"), "w")
        try:
            self.proc = subprocess.Popen(
                ["pulseaudio", "-n", "--daemonize=no", "--use-pid-file=no",
                 "--exit-idle-time=-1", "--disallow-exit", "--log-target=stderr",
                 "--load=module-native-protocol-unix auth-anonymous=1 socket=" + socket,
                 "--load=module-null-sink sink_name=%s rate=%d" % (SINK, RATE)],
                env=dict(os.environ, **env), stdout=self.log, stderr=subprocess.STDOUT)
            deadline = time.time() + 20
            while subprocess.run(["pactl", "info"], capture_output=True).returncode != 0:
                if self.proc.poll() is not None or time.time() > deadline:
                    raise RuntimeError("pulseaudio did not start:\n" + self.server_log())
                time.sleep(0.1)
            self.pactl("set-default-sink", SINK)
            self.pactl("set-default-source", SINK + ".monitor")
        except BaseException:
            self.__exit__(None, None, None)
            raise
        return self

    def pactl(self, *args):
        subprocess.run(["pactl"] + list(args), check=True, capture_output=True)

    def server_log(self):
        with open(os.path.join(self.dir, "pulseaudio.log")) as f:
            return f.read()

    def __exit__(self, *exc):
        end_process(self.proc)
        self.log.close()
        for name in ("PULSE_SERVER", "PULSE_CLIENTCONFIG"):
            if self.saved.get(name) is None:
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
        self.arrivals = []  # (monotonic time a read returned, bytes received by then)

    def start(self):
        self.proc = subprocess.Popen(
            ["parec", "-d", SINK + ".monitor", "--format=s16le", "--rate=%d" % RATE,
             "--channels=1", "--latency-msec=20", "--raw"], stdout=subprocess.PIPE)
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()
        # parec takes a second or two to deliver its first samples.
        deadline = time.time() + 15
        while not self.arrivals:
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
            self.arrivals.append((time.monotonic(), len(self.data)))

    def stop(self):
        if self.proc.poll() is None:
            self.proc.send_signal(signal.SIGINT)
        try:
            self.proc.wait(10)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()
        self.reader.join(10)
        self.samples = array.array("h")
        self.samples.frombytes(bytes(self.data[:len(self.data) // 2 * 2]))
        return self.samples

    def monotonic_of(self, seconds, window=0.5):
        """The monotonic time at which the sample `seconds` into the recording was played
        into the sink.

        Each read returns samples the sink has already played, so arrival - (samples / RATE)
        is the recording's start plus a delivery delay; the smallest value among the reads
        of the `window` after the sample is taken (the count of samples jumps where the sink
        starts a new stream, so a value from long before may not hold). The result is late by
        that smallest delay, a few ms at most."""
        near = [t - n / 2 / RATE for t, n in self.arrivals
                if seconds < n / 2 / RATE <= seconds + window]
        return min(near or [t - n / 2 / RATE for t, n in self.arrivals]) + seconds


class Run:
    """A stretch of one steady tone: start and end in seconds, frequency in Hz."""

    def __init__(self, start, end, frequency, phase0):
        self.start, self.end, self.frequency = start, end, frequency
        self.phase0 = phase0  # it began at phase 0 out of silence

    def __repr__(self):
        return "%.4f-%.4f s %.2f Hz" % (self.start, self.end, self.frequency)


def tone_runs(s, min_periods=5):
    """Every stretch of at least min_periods periods of one steady pitch, in time order.

    The synthesis starts every tone at phase 0, rising, so its onset is a rising zero
    crossing. After silence or a tone that ended above zero the first crossing found is one
    period late; a correlation with a sine from phase 0 over the period before, which has to
    start on a sample of exactly 0, tells."""
    ups = [i + s[i] / float(s[i] - s[i + 1]) for i in range(len(s) - 1)
           if s[i] < 0 <= s[i + 1] and s[i + 1] - s[i] > 500]
    per = [b - a for a, b in zip(ups, ups[1:])]
    runs, first = [], 0
    for k in range(1, len(per) + 1):
        if k == len(per) or abs(per[k] - per[k - 1]) / per[k - 1] > 0.02:
            if k - first >= min_periods:
                f = RATE * (k - first) / (ups[k] - ups[first])
                t, period = ups[first], RATE / f
                seg = s[max(0, int(round(t - period))):int(round(t))]
                ref = [math.sin(2 * math.pi * f * n / RATE) for n in range(len(seg))]
                num = sum(x * y for x, y in zip(seg, ref))
                den = math.sqrt(sum(x * x for x in seg) * sum(y * y for y in ref)) or 1.0
                # The missed crossing is the tone's first sample: exactly 0, then rising.
                j = int(round(t - period))
                phase0 = num / den > 0.9 and any(
                    0 <= i < len(s) - 1 and s[i] == 0 and s[i + 1] > 0 for i in (j - 1, j, j + 1))
                if phase0:
                    t -= period
                runs.append(Run(t / RATE, ups[k] / RATE, f, phase0))
            first = k
    return runs


def onsets(runs):
    """(time, frequency) of every tone's onset, and the times where a tone broke.

    Successive runs of one pitch are one tone that broke (the stream ran dry for a moment,
    or samples went missing on their way through the server) unless the later one starts at
    phase 0 out of a silence: the same click or note again."""
    found, breaks = [], []
    for i, r in enumerate(runs):
        prev = runs[i - 1] if i else None
        if prev and abs(r.frequency - prev.frequency) / prev.frequency < 0.01:
            if not (r.phase0 and r.start - prev.end > 1.5 / prev.frequency):
                breaks.append(prev.end)
                continue
        found.append((r.start, r.frequency))
    return found, breaks


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
            wid = app.wait_until("the tuner window", lambda: app.xdotool(
                "search", "--onlyvisible", "--name", "^Tuner$", check=False).split(), 3)[-1]
            app.focus(wid)
            time.sleep(0.3)
            return wid
        except RuntimeError:
            app.key("Escape")
    raise RuntimeError("Tools > Tuner did not open the tuner window")
