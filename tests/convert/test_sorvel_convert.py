#!/usr/bin/env python3
"""sorvel-convert from a terminal without a display: options, exit codes, messages, the PDF
and the exchange formats."""

import os
import pathlib
import re
import subprocess
import sys
import tempfile
import unittest

CONVERT = None


def run(*args):
    env = dict(os.environ)
    # No display, no platform chosen: the converter must manage on its own.
    for name in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"):
        env.pop(name, None)
    return subprocess.run([CONVERT, *args], capture_output=True, text=True, env=env, timeout=120)


def pdfinfo(path):
    out = subprocess.run(["pdfinfo", path], capture_output=True, text=True, check=True).stdout
    pages = int(re.search(r"Pages:\s+(\d+)", out).group(1))
    size = re.search(r"Page size:\s+([\d.]+ x [\d.]+) pts", out).group(1)
    return pages, size


def score(cells, chords=("C", "G7"), tempo_index=3):
    lines = [f"<,sorvel2,1,{tempo_index},440,0,0"] + ["#" + c for c in chords]
    return "\n".join(lines + [f"{p},{v}" for p, v in cells]) + "\n"


def cell_lines(text):
    return [tuple(int(x) for x in line.split(",")) for line in text.splitlines()
            if line and line[0] not in "<#"]


class ConvertTest(unittest.TestCase):
    # Tied whole into a quarter, dotted eighth, sixteenth, rests, a bar, a repeat, sharps
    # and flats; marks stand on the middle line as the window writes them.
    CELLS = [(17, 53), (17, 5), (19, 8), (20, 9), (17, 25), (5, 7), (6, 7), (17, 19),
             (17, 17), (17, 26), (12, 3), (17, 27), (17, 1)]

    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.addCleanup(self.tmp.cleanup)

    def path(self, name):
        return os.path.join(self.tmp.name, name)

    def write(self, name, data):
        with open(self.path(name), "wb" if isinstance(data, bytes) else "w") as f:
            f.write(data)
        return self.path(name)

    def expect_failure(self, args, code, message):
        with self.subTest(args=args):
            r = run(*args)
            self.assertEqual(r.returncode, code, r.stderr)
            self.assertIn(message, r.stderr)
            self.assertFalse(os.path.exists(self.path("o.pdf")))

    def test_usage_errors_exit_2_and_unreadable_or_unwritable_files_exit_1(self):
        good = self.write("s.txt", score([(17, 5)]))
        out = self.path("o.pdf")
        for args, message in [
            ([], "give the score file"),
            ([good], "give the score file"),
            (["--paper"], "needs a value"),
            ([good, out, "third.pdf"], "too many files"),
            (["--bogus", good, out], "unknown option --bogus"),
            (["--paper", "a3", good, out], "unknown paper 'a3'"),
            (["--images=", good, out], "needs a value"),
            ([good, good], "overwrite the input file"),
            ([good, self.path("o.doc")], "unknown output type"),
            ([good, self.path("o.txt")], "MusicXML"),
        ]:
            self.expect_failure(args, 2, message)
        self.assertEqual(pathlib.Path(good).read_text(), score([(17, 5)]))
        notxml = self.write("n.musicxml", "this is no XML")
        for args, message in [
            ([self.path("missing.txt"), out], "cannot read"),
            ([self.write("notes.txt", "hello\nworld\n"), out], "not a Sorvel Score file"),
            ([self.write("bad.txt", b"<,sorvel2,0,0\n\xff\xfe\n"), out], "cannot read"),
            ([self.tmp.name, out], "cannot read"),
            ([notxml, self.path("o.txt")], "cannot read"),
            ([self.write("h.xml", "<html><body/></html>"), self.path("o.txt")], "cannot read"),
            ([notxml, self.path("o.mid")], "cannot read"),
            ([good, self.path("no/such/o.pdf")], "Cannot write"),
            ([good, self.path("no/such/o.wav")], "cannot write"),
        ]:
            self.expect_failure(args, 1, message)
            self.assertFalse(os.path.exists(args[1]))

    def test_help_and_version(self):
        for option, text in [("--help", "--paper a4|letter"), ("--version", "Sorvel Score 0.1.0")]:
            with self.subTest(option=option):
                r = run(option)
                self.assertEqual(r.returncode, 0)
                self.assertIn(text, r.stdout)

    def test_writes_the_pages_and_only_warns_of_missing_pictures(self):
        cells = [(17, 5)] * 170  # two pages of four staff lines of 40 cells
        src = self.write("Moon River.txt", score(cells, ("Fmaj7", "Dm7", "Gm7", "C7", "Am7b5")))
        out = self.path("moon.pdf")
        for extra, size in [([], "595 x 842"), (["--paper", "letter"], "612 x 792"),
                            (["--paper=A4", "--images", "keyboard"], "595 x 842")]:
            with self.subTest(extra=extra):
                r = run(*extra, src, out)
                self.assertEqual(r.returncode, 0, r.stderr)
                self.assertIn("2 pages", r.stdout)
                self.assertEqual(pdfinfo(out), (2, size))
                text = subprocess.run(["pdftotext", out, "-"], capture_output=True, text=True,
                                      check=True).stdout
                for t in ("Moon River.txt", "- 1 -", "- 2 -", "Fmaj7", "Am7b5"):
                    self.assertIn(t, text)
        for args in (["--images", "nosuchset"], ["--set-folder", self.path("none")]):
            with self.subTest(args=args):
                r = run(*args, src, out)
                self.assertEqual(r.returncode, 0, r.stderr)
                self.assertIn("warning", r.stderr)
                self.assertEqual(pdfinfo(out)[0], 2)

    def test_musicxml_round_trip_keeps_the_cells_and_chords(self):
        src = self.write("s.txt", score(self.CELLS, chords=("C G7", "Am")))
        for ext in ("xml", "MusicXML", "mxl"):
            with self.subTest(ext=ext):
                xml, back = self.path("o." + ext), self.path("back.txt")
                self.assertEqual(run(src, xml).returncode, 0)
                r = run(xml, back)
                self.assertEqual(r.returncode, 0, r.stderr)
                text = pathlib.Path(back).read_text()
                self.assertEqual(cell_lines(text), self.CELLS)
                self.assertIn("#C G7", text.splitlines())
                self.assertLessEqual(len(r.stdout.splitlines()), 1, "no per-cell console lines")

    def test_midi_and_wav_play_the_score(self):
        src = self.write("s.txt", score(self.CELLS))
        out = self.path("o.mid")
        self.assertEqual(run(src, out).returncode, 0)
        data = pathlib.Path(out).read_bytes()
        self.assertEqual((data[:4], data[14:18]), (b"MThd", b"MTrk"))
        # The tie joined, the repeated bar played twice.
        self.assertEqual(len(re.findall(rb"\x90[\x00-\x7f][\x01-\x7f]", data)), 8)
        # Tempo item 3 is 120 bpm: quarter, eighth, dotted eighth, a bar, whole, quarter rest.
        cells = [(17, 5), (19, 7), (20, 8), (17, 25), (17, 1), (17, 17)]
        out = self.path("o.wav")
        self.assertEqual(run(self.write("w.txt", score(cells)), out).returncode, 0)
        data = pathlib.Path(out).read_bytes()
        self.assertEqual((data[:4], data[8:12]), (b"RIFF", b"WAVE"))
        rate = int.from_bytes(data[24:28], "little")
        self.assertEqual((len(data) - 44) // 2, round((1 + 0.5 + 0.75 + 4 + 1) * 60 / 120 * rate))

if __name__ == "__main__":
    CONVERT = sys.argv.pop(1)
    unittest.main()
