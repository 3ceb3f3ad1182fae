#include "view/button_pictures.h"

#include <cmath>
#include <initializer_list>
#include <string>

#include "model/notation_tables.h"
#include "model/note_values.h"
#include "view/gosen_view.h"

namespace sorvel {

void drawValueButton(Canvas& canvas, std::int64_t value, Size size) {
    // The staff scaled down: lines kSpace apart, the font in proportion.
    constexpr double kSpace = 4.5;
    const StaffLines staff{size.height / 2, kSpace};
    for (const int position : {6, 8, 10}) {
        const double y = staff.y(position);
        canvas.line({0.5, y}, {size.width - 0.5, y}, 1.0, Color::black(), std::nullopt);
    }
    // Rests and marks are written at the middle pitch; notes are shown there too.
    constexpr std::size_t kMiddlePitch = 17;
    const double fontSize = kNotationFontSize * kSpace / kStaffSpace;
    const std::string glyph(noteValue(value).glyph);
    const Rect ink = canvas.textInk(glyph, kNotationFontFamily, fontSize, 0);
    canvas.text({(size.width - ink.width) / 2 - ink.x,
                 staff.glyphBox(static_cast<double>(tables::locateArr[kMiddlePitch]))},
                glyph, kNotationFontFamily, fontSize, 0);
}

namespace {

// Staff lines, ledger lines, clefs and note of the note pictures.
constexpr Color kInk{0x10, 0x10, 0x10, 255};
constexpr double kLineWidth = 0.8;

// A horizontal line as a square-capped pen draws it: half the pen past either end.
void staffLine(Canvas& canvas, double left, double right, double y) {
    canvas.line({left - kLineWidth / 2, y}, {right + kLineWidth / 2, y}, kLineWidth, kInk,
                std::nullopt);
}

// A clef drawn in its own units (y down, origin on the line it names) and scaled unevenly
// onto the staff. Its round pen scales with it, so a stroke is as thick as the scaled pen is
// across the stroke's direction; curves are stroked in short pieces to follow that.
struct ClefPen {
    Canvas& canvas;
    Point origin;
    double sx, sy;  // staff units per clef unit
    double width;   // of the pen, in clef units

    Point at(Point p) const { return {origin.x + p.x * sx, origin.y - p.y * sy}; }
    double across(double dx, double dy) const {
        const double length = std::hypot(dx * sx, dy * sy);
        return length > 0 ? width * sx * sy * std::hypot(dx, dy) / length : width * sx;
    }
    void line(Point a, Point b) const {
        canvas.line(at(a), at(b), across(b.x - a.x, b.y - a.y), kInk, std::nullopt);
    }
    void curve(Point p0, Point p1, Point p2, Point p3) const {
        auto point = [&](double t) {
            const double u = 1 - t;
            return Point{
                u * u * u * p0.x + 3 * u * u * t * p1.x + 3 * u * t * t * p2.x + t * t * t * p3.x,
                u * u * u * p0.y + 3 * u * u * t * p1.y + 3 * u * t * t * p2.y + t * t * t * p3.y};
        };
        auto slope = [&](double t) {
            const double u = 1 - t;
            return Point{
                3 * (u * u * (p1.x - p0.x) + 2 * u * t * (p2.x - p1.x) + t * t * (p3.x - p2.x)),
                3 * (u * u * (p1.y - p0.y) + 2 * u * t * (p2.y - p1.y) + t * t * (p3.y - p2.y))};
        };
        constexpr int kPieces = 8;
        constexpr double h = 1.0 / kPieces;
        for (int i = 0; i < kPieces; ++i) {
            const double t0 = i * h, t1 = t0 + h;
            const Point a = point(t0), b = point(t1), da = slope(t0), db = slope(t1),
                        mid = slope(t0 + h / 2);
            canvas.curve(at(a), at({a.x + da.x * h / 3, a.y + da.y * h / 3}),
                         at({b.x - db.x * h / 3, b.y - db.y * h / 3}), at(b), across(mid.x, mid.y),
                         kInk);
        }
    }
    void dot(Point centre, double rx, double ry) const {
        const Point c = at(centre);
        canvas.fillEllipse({c.x - rx * sx, c.y - ry * sy, 2 * rx * sx, 2 * ry * sy}, kInk);
    }
};

// G clef, its curl round the G line; narrower than engraved, to leave a sharp room.
void drawTrebleClef(Canvas& canvas, Point gLine) {
    const ClefPen pen{canvas, gLine, kStaffSpace * 0.68, kStaffSpace * 0.92, 0.2};
    pen.curve({0.12, -0.45}, {-0.55, -0.4}, {-0.5, 0.55}, {0.2, 0.6});
    pen.curve({0.2, 0.6}, {1.0, 0.62}, {1.15, -0.75}, {0.3, -0.95});
    pen.curve({0.3, -0.95}, {-0.65, -1.2}, {-0.95, -1.95}, {0.05, -2.85});
    pen.curve({0.05, -2.85}, {0.6, -3.35}, {0.72, -4.25}, {0.35, -4.35});
    pen.curve({0.35, -4.35}, {-0.05, -4.45}, {-0.22, -3.6}, {-0.1, -3.0});
    pen.line({-0.1, -3.0}, {0.38, 1.6});
    pen.curve({0.38, 1.6}, {0.45, 2.25}, {-0.3, 2.35}, {-0.38, 1.95});
    pen.dot({-0.2, 1.9}, 0.32, 0.24);
}

// F clef: the head on the F line, the curve to the right and down, a dot either side of the
// F line.
void drawBassClef(Canvas& canvas, Point fLine) {
    const ClefPen pen{canvas, fLine, kStaffSpace * 0.56, kStaffSpace * 0.8, 0.22};
    pen.dot({0.42, 0.0}, 0.43, 0.3);
    pen.curve({0.08, -0.05}, {0.1, -0.95}, {1.75, -1.05}, {1.75, 0.05});
    pen.curve({1.75, 0.05}, {1.75, 1.25}, {0.85, 2.2}, {0.0, 2.6});
    pen.dot({2.25, -0.5}, 0.23, 0.16);
    pen.dot({2.25, 0.5}, 0.23, 0.16);
}

}  // namespace

void drawNoteButton(Canvas& canvas, std::string_view name, bool bassClef) {
    const Size size = kNotePictureSize;
    canvas.fillRect({0, 0, size.width, size.height}, Color::white());
    // Treble's bottom line is E0; bass's is G two octaves and a sixth lower, and the bass
    // staff shows each note two octaves below its name. The lowest ledger line lies a space
    // above the picture's bottom edge.
    const int bottomStep = bassClef ? -10 : 2;
    const int position = diatonicStep(name) - (bassClef ? 14 : 0) - bottomStep + 4;
    const StaffLines staff{(kMiddleLinePosition + 2) * kStaffSpace / 2, kStaffSpace};

    const double left = 0.6, right = size.width - 0.6;
    for (int line = 4; line <= 12; line += 2) staffLine(canvas, left, right, staff.y(line));
    if (bassClef) {
        drawBassClef(canvas, {0.7, staff.y(10)});
    } else {
        drawTrebleClef(canvas, {4.9, staff.y(6)});
    }

    // Stems go down from notes on or above the middle line: "2" is the quarter note with its
    // stem up, "B" with its stem down.
    const std::string note = position >= kMiddleLinePosition ? "B" : "2";
    const Rect head =
        canvas.textInk(note, kNotationFontFamily, kNotationFontSize, kNotationKerning);
    // The head ends close to the right edge, leaving the clef and the sharp room on its left.
    const double noteX = right - 0.3 - (head.x + head.width);
    const double ledgerLeft = noteX + head.x - 1.6, ledgerRight = noteX + head.x + head.width + 1.6;
    for (int p = 2; p >= position; p -= 2) staffLine(canvas, ledgerLeft, ledgerRight, staff.y(p));
    for (int p = 14; p <= position; p += 2) staffLine(canvas, ledgerLeft, ledgerRight, staff.y(p));

    const double box = staff.glyphBox(position);
    if (name.size() == 3) {
        // The font puts a sharp before a note when "." leads the string; move the pair left
        // so its note lands where the plain note would.
        const std::string withSharp = "." + note;
        const Rect pair =
            canvas.textInk(withSharp, kNotationFontFamily, kNotationFontSize, kNotationKerning);
        const double shift = (pair.x + pair.width) - (head.x + head.width);
        canvas.text({noteX - shift, box}, withSharp, kNotationFontFamily, kNotationFontSize,
                    kNotationKerning, kInk);
    } else {
        canvas.text({noteX, box}, note, kNotationFontFamily, kNotationFontSize, kNotationKerning,
                    kInk);
    }
}

}  // namespace sorvel
