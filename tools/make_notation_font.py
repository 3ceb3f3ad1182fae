#!/usr/bin/python3
"""Builds resources/fonts/SorvelNotation.ttf, the notation font the staves draw with.

The outlines of note heads, flags, rests, accidentals, dots and digits come from
Emmentaler (LilyPond, SIL OFL 1.1); stems, bar lines, ties and the ending bracket are
drawn here. Each character of a note-value glyph string maps to one composed glyph.

Run with the system Python, which has the fontforge module (Debian: python3-fontforge,
lilypond-fonts):

    /usr/bin/python3 tools/make_notation_font.py [--source emmentaler-13.otf] [--output F]

Geometry (the staves draw the text at 44 px with -5 px letter spacing and put the
bottom of the line box 20.5 px below the pitch's line or space):
  * 1100 units per em, so 1 px = 25 units; descent 500 units = 20 px everywhere Qt and
    other renderers may read it (hhea, OS/2 typo with USE_TYPO_METRICS, OS/2 win).
  * One staff space = 175 units (7 px). The note head of every note glyph is centred
    on the pitch line, y = 12.5 units (0.5 px above the baseline).
  * Rests and marks are entered at A (second space), so their middle staff line lies
    half a space above the pitch line.
"""

import argparse
import glob
import math
import os
import sys
import tempfile

# Fixed timestamps in the head table, so a rebuild gives the same bytes.
os.environ.setdefault("SOURCE_DATE_EPOCH", "1767225600")

import fontforge  # noqa: E402
import psMat  # noqa: E402

UPM = 1100
PX = UPM / 44.0  # units per pixel at the drawing size
DESCENT = 500
LETTER_SPACING = -5 * PX  # applied by the application after every character
SPACE = 175.0  # one staff space
PITCH = 12.5  # centre of the note head
MIDDLE = PITCH + SPACE / 2  # middle staff line for rests and marks
TOP_LINE = MIDDLE + 2 * SPACE
BOTTOM_LINE = MIDDLE - 2 * SPACE
CELL = 30 * PX  # a score cell
CELL_INSET = 2.5 * PX  # the glyph origin lies this far into its cell
STAFF_LINE = 1 * PX  # the application's staff lines

EMM_SPACE = 250.0  # one staff space in Emmentaler units
SCALE = SPACE / EMM_SPACE

# Engraving proportions, in staff spaces unless noted.
STEM_WIDTH = 0.16 * SPACE
STEM_LENGTH = {0: 3.5, 1: 3.5, 2: 3.5, 3: 4.25}  # by number of flags
HEAD_DOT_GAP = 0.22 * SPACE
FLAG_DOT_GAP = 0.5 * PX
ACCIDENTAL_GAP = 1 * PX  # ink gap between an accidental and the note head
REST_DOT_GAP = 1 * PX
THIN_BAR = 1.5 * PX
THICK_BAR = 0.5 * SPACE
BAR_KERN = 0.3 * SPACE
TRIPLET_SCALE = 0.4  # Emmentaler digits are two spaces tall
TRIPLET_GAP = 0.25 * SPACE
VOLTA_LINE = 1.5 * PX
VOLTA_SCALE = 0.35  # "1." about 7 px tall
TIE_END_X = CELL - CELL_INSET - 0.5 * PX  # the half tie ends at its cell's right edge

FAMILY = "Sorvel Notation"
PS_NAME = "SorvelNotation-Regular"
VERSION = "1.000"
COPYRIGHT = (
    "Copyright (c) 1996-2022 The LilyPond authors (Emmentaler outlines). "
    "Copyright (c) 2026 The Sorvel Score authors (composition, stems, ties, bars). "
    "Sorvel Notation is a Modified Version of Emmentaler under another name; "
    "it uses no Reserved Font Name."
)
LICENSE = (
    "This Font Software is licensed under the SIL Open Font License, Version 1.1. "
    "This license is available with a FAQ at: https://openfontlicense.org"
)
LICENSE_URL = "https://openfontlicense.org"


def default_source():
    hits = sorted(glob.glob("/usr/share/lilypond/*/fonts/otf/emmentaler-13.otf"))
    return hits[-1] if hits else None


class Builder:
    def __init__(self, source_path):
        self.src = fontforge.open(source_path)
        self.font = fontforge.font()
        f = self.font
        f.encoding = "UnicodeBmp"
        f.em = UPM
        f.ascent = UPM - DESCENT
        f.descent = DESCENT
        f.fontname = PS_NAME
        f.familyname = FAMILY
        f.fullname = FAMILY
        f.weight = "Regular"
        f.version = VERSION
        f.copyright = COPYRIGHT
        for key, value in (
            ("Family", FAMILY),
            ("SubFamily", "Regular"),
            ("Fullname", FAMILY),
            ("PostScriptName", PS_NAME),
            ("UniqueID", "Sorvel Notation " + VERSION),
            ("Version", "Version " + VERSION),
            ("Copyright", COPYRIGHT),
            ("License", LICENSE),
            ("License URL", LICENSE_URL),
            ("Descriptor", "Music notation glyphs for Sorvel Score, derived from Emmentaler."),
        ):
            f.appendSFNTName("English (US)", key, value)

    # --- outline helpers -------------------------------------------------------

    def ink(self, name):
        """Bounding box of an Emmentaler glyph, in Emmentaler units."""
        return self.src[name].boundingBox()

    def put(self, glyph, name, x, y, scale=SCALE):
        """Adds Emmentaler glyph `name`, scaled, with its origin at (x, y)."""
        layer = self.src[name].foreground.dup()
        layer.transform(psMat.compose(psMat.scale(scale), psMat.translate(x, y)))
        glyph.foreground += layer

    def put_ink_at(self, glyph, name, left, y, scale=SCALE):
        """Adds an Emmentaler glyph so that its ink starts at x = `left`."""
        x0 = self.src[name].boundingBox()[0] * scale
        self.put(glyph, name, left - x0, y, scale)

    @staticmethod
    def rect(glyph, x0, y0, x1, y1):
        pen = glyph.glyphPen(replace=False)
        pen.moveTo((x0, y0))
        pen.lineTo((x0, y1))
        pen.lineTo((x1, y1))
        pen.lineTo((x1, y0))
        pen.closePath()
        pen = None  # fontforge commits the contour when the pen goes away

    @staticmethod
    def half_tie(glyph, x0, y0, x1, direction, height, thickness, tip=4):
        """Left half of a tie from (x0, y0) to its middle at x1, bulging in `direction`.

        The full tie would end at 2*x1 - x0; its outer and inner edges are cubic arcs
        split at their middle, so the cut at x1 is where the tie is thickest. The tip
        at x0 is `tip` units thick.
        """
        x3 = 2 * x1 - x0

        def left_half(ystart, h):
            # Full arc from (x0, ystart) to (x3, ystart) rising h in `direction` at its
            # middle; returns the control points and end of its first half.
            c = direction * h * 4.0 / 3.0
            p1 = (x0 + (x3 - x0) * 0.25, ystart + c)
            p2 = (x0 + (x3 - x0) * 0.75, ystart + c)
            m01 = ((x0 + p1[0]) / 2, (ystart + p1[1]) / 2)
            m12 = ((p1[0] + p2[0]) / 2, (p1[1] + p2[1]) / 2)
            m23 = ((p2[0] + x3) / 2, (p2[1] + ystart) / 2)
            a = ((m01[0] + m12[0]) / 2, (m01[1] + m12[1]) / 2)
            b = ((m12[0] + m23[0]) / 2, (m12[1] + m23[1]) / 2)
            return m01, a, ((a[0] + b[0]) / 2, (a[1] + b[1]) / 2)

        outer_y = y0 + direction * tip / 2
        inner_y = y0 - direction * tip / 2
        o1, o2, om = left_half(outer_y, height + thickness / 2 - tip / 2)
        i1, i2, im = left_half(inner_y, height - thickness / 2 + tip / 2)
        pen = glyph.glyphPen(replace=False)
        pen.moveTo((x0, outer_y))
        pen.curveTo(o1, o2, om)
        pen.lineTo(im)
        pen.curveTo(i2, i1, (x0, inner_y))
        pen.closePath()
        pen = None

    # --- glyph construction ---------------------------------------------------

    def new_glyph(self, char, name=None):
        if name is None:
            g = self.font.createChar(ord(char))
        else:
            g = self.font.createChar(-1 if char is None else ord(char), name)
        g.clear()
        return g

    def finish(self, glyph, advance):
        # Rounding first makes shared edges (stem and flag) exactly coincident, which
        # the overlap removal merges cleanly; rounding afterwards could cross them.
        glyph.round()
        glyph.removeOverlap()
        glyph.correctDirection()
        glyph.round()
        glyph.width = int(round(advance))

    def head_name(self, size):
        return {0: "noteheads.s0", 1: "noteheads.s1"}.get(size, "noteheads.s2")

    def head_width(self, size):
        return self.ink(self.head_name(size))[2] * SCALE

    def note(self, char, size, stem=None, dotted=False, tie=None, triplet=None,
             name=None, tie_end=TIE_END_X):
        """A note of `size` (0 whole .. 5 thirty-second) with its head at the origin.

        stem: "up", "down" or None; tie: "below" / "above" adds a half tie going right
        to x = `tie_end`; triplet: "above" / "below" adds a small 3 beyond the stem tip.
        With `name` the glyph is an unencoded variant.
        """
        g = self.new_glyph(None, name) if name else self.new_glyph(char)
        head = self.head_name(size)
        hw = self.head_width(size)
        self.put(g, head, 0, PITCH)
        flags = max(0, size - 2)
        right = hw
        tip = None
        if size >= 1 and stem:
            length = STEM_LENGTH[flags] * SPACE
            if stem == "up":
                x1 = hw
                x0 = x1 - STEM_WIDTH
                tip = PITCH + length
                self.rect(g, x0, PITCH, x1, tip)
                if flags:
                    self.put(g, "flags.u%d" % (flags + 2), x1, tip)
                    right = max(right, x1 + self.ink("flags.u%d" % (flags + 2))[2] * SCALE)
            else:
                x0 = 0.0
                x1 = STEM_WIDTH
                tip = PITCH - length
                self.rect(g, x0, tip, x1, PITCH)
                if flags:
                    self.put(g, "flags.d%d" % (flags + 2), x1, tip)
        if dotted:
            # A dot level with a stem-up flag goes right of the flag, as engravers do.
            dx = max(hw + HEAD_DOT_GAP, right + FLAG_DOT_GAP if flags and stem == "up" else 0)
            self.put_ink_at(g, "dots.dot", dx, PITCH + SPACE / 2)
            right = max(right, dx + self.ink("dots.dot")[2] * SCALE)
        if tie:
            d = -1 if tie == "below" else 1
            self.half_tie(
                g,
                hw * 0.75,
                PITCH + d * 0.7 * SPACE,
                tie_end,
                d,
                0.45 * SPACE,
                0.2 * SPACE,
            )
        if triplet:
            self.triplet_mark(g, hw / 2, tip, triplet)
        self.finish(g, right + 2 * PX - LETTER_SPACING)
        return g

    def triplet_mark(self, glyph, centre_x, edge_y, where):
        three = self.ink("three")
        w = (three[2] - three[0]) * TRIPLET_SCALE
        h = (three[3] - three[1]) * TRIPLET_SCALE
        if where == "above":
            y = edge_y + TRIPLET_GAP
        else:
            y = edge_y - TRIPLET_GAP - h
        self.put(glyph, "three", centre_x - w / 2 - three[0] * TRIPLET_SCALE,
                 y - three[1] * TRIPLET_SCALE, TRIPLET_SCALE)

    REST_ORIGIN = {
        0: MIDDLE + SPACE,  # whole rest hangs from the fourth line
        1: MIDDLE,  # half rest sits on the middle line
    }

    def rest(self, char, size, triplet=None):
        g = self.new_glyph(char)
        name = "rests.%d" % size
        box = self.ink(name)
        y = self.REST_ORIGIN.get(size, MIDDLE)
        self.put_ink_at(g, name, 0, y)
        width = (box[2] - box[0]) * SCALE
        if triplet:
            # Outside the staff, clear of its lines.
            if triplet == "above":
                edge = TOP_LINE + STAFF_LINE / 2 + 1 * PX - TRIPLET_GAP
            else:
                edge = BOTTOM_LINE - STAFF_LINE / 2 - 1 * PX + TRIPLET_GAP
            self.triplet_mark(g, width / 2, edge, triplet)
        # The augmentation dot that may follow starts one pixel after the rest's ink.
        self.finish(g, width + REST_DOT_GAP - LETTER_SPACING)
        return g

    def accidental(self, char, name):
        g = self.new_glyph(char)
        box = self.ink(name)
        self.put_ink_at(g, name, 0, PITCH)
        self.finish(g, (box[2] - box[0]) * SCALE + ACCIDENTAL_GAP - LETTER_SPACING)
        return g

    def rest_dot(self):
        g = self.new_glyph(None, "dot.rest")
        self.put_ink_at(g, "dots.dot", 0, MIDDLE + SPACE / 2)
        self.finish(g, self.ink("dots.dot")[2] * SCALE + 2 * PX - LETTER_SPACING)
        return g

    # Bars and dots of the marks, centred in the cell.
    def staff_bar(self, glyph, x0, width):
        half_line = STAFF_LINE / 2
        self.rect(glyph, x0, BOTTOM_LINE - half_line, x0 + width, TOP_LINE + half_line)

    def repeat_dots(self, glyph, x0):
        for y in (MIDDLE - SPACE / 2, MIDDLE + SPACE / 2):
            self.put_ink_at(glyph, "dots.dot", x0, y)

    def bar_mark(self, char, kind):
        g = self.new_glyph(char)
        dot_w = self.ink("dots.dot")[2] * SCALE
        centre = (CELL - 2 * CELL_INSET) / 2
        if kind == "bar":
            self.staff_bar(g, centre - THIN_BAR / 2, THIN_BAR)
        else:
            total = THICK_BAR + BAR_KERN + THIN_BAR + BAR_KERN + dot_w
            x = centre - total / 2
            if kind == "start":
                self.staff_bar(g, x, THICK_BAR)
                x += THICK_BAR + BAR_KERN
                self.staff_bar(g, x, THIN_BAR)
                x += THIN_BAR + BAR_KERN
                self.repeat_dots(g, x)
            else:
                self.repeat_dots(g, x)
                x += dot_w + BAR_KERN
                self.staff_bar(g, x, THIN_BAR)
                x += THIN_BAR + BAR_KERN
                self.staff_bar(g, x, THICK_BAR)
        self.finish(g, CELL - LETTER_SPACING)
        return g

    def first_ending(self, char):
        """Bracket above the staff: a hook going up, a line to the right, "1." under it.

        The line lies on the upper dashed ledger line, covering it.
        """
        g = self.new_glyph(char)
        x0 = 1 * PX
        line_y = TOP_LINE + 2 * SPACE
        hook_bottom = TOP_LINE + 0.5 * SPACE
        self.rect(g, x0, hook_bottom, x0 + VOLTA_LINE, line_y + VOLTA_LINE / 2)
        self.rect(g, x0, line_y - VOLTA_LINE / 2, CELL - CELL_INSET, line_y + VOLTA_LINE / 2)
        one = self.ink("one")
        top = line_y - VOLTA_LINE / 2 - 1 * PX
        base = top - (one[3] - one[1]) * VOLTA_SCALE
        x = x0 + VOLTA_LINE + 1.2 * PX
        self.put(g, "one", x - one[0] * VOLTA_SCALE, base - one[1] * VOLTA_SCALE, VOLTA_SCALE)
        x += (one[2] - one[0]) * VOLTA_SCALE + 0.3 * PX
        self.put(g, "period", x, base, VOLTA_SCALE)
        self.finish(g, CELL - LETTER_SPACING)
        return g

    # --- the whole font -------------------------------------------------------

    def build(self):
        nd = self.font.createChar(-1, ".notdef")
        nd.width = int(CELL / 2)
        sp = self.new_glyph(" ")
        sp.width = int(CELL - LETTER_SPACING)

        # Plain and dotted notes, stem up ("0".."5", "6"..";") and stem down.
        for size in range(6):
            self.note(str(size), size, "up")
            self.note(chr(ord("6") + size), size, "up", dotted=True)
        for size in range(1, 6):
            self.note("ABCDE"[size - 1], size, "down")
            self.note("IJKLM"[size - 1], size, "down", dotted=True)

        rests = {"=": 0, "?": 1, "F": 2, "G": 3, "N": 4, "O": 5}
        for ch, size in rests.items():
            self.rest(ch, size)

        self.bar_mark("(", "bar")
        self.bar_mark(")", "start")
        self.bar_mark("+", "end")
        self.first_ending("-")

        for ch, size in zip("XYZ", (2, 3, 4)):
            self.note(ch, size, "up", triplet="above")
        for ch, size in zip("def", (2, 3, 4)):
            self.note(ch, size, "down", triplet="below")
        for ch, size in zip("abc", (2, 3, 4)):
            self.rest(ch, size, triplet="above")
        for ch, size in zip("ghi", (2, 3, 4)):
            self.rest(ch, size, triplet="below")

        ties = [(ch, size, "up", "below") for ch, size in zip("nopqrs", range(6))]
        ties += [(ch, size, "down" if size else None, "above")
                 for ch, size in zip("tuvwxy", range(6))]
        for ch, size, stem, side in ties:
            self.note(ch, size, stem, tie=side)

        flat = self.accidental("/", "accidentals.flat")
        sharp = self.accidental(".", "accidentals.sharp")
        self.rest_dot()

        # After an accidental the note sits further right; these variants end their tie
        # at the same cell edge, so it stops short of the next cell's accidental.
        for prefix in (flat, sharp):
            shift = prefix.width + LETTER_SPACING
            for ch, size, stem, side in ties:
                self.note(ch, size, stem, tie=side, tie_end=TIE_END_X - shift,
                          name=self.tie_variant(ch, prefix))

        return [self.font[ord(c)].glyphname for c in "=?FGNOabcghi"]

    def tie_variant(self, ch, prefix):
        return "%s.after_%s" % (self.font[ord(ch)].glyphname, prefix.glyphname)

    def add_features(self, rest_glyphs):
        # "." is a sharp before a note and the augmentation dot after a rest; a tied
        # note after an accidental takes its shorter-tie variant.
        period = self.font[ord(".")].glyphname
        slash = self.font[ord("/")].glyphname
        ties = [self.font[ord(c)].glyphname for c in "nopqrstuvwxy"]
        lines = [
            "languagesystem DFLT dflt;",
            "languagesystem latn dflt;",
            "@RESTS = [%s];" % " ".join(rest_glyphs),
            "@TIES = [%s];" % " ".join(ties),
        ]
        for prefix in (period, slash):
            lines.append("@TIES_%s = [%s];" % (prefix.upper(), " ".join(
                "%s.after_%s" % (t, prefix) for t in ties)))
        lines += [
            "lookup Context {",
            "  sub @RESTS %s' by dot.rest;" % period,
            "  sub %s @TIES' by @TIES_%s;" % (period, period.upper()),
            "  sub %s @TIES' by @TIES_%s;" % (slash, slash.upper()),
            "} Context;",
            "feature calt {",
            "  script DFLT; language dflt; lookup Context;",
            "  script latn; language dflt; lookup Context;",
            "} calt;",
        ]
        fea = "\n".join(lines) + "\n"
        with tempfile.NamedTemporaryFile("w", suffix=".fea", delete=False) as tmp:
            tmp.write(fea)
            path = tmp.name
        try:
            self.font.mergeFeature(path)
        finally:
            os.unlink(path)

    def set_metrics(self):
        f = self.font
        top = max(g.boundingBox()[3] for g in f.glyphs())
        ascent = int(math.ceil((top + PX) / 50.0) * 50)
        f.os2_version = 4
        f.os2_use_typo_metrics = True
        f.hhea_ascent_add = False
        f.hhea_descent_add = False
        f.os2_typoascent_add = False
        f.os2_typodescent_add = False
        f.os2_winascent_add = False
        f.os2_windescent_add = False
        f.hhea_ascent = ascent
        f.hhea_descent = -DESCENT
        f.hhea_linegap = 0
        f.os2_typoascent = ascent
        f.os2_typodescent = -DESCENT
        f.os2_typolinegap = 0
        f.os2_winascent = ascent
        f.os2_windescent = DESCENT
        f.os2_vendor = "SRVL"
        return ascent

    def generate(self, path):
        self.font.is_quadratic = True
        for g in self.font.glyphs():
            g.round()
        self.font.generate(path, flags=("opentype", "no-FFTM-table", "omit-instructions"))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--source", default=default_source(), help="Emmentaler OTF file")
    parser.add_argument(
        "--output",
        default=os.path.join(here, "..", "resources", "fonts", "SorvelNotation.ttf"),
    )
    args = parser.parse_args()
    if not args.source or not os.path.exists(args.source):
        sys.exit("Emmentaler not found: install lilypond-fonts or pass --source")
    b = Builder(args.source)
    rests = b.build()
    b.add_features(rests)
    ascent = b.set_metrics()
    b.generate(os.path.normpath(args.output))
    print("wrote %s (ascent %d, descent %d, %d glyphs)"
          % (os.path.normpath(args.output), ascent, DESCENT, sum(1 for _ in b.font.glyphs())))


if __name__ == "__main__":
    main()
