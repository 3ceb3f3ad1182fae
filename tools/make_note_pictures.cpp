// Writes the note button pictures of the phrase builder, two per editor note name:
//   <folder>/S_<name>.png  the note on a treble staff
//   <folder>/H_<name>.png  the note on a bass staff, two octaves lower
// Staff lines, ledger lines and clefs are drawn here; the note head (and its sharp) comes from
// the notation font, so the buttons look like the score.
//
// The buttons show the pictures at 26 x 56 points; they are drawn at four times that size.
// Usage: make_note_pictures <notation font .ttf> <output folder>

#include <QDir>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSaveFile>
#include <cstddef>
#include <string>
#include <string_view>

#include "model/diagnostics.h"
#include "scaleedit/phrase_builder.h"

namespace {

using sorvel::phrase::Clef;

constexpr int kScale = 4;
constexpr int kWidth = 26 * kScale;
constexpr int kHeight = 56 * kScale;

// The font's own measure: at 44 px one staff space is 7 px and the note head sits centred
// half a pixel above the baseline. Everything below is drawn in these units.
constexpr double kFontPixels = 44.0;
constexpr double kFontSpacing = -5.0;
constexpr double kSpace = 7.0;
constexpr double kHeadAboveBaseline = 0.5;
// Nine staff spaces fill the picture's height: room for two ledger lines below the staff and
// one above, and for the stems and the clef's reach.
constexpr double kSpacesHigh = 9.0;
constexpr double kUnit = kHeight / (kSpacesHigh * kSpace);  // picture pixels per font pixel
constexpr double kLogicalWidth = kWidth / kUnit;
constexpr double kLogicalHeight = kHeight / kUnit;

const QColor kInk(0x10, 0x10, 0x10);

// Diatonic steps above C0 ("C0" = 0, "D0" = 1, ... "C1" = 7); the sharp does not move it.
int diatonicStep(std::string_view name) {
    static constexpr std::string_view kLetters = "CDEFGAB";
    return static_cast<int>(kLetters.find(name[0])) + 7 * (name[1] - '0');
}

// The staff in steps: treble's bottom line is E0; bass's is G two octaves and a sixth lower,
// and the bass staff shows each note two octaves below its name, in its own register.
struct Staff {
    int bottom;  // step of the bottom line
    int shift;   // steps added to a name's step
};

Staff staffOf(Clef clef) {
    return clef == Clef::Treble ? Staff{2, 0} : Staff{-10, -14};
}

// Two steps below the lowest note's two ledger lines lie at the picture's bottom edge.
double yOfStep(const Staff& staff, int step) {
    const int lowest = staff.bottom - 6;
    return kLogicalHeight - (step - lowest) * kSpace / 2.0;
}

// G clef, its curl round the G line (second line), in staff spaces with y downwards and
// the origin on that line.
QPainterPath trebleClefPath() {
    QPainterPath p;
    p.moveTo(0.12, -0.45);
    p.cubicTo(-0.55, -0.4, -0.5, 0.55, 0.2, 0.6);
    p.cubicTo(1.0, 0.62, 1.15, -0.75, 0.3, -0.95);
    p.cubicTo(-0.65, -1.2, -0.95, -1.95, 0.05, -2.85);
    p.cubicTo(0.6, -3.35, 0.72, -4.25, 0.35, -4.35);
    p.cubicTo(-0.05, -4.45, -0.22, -3.6, -0.1, -3.0);
    p.lineTo(0.38, 1.6);
    p.cubicTo(0.45, 2.25, -0.3, 2.35, -0.38, 1.95);
    return p;
}

void drawTrebleClef(QPainter& painter, double x, double gLineY) {
    painter.save();
    painter.translate(x, gLineY);
    // Narrower than engraved, to leave a sharp room in a button.
    painter.scale(kSpace * 0.68, kSpace * 0.92);
    QPen pen(kInk, 0.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(trebleClefPath());
    painter.setPen(Qt::NoPen);
    painter.setBrush(kInk);
    painter.drawEllipse(QPointF(-0.2, 1.9), 0.32, 0.24);
    painter.restore();
}

// F clef: the head on the F line (fourth line), the curve to the right and down, the two
// dots either side of the F line.
void drawBassClef(QPainter& painter, double x, double fLineY) {
    painter.save();
    painter.translate(x, fLineY);
    painter.scale(kSpace * 0.56, kSpace * 0.8);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kInk);
    painter.drawEllipse(QPointF(0.42, 0.0), 0.43, 0.3);
    QPainterPath curve;
    curve.moveTo(0.08, -0.05);
    curve.cubicTo(0.1, -0.95, 1.75, -1.05, 1.75, 0.05);
    curve.cubicTo(1.75, 1.25, 0.85, 2.2, 0.0, 2.6);
    painter.setPen(QPen(kInk, 0.22, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(curve);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kInk);
    painter.drawEllipse(QPointF(2.25, -0.5), 0.23, 0.16);
    painter.drawEllipse(QPointF(2.25, 0.5), 0.23, 0.16);
    painter.restore();
}

QFont notationFont(const QString& family) {
    QFont font(family);
    font.setPixelSize(static_cast<int>(kFontPixels));
    font.setLetterSpacing(QFont::AbsoluteSpacing, kFontSpacing);
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

// The outline of a glyph string drawn with its origin at (0, 0).
QRectF inkBounds(const QFont& font, const QString& text) {
    QPainterPath path;
    path.addText(QPointF(0, 0), font, text);
    return path.boundingRect();
}

QImage drawNote(const QFont& font, std::string_view name, Clef clef) {
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(kUnit, kUnit);

    const Staff staff = staffOf(clef);
    const int step = diatonicStep(name) + staff.shift;
    const double left = 0.6, right = kLogicalWidth - 0.6;

    painter.setPen(QPen(kInk, 0.8));
    for (int line = 0; line < 5; ++line) {
        const double y = yOfStep(staff, staff.bottom + 2 * line);
        painter.drawLine(QPointF(left, y), QPointF(right, y));
    }

    if (clef == Clef::Treble) {
        drawTrebleClef(painter, 4.9, yOfStep(staff, staff.bottom + 2));
    } else {
        drawBassClef(painter, 0.7, yOfStep(staff, staff.bottom + 6));
    }

    // Stems go down from notes on or above the middle line: "2" is the quarter note with its
    // stem up, "B" with its stem down.
    const bool stemDown = step >= staff.bottom + 4;
    const QString note = stemDown ? QStringLiteral("B") : QStringLiteral("2");
    const bool sharp = name.size() == 3;
    const QRectF head = inkBounds(font, note);
    // The head ends close to the right edge, leaving the clef and the sharp room on its left.
    const double noteX = right - 0.3 - head.right();
    const double baseline = yOfStep(staff, step) + kHeadAboveBaseline;

    painter.setPen(QPen(kInk, 0.8));
    const double ledgerLeft = noteX + head.left() - 1.6, ledgerRight = noteX + head.right() + 1.6;
    for (int s = staff.bottom - 2; s >= step; s -= 2) {
        const double y = yOfStep(staff, s);
        painter.drawLine(QPointF(ledgerLeft, y), QPointF(ledgerRight, y));
    }
    for (int s = staff.bottom + 10; s <= step; s += 2) {
        const double y = yOfStep(staff, s);
        painter.drawLine(QPointF(ledgerLeft, y), QPointF(ledgerRight, y));
    }

    painter.setFont(font);
    painter.setPen(kInk);
    if (sharp) {
        // The font puts a sharp before a note when "." leads the string; move the pair left
        // so its note lands where the plain note would.
        const QString withSharp = QStringLiteral(".") + note;
        const double shift = inkBounds(font, withSharp).right() - head.right();
        painter.drawText(QPointF(noteX - shift, baseline), withSharp);
    } else {
        painter.drawText(QPointF(noteX, baseline), note);
    }
    painter.end();
    return image;
}

bool savePng(const QImage& image, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit()) {
        sorvel::diag("make_note_pictures: cannot write " + path.toStdString());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    // Text needs a GUI application, but never a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QStringList args = QGuiApplication::arguments();
    if (args.size() != 3 || args[1].startsWith('-') || args[2].startsWith('-')) {
        sorvel::diag("usage: make_note_pictures <notation font .ttf> <output folder>");
        return 2;
    }
    const int id = QFontDatabase::addApplicationFont(args[1]);
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (id < 0 || families.isEmpty()) {
        sorvel::diag("make_note_pictures: cannot load the notation font " + args[1].toStdString());
        return 1;
    }
    const QFont font = notationFont(families.first());
    if (QFontInfo(font).family() != families.first()) {
        sorvel::diag("make_note_pictures: the notation font does not resolve");
        return 1;
    }
    if (!QDir().mkpath(args[2])) {
        sorvel::diag("make_note_pictures: cannot create " + args[2].toStdString());
        return 1;
    }
    const QDir folder(args[2]);
    for (std::size_t i = 0; i < sorvel::phrase::kNoteButtons; ++i) {
        for (const Clef clef : {Clef::Treble, Clef::Bass}) {
            const std::string file = sorvel::phrase::noteButtonImage(i, clef);
            const QImage image = drawNote(font, sorvel::phrase::cdArr[i], clef);
            if (!savePng(image, folder.filePath(QString::fromStdString(file)))) return 1;
        }
    }
    return 0;
}
