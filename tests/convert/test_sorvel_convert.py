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
            ([good, good], "overwrite the score file"),
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


if __name__ == "__main__":
    CONVERT = sys.argv.pop(1)
    unittest.main()
