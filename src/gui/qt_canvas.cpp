#include "qt_canvas.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QImageReader>
#include <QPainterPath>
#include <QPen>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

#include "model/diagnostics.h"
#include "view/button_pictures.h"

namespace sorvel::gui {

namespace {
QColor toQColor(Color c) {
    return QColor(c.r, c.g, c.b, c.a);
}
}  // namespace

PictureCache& PictureCache::instance() {
    static PictureCache cache;
    return cache;
}

QPixmap PictureCache::scaled(const QString& path, QSize deviceSize) {
    const QString key = path + QLatin1Char('@') + QString::number(deviceSize.width()) +
                        QLatin1Char('x') + QString::number(deviceSize.height());
    auto hit = scaled_.constFind(key);
    if (hit != scaled_.constEnd()) return *hit;

    QPixmap picture;
    QImageReader reader(path);
    const QSize full = reader.size();
    if (full.width() > kMaxSide || full.height() > kMaxSide) {
        diag("The picture " + path.toStdString() + " is too large to draw (" +
             std::to_string(full.width()) + "x" + std::to_string(full.height()) + " pixels).");
    } else if (!deviceSize.isEmpty() && reader.canRead()) {
        // Decode at the drawn size where the format can, and scale smoothly to fit.
        const QSize fit = full.isValid() ? full.scaled(deviceSize, Qt::KeepAspectRatio) : QSize();
        if (fit.isValid() && fit.width() * 2 <= full.width()) reader.setScaledSize(fit * 2);
        const QImage image = reader.read();
        if (!image.isNull()) {
            picture = QPixmap::fromImage(
                image.scaled(deviceSize, Qt::KeepAspectRatio, Qt::SmoothTransformation));
        }
    }
    const qint64 bytes = qint64(picture.width()) * picture.height() * 4;
    evictFor(bytes);
    held_ += bytes;
    order_.append(key);
    scaled_.insert(key, picture);
    return picture;
}

void PictureCache::evictFor(qint64 bytes) {
    while (held_ + bytes > kBudgetBytes && !order_.isEmpty()) {
        const QPixmap old = scaled_.take(order_.takeFirst());
        held_ -= qint64(old.width()) * old.height() * 4;
    }
}

QtCanvas::QtCanvas(QPainter& painter, double viewHeight) : painter_(painter), height_(viewHeight) {}

void QtCanvas::fillRect(const Rect& r, Color c) {
    painter_.fillRect(toQt(r), toQColor(c));
}

void QtCanvas::strokeRect(const Rect& r, Color c, double lineWidth) {
    QPen pen(toQColor(c));
    pen.setWidthF(lineWidth);
    pen.setJoinStyle(Qt::MiterJoin);
    painter_.setPen(pen);
    painter_.setBrush(Qt::NoBrush);
    // Keep the whole stroke inside the rectangle, as a frame drawn over a view's bounds.
    const double h = lineWidth / 2;
    painter_.drawRect(toQt(r).adjusted(h, h, -h, -h));
}

void QtCanvas::line(Point from, Point to, double lineWidth, Color c, std::optional<Dash> dash) {
    QPen pen(toQColor(c));
    pen.setWidthF(lineWidth);
    pen.setCapStyle(Qt::FlatCap);
    if (dash && lineWidth > 0) {
        pen.setDashPattern({dash->on / lineWidth, dash->off / lineWidth});
        pen.setDashOffset(dash->phase / lineWidth);
    }
    painter_.setPen(pen);
    painter_.drawLine(toQt(from), toQt(to));
}

void QtCanvas::fillEllipse(const Rect& r, Color c) {
    // Round even where the staff draws its lines without antialiasing.
    painter_.save();
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(QColor(c.r, c.g, c.b, c.a));
    painter_.drawEllipse(toQt(r));
    painter_.restore();
}

void QtCanvas::image(const Rect& r, const std::string& path) {
    const QRectF target = toQt(r);
    // Pictures are decoded at the resolution they land on: a printer's or PDF's painter is
    // scaled from points to its own, finer, units.
    const qreal scale = std::max(std::abs(painter_.worldTransform().m11()), 1e-6);
    const qreal dpr = (painter_.device() ? painter_.device()->devicePixelRatioF() : 1.0) * scale;
    const QSize deviceSize(qRound(target.width() * dpr), qRound(target.height() * dpr));
    const QPixmap pm = PictureCache::instance().scaled(QString::fromStdString(path), deviceSize);
    if (pm.isNull()) return;
    // Centre the picture in the rectangle, keeping its proportions.
    const QSizeF logical(pm.width() / dpr, pm.height() / dpr);
    const QPointF topLeft(target.x() + (target.width() - logical.width()) / 2,
                          target.y() + (target.height() - logical.height()) / 2);
    painter_.drawPixmap(QRectF(topLeft, logical), pm, QRectF(pm.rect()));
}

void QtCanvas::polyline(const std::vector<Point>& points, double lineWidth, Color c) {
    if (points.size() < 2) return;
    QPainterPath path(toQt(points.front()));
    for (std::size_t i = 1; i < points.size(); ++i) path.lineTo(toQt(points[i]));
    QPen pen(toQColor(c));
    pen.setWidthF(lineWidth);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    painter_.setPen(pen);
    painter_.setBrush(Qt::NoBrush);
    painter_.drawPath(path);
}

void QtCanvas::curve(Point from, Point control1, Point control2, Point to, double lineWidth,
                     Color c) {
    QPainterPath path(toQt(from));
    path.cubicTo(toQt(control1), toQt(control2), toQt(to));
    QPen pen(toQColor(c));
    pen.setWidthF(lineWidth);
    pen.setCapStyle(Qt::RoundCap);
    painter_.setPen(pen);
    painter_.setBrush(Qt::NoBrush);
    painter_.drawPath(path);
}

const QtCanvas::FontEntry& QtCanvas::fontFor(const std::string& family, double size,
                                             double kerning) {
    static std::map<std::tuple<std::string, double, double>, FontEntry> fonts;
    auto key = std::make_tuple(family, size, kerning);
    auto it = fonts.find(key);
    if (it != fonts.end()) return it->second;
    QFont font(QString::fromStdString(family));
    font.setPixelSize(qMax(1, qRound(size)));
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setLetterSpacing(QFont::AbsoluteSpacing, kerning);
    font.setKerning(false);
    const double descent = QFontMetricsF(font).descent();
    return fonts.emplace(key, FontEntry{font, descent}).first->second;
}

void QtCanvas::text(Point at, const std::string& text, const std::string& fontFamily, double size,
                    double kerning, Color c) {
    if (text.empty() || text == " ") return;
    const FontEntry& entry = fontFor(fontFamily, size, kerning);
    painter_.setFont(entry.font);
    painter_.setPen(toQColor(c));
    // `at` is the bottom of the line box: the baseline lies the font's descent above it.
    const double baseline = height_ - (at.y + entry.descent);
    const QString str = QString::fromStdString(text);
    if (!oneByOne_ || kerning == 0) {
        painter_.drawText(QPointF(at.x, baseline), str);
        return;
    }
    // The whole text is shaped at once, so the font's contextual forms stay (a "." after a
    // rest is its dot, not a sharp); then every glyph moves by the spacing of those before it.
    QTextLayout layout(str, fontFor(fontFamily, size, 0).font);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (line.isValid()) line.setNumColumns(str.size());
    layout.endLayout();
    if (!line.isValid()) return;
    const QList<QGlyphRun> runs = layout.glyphRuns();
    std::vector<double> xs;
    for (const QGlyphRun& run : runs) {
        for (const QPointF& p : run.positions()) xs.push_back(p.x());
    }
    std::sort(xs.begin(), xs.end());
    const QPointF origin(at.x, baseline - line.ascent());
    for (QGlyphRun run : runs) {
        QList<QPointF> positions = run.positions();
        for (QPointF& p : positions) {
            const auto before = std::lower_bound(xs.begin(), xs.end(), p.x()) - xs.begin();
            p.rx() += static_cast<double>(before) * kerning;
        }
        run.setPositions(positions);
        painter_.drawGlyphRun(origin, run);
    }
}

Rect QtCanvas::textInk(const std::string& text, const std::string& fontFamily, double size,
                       double kerning) const {
    const FontEntry& entry = fontFor(fontFamily, size, kerning);
    QPainterPath outline;
    outline.addText(QPointF(0, 0), entry.font, QString::fromStdString(text));
    const QRectF ink = outline.boundingRect();
    // From the baseline, y down, to the bottom of the line box, y up.
    return {ink.x(), entry.descent - ink.bottom(), ink.width(), ink.height()};
}

QImage drawnImage(QSize pixels, Size logical, const std::function<void(Canvas&)>& draw) {
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(pixels.width() / logical.width, pixels.height() / logical.height);
    QtCanvas canvas(painter, logical.height);
    draw(canvas);
    return image;
}

QImage notePicture(std::string_view name, bool bassClef) {
    return drawnImage(QSize(kNoteButtonWidth, kNoteButtonHeight) * kNotePictureScale,
                      kNotePictureSize, [&](Canvas& c) { drawNoteButton(c, name, bassClef); });
}

}  // namespace sorvel::gui
