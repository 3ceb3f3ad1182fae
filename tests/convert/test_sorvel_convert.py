#!/usr/bin/env python3
"""sorvel-convert from a terminal without a display: options, exit codes, messages and the PDF."""

import os
import re
import subprocess
import sys
import tempfile
import unittest

CONVERT = None


def run(*args, env=None):
    e = dict(os.environ)
    # No display, no platform chosen: the converter must manage on its own.
    for name in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"):
        e.pop(name, None)
    if env:
        e.update(env)
    return subprocess.run([CONVERT, *args], capture_output=True, text=True, env=e, timeout=120)


def pdfinfo(path):
    out = subprocess.run(["pdfinfo", path], capture_output=True, text=True, check=True).stdout
    pages = int(re.search(r"Pages:\s+(\d+)", out).group(1))
    size = re.search(r"Page size:\s+([\d.]+ x [\d.]+) pts", out).group(1)
    return pages, size


def pdftext(path):
    return subprocess.run(["pdftotext", path, "-"], capture_output=True, text=True,
                          check=True).stdout


def score(cells, chords=("C", "G7")):
    lines = ["<,sorvel2,1,3,440,0,0"] + ["#" + c for c in chords]
    lines += [f"{p},{v}" for p, v in cells]
    return "\n".join(lines) + "\n"


class ConvertTest(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.dir = self.tmp.name

    def tearDown(self):
        self.tmp.cleanup()

    def write(self, name, text, mode="w"):
        path = os.path.join(self.dir, name)
        with open(path, mode) as f:
            f.write(text)
        return path

    def test_usage_errors_exit_2_with_a_message(self):
        good = self.write("s.txt", score([(17, 5)]))
        out = os.path.join(self.dir, "o.pdf")
        cases = [
            ([], "give the score file"),
            ([good], "give the score file"),
            ([good, out, "third.pdf"], "too many files"),
            (["--bogus", good, out], "unknown option --bogus"),
            (["--paper", "a3", good, out], "unknown paper 'a3'"),
            (["--paper"], "needs a value"),
            (["--images=", good, out], "needs a value"),
            ([good, good], "overwrite the input file"),
        ]
        for args, message in cases:
            with self.subTest(args=args):
                r = run(*args)
                self.assertEqual(r.returncode, 2, r.stderr)
                self.assertIn(message, r.stderr)
                self.assertFalse(os.path.exists(out))
        with open(good) as f:
            self.assertEqual(f.read(), score([(17, 5)]))

    def test_help_and_version(self):
        r = run("--help")
        self.assertEqual(r.returncode, 0)
        self.assertIn("Usage: sorvel-convert", r.stdout)
        self.assertIn("--paper a4|letter", r.stdout)
        r = run("--version")
        self.assertEqual(r.returncode, 0)
        self.assertIn("Sorvel Score 0.1.0", r.stdout)

    def test_unreadable_input_exits_1(self):
        out = os.path.join(self.dir, "o.pdf")
        cases = [
            (os.path.join(self.dir, "missing.txt"), "cannot read"),
            (self.write("notes.txt", "hello\nworld\n"), "not a Sorvel Score file"),
            (self.write("bad.txt", b"<,sorvel2,0,0\n\xff\xfe\n", "wb"), "cannot read"),
            (self.dir, "cannot read"),
        ]
        for path, message in cases:
            with self.subTest(path=path):
                r = run(path, out)
                self.assertEqual(r.returncode, 1, r.stderr)
                self.assertIn(message, r.stderr)
                self.assertFalse(os.path.exists(out))

    def test_unwritable_output_exits_1(self):
        good = self.write("s.txt", score([(17, 5)]))
        r = run(good, os.path.join(self.dir, "no", "such", "dir", "o.pdf"))
        self.assertEqual(r.returncode, 1)
        self.assertIn("Cannot write", r.stderr)

    def test_writes_the_pages(self):
        cells = [(17, 5)] * 170  # two pages of four staff lines of 40 cells
        src = self.write("Moon River.txt", score(cells, ("Fmaj7", "Dm7", "Gm7", "C7", "Am7b5")))
        cases = [
            ([], "595 x 842"),
            (["--paper", "letter"], "612 x 792"),
            (["--paper=A4", "--images", "keyboard"], "595 x 842"),
        ]
        for extra, size in cases:
            with self.subTest(extra=extra):
                out = os.path.join(self.dir, "moon.pdf")
                r = run(*extra, src, out)
                self.assertEqual(r.returncode, 0, r.stderr)
                self.assertIn("2 pages", r.stdout)
                self.assertEqual(pdfinfo(out), (2, size))
                text = pdftext(out)
                for t in ("Moon River.txt", "- 1 -", "- 2 -", "Fmaj7", "Am7b5"):
                    self.assertIn(t, text)

    def test_missing_pictures_only_warn(self):
        src = self.write("s.txt", score([(17, 5)] * 3))
        out = os.path.join(self.dir, "o.pdf")
        for args in (["--images", "nosuchset"], ["--set-folder", os.path.join(self.dir, "none")]):
            with self.subTest(args=args):
                r = run(*args, src, out)
                self.assertEqual(r.returncode, 0, r.stderr)
                self.assertIn("warning", r.stderr)
                self.assertEqual(pdfinfo(out)[0], 1)


def cell_lines(text):
    """The cell lines of a score file, as (pitch, value) pairs."""
    return [tuple(int(x) for x in line.split(",")) for line in text.splitlines()
            if line and line[0] not in "<#"]


# Whole, half, quarter, eighth, sixteenth, thirty-second as the values' beats at tempo 120.
BEATS = {1: 4.0, 3: 2.0, 5: 1.0, 7: 0.5, 8: 0.75, 9: 0.25, 17: 1.0, 19: 0.5, 25: 0.0, 53: 4.0}


class ExchangeTest(unittest.TestCase):
    setUp, tearDown, write = ConvertTest.setUp, ConvertTest.tearDown, ConvertTest.write

    # Tied whole into a quarter, dotted eighth, sixteenth, rests, a bar, a repeat, sharps
    # and flats; marks stand on the middle line as the window writes them.
    CELLS = [(17, 53), (17, 5), (19, 8), (20, 9), (17, 25), (5, 7), (6, 7), (17, 19),
             (17, 17), (17, 26), (12, 3), (17, 27), (17, 1)]

    def test_musicxml_round_trip_keeps_the_cells_and_chords(self):
        src = self.write("s.txt", score(self.CELLS, chords=("C G7", "Am")))
        for ext in ("musicxml", "xml", "MusicXML"):
            with self.subTest(ext=ext):
                xml = os.path.join(self.dir, "o." + ext)
                back = os.path.join(self.dir, "back.txt")
                r = run(src, xml)
                self.assertEqual(r.returncode, 0, r.stderr)
                with open(xml) as f:
                    self.assertIn("<score-partwise", f.read())
                r = run(xml, back)
                self.assertEqual(r.returncode, 0, r.stderr)
                with open(back) as f:
                    text = f.read()
                self.assertEqual(cell_lines(text), self.CELLS)
                self.assertIn("#C G7", text.splitlines())
                # No per-cell console lines in a converter's output.
                self.assertLessEqual(len(r.stdout.splitlines()), 1, r.stdout)

    def test_midi_file(self):
        src = self.write("s.txt", score(self.CELLS))
        out = os.path.join(self.dir, "o.mid")
        r = run(src, out)
        self.assertEqual(r.returncode, 0, r.stderr)
        with open(out, "rb") as f:
            data = f.read()
        self.assertEqual(data[:4], b"MThd")
        self.assertEqual(data[14:18], b"MTrk")
        # The track's length field covers exactly the rest of the file.
        self.assertEqual(int.from_bytes(data[18:22], "big"), len(data) - 22)
        # One note-on per played note: the tie joined, the repeated bar played twice.
        # Played: tied whole+quarter, dotted eighth, sixteenth, eighth, eighth, then the
        # repeated half twice, then the whole.
        note_ons = re.findall(rb"\x90[\x00-\x7f][\x01-\x7f]", data)
        self.assertEqual(len(note_ons), 8)

    def test_wav_length_follows_tempo_and_values(self):
        cells = [(17, 5), (19, 7), (20, 8), (17, 25), (17, 1), (17, 17)]
        for tempo_index, bpm in ((3, 120), (0, 60)):
            with self.subTest(bpm=bpm):
                text = score(cells).replace("<,sorvel2,1,3,", f"<,sorvel2,1,{tempo_index},")
                src = self.write("s.txt", text)
                out = os.path.join(self.dir, "o.wav")
                r = run(src, out)
                self.assertEqual(r.returncode, 0, r.stderr)
                with open(out, "rb") as f:
                    data = f.read()
                self.assertEqual(data[:4], b"RIFF")
                self.assertEqual(data[8:12], b"WAVE")
                rate = int.from_bytes(data[24:28], "little")
                beats = sum(BEATS[v] for _, v in cells)
                samples = (len(data) - 44) // 2
                self.assertEqual(samples, round(beats * 60 / bpm * rate))

    def test_bad_exchange_input_and_usage(self):
        src = self.write("s.txt", score([(17, 5)]))
        notxml = self.write("n.musicxml", "this is no XML")
        html = self.write("h.xml", "<html><body/></html>")
        cases = [
            ((src, os.path.join(self.dir, "o.doc")), 2, "unknown output type"),
            ((src, os.path.join(self.dir, "o.txt")), 2, "MusicXML"),
            ((notxml, os.path.join(self.dir, "o.txt")), 1, "cannot read"),
            ((html, os.path.join(self.dir, "o.txt")), 1, "cannot read"),
            ((os.path.join(self.dir, "none.musicxml"), os.path.join(self.dir, "o.txt")), 1,
             "cannot read"),
            ((notxml, os.path.join(self.dir, "o.mid")), 1, "cannot read"),
            ((src, os.path.join(self.dir, "nodir", "o.wav")), 1, "cannot write"),
        ]
        for args, code, text in cases:
            with self.subTest(args=args):
                r = run(*args)
                self.assertEqual(r.returncode, code, r.stderr)
                self.assertIn(text, r.stderr)
                self.assertFalse(os.path.exists(args[1]))


if __name__ == "__main__":
    CONVERT = sys.argv.pop(1)
    unittest.main()
