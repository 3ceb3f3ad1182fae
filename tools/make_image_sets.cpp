// Writes the picture sets of the default set folder, one PNG per pitch name:
//   <folder>/keyboard/<name>.png           a vertical piano strip with the pitch's key marked
//   <folder>/names/<name>.png              the pitch name spelled out large
//   <folder>/recorder/<name>.png           the soprano recorder's fingering (baroque)
//   <folder>/six-string guitar/<name>.png  the string and fret on a guitar in standard tuning
// and, with --icon <file>, the application icon instead. The fingerings come from the tables
// in the folder given as the second argument (tools/instruments).
//
// The staff draws a picture into the lower half of a narrow cell (about 20 x 70 points), scaled
// to fit, so the pictures are tall and narrow and drawn at four times that size; the fingering
// charts at eight times, because a printed page shows them at about 12 x 42 points at 600 dpi.

#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "atomic_file.h"
#include "model/diagnostics.h"
#include "model/notation_tables.h"

namespace {

constexpr int kWidth = 80;
constexpr int kHeight = 280;

const QColor kInk(0x1e, 0x1e, 0x1e);
const QColor kOutline(0x2a, 0x2a, 0x2a);
const QColor kMarked(0xe0, 0x1b, 0x24);
const QColor kMarkedEdge(0x8a, 0x05, 0x0c);
const QColor kBlackKey(0x1a, 0x1a, 0x1a);
const QColor kTrack(0xd4, 0xd4, 0xd4);
const QColor kWindow(0x8c, 0x8c, 0x8c);

// A pitch name taken apart: "A0#" is letter A, octave digit 0, accidental +1.
struct PitchName {
    char letter = 'A';
    std::int64_t octave = 0;
    std::int64_t accidental = 0;  // -1 flat, 0 natural, +1 sharp
};

std::optional<PitchName> parsePitchName(std::string_view name) {
    if (name.size() < 2 || name.size() > 3) return std::nullopt;
    PitchName p;
    p.letter = name[0];
    if (p.letter < 'A' || p.letter > 'G') return std::nullopt;
    if (name[1] < '0' || name[1] > '9') return std::nullopt;
    p.octave = name[1] - '0';
    if (name.size() == 3) {
        if (name[2] == '#') {
            p.accidental = 1;
        } else if (name[2] == 'b') {
            p.accidental = -1;
        } else {
            return std::nullopt;
        }
    }
    return p;
}

// Semitones above A0. The octave digit of a pitch name changes at A, so A is the zero point.
std::int64_t semitonesAboveA0(const PitchName& p) {
    constexpr std::array<std::int64_t, 7> fromA = {0, 2, 3, 5, 7, 8, 10};  // A B C D E F G
    return p.octave * 12 + fromA[static_cast<std::size_t>(p.letter - 'A')] + p.accidental;
}

// Lowest and highest pitch of the table, in semitones above A0 (A0 .. C2).
constexpr std::int64_t kRangeLow = 0;
constexpr std::int64_t kRangeHigh = 27;

// Semitone of C below or at A0: C-based octaves start here.
constexpr std::int64_t kCOffset = 3;

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

// ---------------------------------------------------------------- keyboard

// Semitone within the octave of each white key (C D E F G A B) and of the black key that sits
// above white key i, if any.
constexpr std::array<int, 7> kWhiteSemitone = {0, 2, 4, 5, 7, 9, 11};
constexpr std::array<int, 7> kBlackAbove = {1, 3, -1, 6, 8, 10, -1};

// Draws the octave C..B that holds the pitch as a strip of keys, low at the bottom, black keys
// reaching in from the left, and beside it a gauge of the whole pitch range with the shown octave
// and the pitch marked on it.
QImage drawKeyboard(const PitchName& p) {
    QImage img(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter g(&img);
    g.setRenderHint(QPainter::Antialiasing);

    const std::int64_t semis = semitonesAboveA0(p);
    const std::int64_t fromC = semis - kCOffset;
    const std::int64_t octave = floorDiv(fromC, 12);
    const int key = static_cast<int>(fromC - octave * 12);

    const double margin = 2.0;
    const double gaugeWidth = 10.0;
    const double gap = 4.0;
    const QRectF keys(margin, margin, kWidth - 2 * margin - gaugeWidth - gap, kHeight - 2 * margin);
    const double whiteH = keys.height() / 7.0;
    const double blackH = whiteH * 0.62;
    const double blackW = keys.width() * 0.58;

    // White keys, bottom (C) to top (B).
    const double line = 3.0;
    for (int i = 0; i < 7; ++i) {
        const QRectF r(keys.left(), keys.bottom() - (i + 1) * whiteH, keys.width(), whiteH);
        const bool marked = kWhiteSemitone[static_cast<std::size_t>(i)] == key;
        g.setPen(QPen(marked ? kMarkedEdge : kOutline, line));
        g.setBrush(marked ? kMarked : QColor(Qt::white));
        g.drawRect(r.adjusted(line / 2, line / 2, -line / 2, -line / 2));
    }
    // Black keys over the boundary between white key i and i + 1.
    for (int i = 0; i < 7; ++i) {
        const int semitone = kBlackAbove[static_cast<std::size_t>(i)];
        if (semitone < 0) continue;
        const double boundary = keys.bottom() - (i + 1) * whiteH;
        const QRectF r(keys.left(), boundary - blackH / 2, blackW, blackH);
        const bool marked = semitone == key;
        g.setPen(QPen(marked ? kMarkedEdge : kBlackKey, line));
        g.setBrush(marked ? kMarked : kBlackKey);
        g.drawRect(r.adjusted(line / 2, 0, 0, 0));
    }

    // Range gauge: the whole table A0..C2, the shown octave and the pitch itself.
    const QRectF track(kWidth - margin - gaugeWidth, margin, gaugeWidth, kHeight - 2 * margin);
    const double slotCount = static_cast<double>(kRangeHigh - kRangeLow + 1);
    const double slotH = track.height() / slotCount;
    auto slotTop = [&](std::int64_t s) { return track.bottom() - (s - kRangeLow + 1) * slotH; };
    g.setPen(Qt::NoPen);
    g.setBrush(kTrack);
    g.drawRoundedRect(track, 3, 3);
    const std::int64_t windowLow = std::max(kRangeLow, octave * 12 + kCOffset);
    const std::int64_t windowHigh = std::min(kRangeHigh, octave * 12 + kCOffset + 11);
    g.setBrush(kWindow);
    g.drawRoundedRect(
        QRectF(track.left(), slotTop(windowHigh), gaugeWidth, (windowHigh - windowLow + 1) * slotH),
        3, 3);
    const double tickH = std::max(slotH, 12.0);
    const double tickCentre = slotTop(semis) + slotH / 2;
    g.setBrush(kMarked);
    g.setPen(QPen(kMarkedEdge, 1.5));
    g.drawRect(QRectF(track.left() - 1, tickCentre - tickH / 2, gaugeWidth + 2, tickH));
    return img;
}

// ---------------------------------------------------------------- names

// Fills a path scaled by s and centred in box.
void fillCentred(QPainter& g, const QPainterPath& path, double s, const QRectF& box,
                 const QColor& colour) {
    const QRectF b = path.boundingRect();
    QTransform t;
    t.translate(box.center().x(), box.center().y());
    t.scale(s, s);
    t.translate(-b.center().x(), -b.center().y());
    g.fillPath(t.map(path), colour);
}

// A sharp in the unit box (0,0)-(1,1), y down: two upright strokes, two bars rising to the right.
QPainterPath sharpPath() {
    QPainterPath p;
    p.setFillRule(Qt::WindingFill);
    const double stem = 0.12;
    p.addRect(QRectF(0.30 - stem / 2, 0.06, stem, 0.94));
    p.addRect(QRectF(0.70 - stem / 2, 0.0, stem, 0.94));
    const double bar = 0.13;
    const double rise = 0.12;
    for (double y : {0.30, 0.62}) {
        QPolygonF quad;
        quad << QPointF(0.0, y + rise / 2) << QPointF(1.0, y - rise / 2)
             << QPointF(1.0, y - rise / 2 + bar) << QPointF(0.0, y + rise / 2 + bar);
        p.addPolygon(quad);
        p.closeSubpath();
    }
    return p;
}

// A flat in the unit box (0,0)-(0.62,1), y down: a tall stem and a bowl ending in a point.
QPainterPath flatPath() {
    const double stem = 0.12;
    QPainterPath p;
    p.setFillRule(Qt::WindingFill);
    p.addRect(QRectF(0.0, 0.0, stem, 1.0));
    QPainterPath bowl;
    bowl.moveTo(stem * 0.5, 0.64);
    bowl.cubicTo(0.25, 0.48, 0.62, 0.46, 0.56, 0.66);
    bowl.cubicTo(0.52, 0.80, 0.30, 0.90, stem * 0.5, 0.99);
    QPainterPathStroker stroker;
    stroker.setWidth(0.13);
    stroker.setCapStyle(Qt::FlatCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    p.addPath(stroker.createStroke(bowl));
    return p;
}

struct NameFonts {
    QFont letters;
    double letterScale = 1.0;
    QFont digits;
    double digitScale = 1.0;
};

// One scale for all letters (and one for all digits), so every picture has the same cap height.
double commonScale(const QFont& font, std::string_view chars, const QSizeF& box) {
    double w = 0;
    double h = 0;
    for (char c : chars) {
        QPainterPath path;
        path.addText(0, 0, font, QString(QChar(c)));
        w = std::max(w, path.boundingRect().width());
        h = std::max(h, path.boundingRect().height());
    }
    if (w <= 0 || h <= 0) return 0;
    return std::min(box.width() / w, box.height() / h);
}

const QRectF kLetterBox(4, 8, 72, 118);
const QRectF kAccidentalBox(14, 140, 52, 78);
const QRectF kOctaveBox(22, 228, 36, 44);

QImage drawName(const PitchName& p, const NameFonts& fonts) {
    QImage img(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter g(&img);
    g.setRenderHint(QPainter::Antialiasing);

    QPainterPath letter;
    letter.addText(0, 0, fonts.letters, QString(QChar(p.letter)));
    fillCentred(g, letter, fonts.letterScale, kLetterBox, kInk);

    if (p.accidental > 0) {
        fillCentred(g, sharpPath(), kAccidentalBox.height(), kAccidentalBox, kInk);
    } else if (p.accidental < 0) {
        fillCentred(g, flatPath(), kAccidentalBox.height(), kAccidentalBox, kInk);
    }

    // The octave digit of the name, framed so that it does not read as part of the spelling.
    const QRectF frame = kOctaveBox.adjusted(-6, -4, 6, 4);
    g.setPen(QPen(kWindow, 3));
    g.setBrush(Qt::NoBrush);
    g.drawRoundedRect(frame, 8, 8);
    QPainterPath digit;
    digit.addText(0, 0, fonts.digits, QString(QChar('0' + static_cast<int>(p.octave))));
    fillCentred(g, digit, fonts.digitScale, kOctaveBox, QColor(0x50, 0x50, 0x50));
    return img;
}

// ---------------------------------------------------------------- fingering tables

enum class Hole { Open, Closed, Half };

// A recorder fingering: the thumb hole, then the front holes 1 (top) to 7. The notes below
// the instrument's range have none.
struct RecorderFingering {
    bool playable = false;
    std::array<Hole, 8> holes{};
};

struct GuitarPosition {
    int string = 0;  // 6 is the low E string, 1 the high E string
    int fret = 0;    // 0 is the open string
};

struct FingeringTables {
    std::map<std::string, RecorderFingering, std::less<>> recorder;
    std::map<std::string, GuitarPosition, std::less<>> guitar;
};

constexpr int kHighestFret = 12;

bool tableError(const QString& where, const QString& what) {
    sorvel::diag("make_image_sets: " + where.toStdString() + ": " + what.toStdString());
    return false;
}

// The rows of a table file cut at commas, keyed by their first field; the first line must
// name the columns. Fields past those columns (a comment) are kept as they come.
using CsvRows = std::map<std::string, QStringList, std::less<>>;

std::optional<CsvRows> readCsv(const QString& path, const QStringList& columns) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        tableError(path, file.errorString());
        return std::nullopt;
    }
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    if (lines.first().trimmed().split(QLatin1Char(',')).mid(0, columns.size()) != columns) {
        tableError(path, QStringLiteral("the first line must name the columns ") +
                             columns.join(QLatin1Char(',')));
        return std::nullopt;
    }
    CsvRows rows;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty()) continue;
        const QStringList fields = line.split(QLatin1Char(','));
        const QString where = path + QLatin1Char(':') + QString::number(i + 1);
        if (fields.size() < columns.size()) {
            tableError(where, QStringLiteral("fewer fields than columns"));
            return std::nullopt;
        }
        if (!rows.emplace(fields[0].toStdString(), fields).second) {
            tableError(where, fields[0] + QStringLiteral(" has a row already"));
            return std::nullopt;
        }
    }
    return rows;
}

bool readRecorderRow(const QString& path, const QStringList& row, RecorderFingering& out) {
    const QString where = path + QStringLiteral(", ") + row[0];
    out.playable = row[2] == QLatin1String("yes");
    if (!out.playable && row[2] != QLatin1String("no")) {
        return tableError(where, QStringLiteral("playable must be yes or no"));
    }
    if (!out.playable) return true;
    for (std::size_t i = 0; i < out.holes.size(); ++i) {
        const QString& state = row[3 + static_cast<qsizetype>(i)];
        if (state == QLatin1String("closed")) {
            out.holes[i] = Hole::Closed;
        } else if (state == QLatin1String("open")) {
            out.holes[i] = Hole::Open;
        } else if (state == QLatin1String("half") && (i == 0 || i >= 6)) {
            // A pinched thumb, or one of the two small holes of 6 or 7.
            out.holes[i] = Hole::Half;
        } else {
            return tableError(where, QStringLiteral("hole state \"") + state +
                                         QStringLiteral("\" cannot be drawn"));
        }
    }
    return true;
}

bool readGuitarRow(const QString& path, const QStringList& row, GuitarPosition& out) {
    bool stringOk = false;
    bool fretOk = false;
    out.string = row[2].toInt(&stringOk);
    out.fret = row[3].toInt(&fretOk);
    if (!stringOk || !fretOk || out.string < 1 || out.string > 6 || out.fret < 0 ||
        out.fret > kHighestFret) {
        return tableError(
            path + QStringLiteral(", ") + row[0],
            QStringLiteral("string must be 1 to 6 and fret 0 to ") + QString::number(kHighestFret));
    }
    return true;
}

// Both tables, with a row for every pitch name.
std::optional<FingeringTables> readFingeringTables(const QString& folder) {
    const QString recorderPath = folder + QStringLiteral("/recorder_soprano_baroque.csv");
    const QString guitarPath = folder + QStringLiteral("/guitar_standard.csv");
    const std::optional<CsvRows> recorder =
        readCsv(recorderPath,
                {"name", "written", "playable", "thumb", "h1", "h2", "h3", "h4", "h5", "h6", "h7"});
    const std::optional<CsvRows> guitar =
        readCsv(guitarPath, {"name", "written", "string", "fret"});
    if (!recorder || !guitar) return std::nullopt;

    FingeringTables tables;
    for (std::string_view name : sorvel::tables::noteArr) {
        const auto r = recorder->find(name);
        const auto g = guitar->find(name);
        if (r == recorder->end() || g == guitar->end()) {
            tableError(r == recorder->end() ? recorderPath : guitarPath,
                       QStringLiteral("no row for ") +
                           QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
            return std::nullopt;
        }
        if (!readRecorderRow(recorderPath, r->second, tables.recorder[std::string(name)]) ||
            !readGuitarRow(guitarPath, g->second, tables.guitar[std::string(name)])) {
            return std::nullopt;
        }
    }
    return tables;
}

// ---------------------------------------------------------------- fingering charts

// The charts are laid out in units of the staff's picture cell (20 x 70 points) and drawn at
// eight pixels a unit, so each stroke of a unit still covers a whole pixel on the staff.
constexpr double kChartScale = 8.0;
constexpr int kChartWidth = 160;
constexpr int kChartHeight = 560;

const QColor kBody(0xd6, 0xd6, 0xd6);
const QColor kFaint(0xb0, 0xb0, 0xb0);
const QColor kString(0x5a, 0x5a, 0x5a);

// A transparent picture with its painter in chart units.
struct Chart {
    Chart() : image(kChartWidth, kChartHeight, QImage::Format_ARGB32_Premultiplied) {
        image.fill(Qt::transparent);
        g.begin(&image);
        g.setRenderHint(QPainter::Antialiasing);
        g.scale(kChartScale, kChartScale);
    }
    QImage done() {
        g.end();
        return image;
    }
    QImage image;
    QPainter g;
};

// A hole of outer radius r: a ring, covered (filled) or open (white inside).
void drawHole(QPainter& g, QPointF c, double r, bool covered, const QColor& ink = kInk) {
    constexpr double ring = 1.0;
    g.setPen(QPen(ink, ring));
    g.setBrush(covered ? ink : QColor(Qt::white));
    g.drawEllipse(c, r - ring / 2, r - ring / 2);
}

// A pinched thumb: covered but for a small opening at the top of the hole.
void drawPinchedHole(QPainter& g, QPointF c, double r) {
    drawHole(g, c, r, true);
    QPainterPath inside;
    inside.addEllipse(c, r - 1.0, r - 1.0);
    QPainterPath top;
    top.addRect(QRectF(c.x() - r, c.y() - r, 2 * r, r * 0.9));
    g.fillPath(inside.intersected(top), Qt::white);
}

// Recorder: the front holes in a column on the body, the thumb hole (at the back) set apart
// above and to its left, double holes 6 and 7 as pairs of small holes.
constexpr double kColumnX = 13.0;
constexpr double kHoleR = 3.4;
constexpr double kSmallR = 2.4;
constexpr double kSmallOffset = 2.9;
constexpr double kThumbR = 3.2;
constexpr QPointF kThumb(3.6, 7.0);
constexpr std::array<double, 7> kHoleY = {12.5, 21.0, 29.5, 40.5, 49.0, 57.5, 66.0};

QImage drawRecorder(const RecorderFingering& f) {
    Chart chart;
    QPainter& g = chart.g;
    g.setPen(Qt::NoPen);
    g.setBrush(kBody);
    g.drawRoundedRect(QRectF(7.3, 3.0, 11.4, 66.5), 4, 4);
    // Left hand above the line, right hand below.
    g.setPen(QPen(kWindow, 0.5));
    g.drawLine(QPointF(8.3, 35.0), QPointF(17.7, 35.0));

    const QColor ink = f.playable ? kInk : kFaint;
    auto state = [&](std::size_t i) { return f.playable ? f.holes[i] : Hole::Open; };
    if (state(0) == Hole::Half) {
        drawPinchedHole(g, kThumb, kThumbR);
    } else {
        drawHole(g, kThumb, kThumbR, state(0) == Hole::Closed, ink);
    }
    for (std::size_t i = 1; i <= 7; ++i) {
        const QPointF c(kColumnX, kHoleY[i - 1]);
        if (i < 6) {
            drawHole(g, c, kHoleR, state(i) == Hole::Closed, ink);
            continue;
        }
        // Half covering a double hole closes one of its two small holes.
        const QPointF side(kSmallOffset, 0);
        drawHole(g, c - side, kSmallR, state(i) != Hole::Open, ink);
        drawHole(g, c + side, kSmallR, state(i) == Hole::Closed, ink);
    }
    if (!f.playable) {
        // No fingering: a prohibition sign over the faint instrument.
        const QPointF c(10.0, 36.0);
        const double r = 7.6;
        g.setPen(QPen(kMarked, 2.2));
        g.setBrush(Qt::white);
        g.drawEllipse(c, r, r);
        const double d = r * std::sqrt(0.5);
        g.drawLine(c + QPointF(-d, -d), c + QPointF(d, d));
    }
    return chart.done();
}

// Guitar: a fretboard seen from the front, low E on the left, four fret spaces below the nut
// (or, for a note higher up, below a fret numbered at the top). The sounding string is red
// with a dot on the fret, or with "0" above the nut when it sounds open.
constexpr double kStringLeft = 2.5;
constexpr double kStringGap = 3.0;
constexpr double kBoardTop = 10.6;
constexpr double kBoardBottom = 68.0;
constexpr int kFretsShown = 4;
const QRectF kLabelBox(0.0, 1.4, 20.0, 6.4);

double stringX(int string) {
    return kStringLeft + (6 - string) * kStringGap;
}

QImage drawGuitar(const GuitarPosition& p, const QFont& digits, double digitScale) {
    Chart chart;
    QPainter& g = chart.g;
    // The fret shown first: 1 below the nut, else 5, 9 ...
    const int first = p.fret <= kFretsShown ? 1 : 5 + (p.fret - 5) / kFretsShown * kFretsShown;
    const double space = (kBoardBottom - kBoardTop) / kFretsShown;
    const double left = stringX(6);
    const double right = stringX(1);

    g.setPen(QPen(kOutline, 0.6, Qt::SolidLine, Qt::FlatCap));
    for (int k = 1; k <= kFretsShown; ++k) {
        const double y = kBoardTop + k * space;
        g.drawLine(QPointF(left, y), QPointF(right, y));
    }
    if (first == 1) {
        g.fillRect(QRectF(left - 0.7, kBoardTop - 1.8, right - left + 1.4, 1.8), kInk);
    } else {
        g.drawLine(QPointF(left, kBoardTop), QPointF(right, kBoardTop));
        QPainterPath label;
        label.addText(0, 0, digits, QString::number(first) + QStringLiteral("fr"));
        const QRectF b = label.boundingRect();
        QTransform t;
        t.translate(kLabelBox.left() + 0.5, kLabelBox.bottom());
        t.scale(digitScale, digitScale);
        t.translate(-b.left(), -b.bottom());
        g.fillPath(t.map(label), kInk);
    }
    for (int s = 6; s >= 1; --s) {
        const bool sounding = s == p.string;
        g.setPen(QPen(sounding ? kMarked : kString, 0.35 + 0.1 * s + (sounding ? 0.5 : 0.0),
                      Qt::SolidLine, Qt::FlatCap));
        g.drawLine(QPointF(stringX(s), kBoardTop), QPointF(stringX(s), kBoardBottom));
    }
    const double x = stringX(p.string);
    if (p.fret == 0) {
        QPainterPath zero;
        zero.addText(0, 0, digits, QStringLiteral("0"));
        fillCentred(g, zero, digitScale, QRectF(x - 2.5, kLabelBox.top(), 5.0, kLabelBox.height()),
                    kMarked);
    } else {
        const double y = kBoardTop + (p.fret - first + 0.5) * space;
        g.setPen(QPen(kMarkedEdge, 0.5));
        g.setBrush(kMarked);
        g.drawEllipse(QPointF(x, y), 2.2, 2.2);
    }
    return chart.done();
}

// ---------------------------------------------------------------- icon

// The icon shows what a score cell shows: a note on a staff above a keyboard picture.
QImage drawIcon() {
    const int size = 256;
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter g(&img);
    g.setRenderHint(QPainter::Antialiasing);

    const QRectF card(12, 12, 232, 232);
    QLinearGradient bg(card.topLeft(), card.bottomLeft());
    bg.setColorAt(0, QColor(0x2b, 0x4c, 0x7e));
    bg.setColorAt(1, QColor(0x16, 0x2a, 0x4a));
    g.setPen(Qt::NoPen);
    g.setBrush(bg);
    g.drawRoundedRect(card, 40, 40);

    // Staff: five lines across the upper part.
    const double left = 34;
    const double right = 222;
    const double space = 15;
    const double top = 58;
    g.setPen(QPen(QColor(0xf4, 0xf4, 0xf4), 4, Qt::SolidLine, Qt::FlatCap));
    for (int k = 0; k < 5; ++k)
        g.drawLine(QPointF(left, top + k * space), QPointF(right, top + k * space));

    // Two beamed eighth notes, heads tilted like engraved ones.
    const QColor noteColour(0xff, 0xd2, 0x4a);
    g.setPen(Qt::NoPen);
    g.setBrush(noteColour);
    auto head = [&](QPointF c) {
        g.save();
        g.translate(c);
        g.rotate(-22);
        g.drawEllipse(QRectF(-15, -10.5, 30, 21));
        g.restore();
    };
    const QPointF h1(92, top + 3 * space);
    const QPointF h2(164, top + 1.5 * space);
    head(h1);
    head(h2);
    const double stemW = 6;
    const double beamTop1 = 38;
    const double beamTop2 = 26;
    g.drawRect(QRectF(h1.x() + 13 - stemW, beamTop1, stemW, h1.y() - beamTop1 - 2));
    g.drawRect(QRectF(h2.x() + 13 - stemW, beamTop2, stemW, h2.y() - beamTop2 - 2));
    QPolygonF beam;
    beam << QPointF(h1.x() + 13 - stemW, beamTop1) << QPointF(h2.x() + 13, beamTop2)
         << QPointF(h2.x() + 13, beamTop2 + 14) << QPointF(h1.x() + 13 - stemW, beamTop1 + 14);
    g.drawPolygon(beam);

    // Keyboard: one octave, the key of the second note marked.
    const QRectF kb(34, 146, 188, 78);
    const double whiteW = kb.width() / 7;
    g.setPen(QPen(QColor(0x16, 0x2a, 0x4a), 3));
    for (int i = 0; i < 7; ++i) {
        g.setBrush(i == 4 ? noteColour : QColor(Qt::white));
        g.drawRect(QRectF(kb.left() + i * whiteW, kb.top(), whiteW, kb.height()));
    }
    g.setBrush(QColor(0x10, 0x10, 0x10));
    for (int i : {0, 1, 3, 4, 5}) {
        const double bw = whiteW * 0.6;
        g.drawRect(QRectF(kb.left() + (i + 1) * whiteW - bw / 2, kb.top(), bw, kb.height() * 0.58));
    }
    return img;
}

// ---------------------------------------------------------------- output

bool savePng(const QImage& img, const QString& path) {
    const auto why = sorvel::gui::writeFileAtomically(
        path, [&](QIODevice& file) { return img.save(&file, "PNG"); });
    if (why) {
        sorvel::diag("make_image_sets: cannot write " + path.toStdString() + ": " +
                     why->toStdString());
        return false;
    }
    return true;
}

// A picture with nothing drawn on it means the drawing went wrong (say, no usable font).
bool hasInk(const QImage& img) {
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            if (qAlpha(img.pixel(x, y)) > 0) return true;
        }
    }
    return false;
}

int writeSets(const QString& folder, const QString& tablesFolder) {
    const std::optional<FingeringTables> fingerings = readFingeringTables(tablesFolder);
    if (!fingerings) return 1;

    NameFonts fonts;
    fonts.letters = QFont(QStringLiteral("DejaVu Sans"));
    fonts.letters.setBold(true);
    fonts.letters.setPixelSize(200);
    fonts.letters.setStyleHint(QFont::SansSerif);
    fonts.digits = fonts.letters;
    fonts.letterScale = commonScale(fonts.letters, "ABCDEFG", kLetterBox.size());
    fonts.digitScale = commonScale(fonts.digits, "0123456789", kOctaveBox.size());
    const double chartDigitScale = commonScale(fonts.digits, "0123456789", kLabelBox.size());
    if (fonts.letterScale <= 0 || fonts.digitScale <= 0 || chartDigitScale <= 0) {
        sorvel::diag("make_image_sets: no font with Latin letters and digits available");
        return 1;
    }

    // The sets sort after "keyboard" and "names": score files store the chosen set as its
    // index in the sorted list of names, so files written before keep their pictures.
    const std::array<QString, 4> dirs = {
        folder + QStringLiteral("/keyboard"), folder + QStringLiteral("/names"),
        folder + QStringLiteral("/recorder"), folder + QStringLiteral("/six-string guitar")};
    for (const QString& dir : dirs) {
        if (!QDir().mkpath(dir)) {
            sorvel::diag("make_image_sets: cannot create " + dir.toStdString());
            return 1;
        }
    }

    int written = 0;
    for (std::string_view name : sorvel::tables::noteArr) {
        const std::optional<PitchName> p = parsePitchName(name);
        if (!p || semitonesAboveA0(*p) < kRangeLow || semitonesAboveA0(*p) > kRangeHigh) {
            sorvel::diag("make_image_sets: unexpected pitch name " + std::string(name));
            return 1;
        }
        const QString file = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())) +
                             QStringLiteral(".png");
        const std::array<QImage, 4> pictures = {
            drawKeyboard(*p), drawName(*p, fonts),
            drawRecorder(fingerings->recorder.find(name)->second),
            drawGuitar(fingerings->guitar.find(name)->second, fonts.digits, chartDigitScale)};
        for (std::size_t i = 0; i < pictures.size(); ++i) {
            if (!hasInk(pictures[i])) {
                sorvel::diag("make_image_sets: empty picture for " + std::string(name));
                return 1;
            }
            if (!savePng(pictures[i], dirs[i] + '/' + file)) return 1;
            ++written;
        }
    }
    sorvel::diag("make_image_sets: " + std::to_string(written) + " pictures in " +
                 folder.toStdString());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // Text needs a GUI application, but never a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QStringList args = QGuiApplication::arguments();
    if (args.size() == 3 && args[1] == QStringLiteral("--icon")) {
        return savePng(drawIcon(), args[2]) ? 0 : 1;
    }
    if (args.size() != 3 || args[1].startsWith('-')) {
        sorvel::diag(
            "usage: make_image_sets <set folder> <fingering tables folder> | make_image_sets "
            "--icon <file.png>");
        return 2;
    }
    return writeSets(args[1], args[2]);
}
