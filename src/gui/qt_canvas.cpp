#include "qt_canvas.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QImageReader>
#include <QMutex>
#include <QPainterPath>
#include <QPen>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>
#include <tuple>

#include "model/diagnostics.h"
#include "view/button_pictures.h"

namespace sorvel::gui {

namespace {
QColor toQColor(Color c) {
    return QColor(c.r, c.g, c.b, c.a);
}

// A decode's result, made on any thread; a problem is said on the GUI thread.
struct Decoded {
    QImage image;
    std::string problem;
};

// Only one picture larger than the cache's whole budget is decoded at full size at a time, so
// the workers together never hold more than one such image.
QMutex largeDecode;

Decoded decodePicture(const QString& path, QSize deviceSize) {
    if (deviceSize.isEmpty()) return {};
    const QByteArray name = QFile::encodeName(path);
    // Checked before opening and again on the open file: opening a FIFO or a device could
    // wait for ever or do something, and non-blocking keeps even a swapped-in FIFO from it.
    struct stat st {};
    if (::stat(name.constData(), &st) != 0) return {};
    const auto notRegular = [&] {
        return Decoded{
            {}, "The picture " + path.toStdString() + " is not a regular file; it is not drawn."};
    };
    if (!S_ISREG(st.st_mode)) return notRegular();
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return {};
    QFile file;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return notRegular();
    }
    QImageReader reader(&file);
    const QSize full = reader.size();
    if (full.width() > PictureCache::kMaxSide || full.height() > PictureCache::kMaxSide) {
        return {{},
                "The picture " + path.toStdString() + " is too large to draw (" +
                    std::to_string(full.width()) + "x" + std::to_string(full.height()) +
                    " pixels)."};
    }
    if (!reader.canRead()) return {};
    std::unique_lock<QMutex> large(largeDecode, std::defer_lock);
    if (qint64(full.width()) * full.height() * 4 > PictureCache::kBudgetBytes &&
        !reader.supportsOption(QImageIOHandler::ScaledSize)) {
        large.lock();
    }
    // Decode at the drawn size where the format can, and scale smoothly to fit.
    const QSize fit = full.isValid() ? full.scaled(deviceSize, Qt::KeepAspectRatio) : QSize();
    if (fit.isValid() && fit.width() * 2 <= full.width()) reader.setScaledSize(fit * 2);
    const QImage image = reader.read();
    if (image.isNull()) return {};
    return {image.scaled(deviceSize, Qt::KeepAspectRatio, Qt::SmoothTransformation), {}};
}

QString cacheKey(const QString& path, QSize deviceSize) {
    return path + QLatin1Char('@') + QString::number(deviceSize.width()) + QLatin1Char('x') +
           QString::number(deviceSize.height());
}

}  // namespace

PictureCache& PictureCache::instance() {
    static PictureCache cache;
    return cache;
}

PictureCache::PictureCache() {
    // A small pool: pictures come from one set folder, and the machine has other work.
    pool_.setMaxThreadCount(2);
}

PictureCache::~PictureCache() {
    pool_.clear();
    pool_.waitForDone();
}

QPixmap PictureCache::scaled(const QString& path, QSize deviceSize) {
    const QString key = cacheKey(path, deviceSize);
    if (!scaled_.contains(key)) {
        const Decoded d = decodePicture(path, deviceSize);
        store(key, d.image, d.problem);
    }
    return scaled_.value(key);
}

PictureCache::Lookup PictureCache::lookup(const QString& path, QSize deviceSize) {
    const QString key = cacheKey(path, deviceSize);
    const auto hit = scaled_.constFind(key);
    if (hit != scaled_.constEnd()) return {*hit, false};
    if (!pending_.contains(key)) {
        pending_.insert(key);
        pool_.start([this, key, path, deviceSize] {
            Decoded d = decodePicture(path, deviceSize);
            QMetaObject::invokeMethod(
                this,
                [this, key, d = std::move(d)] {
                    pending_.remove(key);
                    store(key, d.image, d.problem);
                    emit ready();
                },
                Qt::QueuedConnection);
        });
    }
    return {QPixmap(), true};
}

void PictureCache::waitForDecodes() {
    while (!pending_.isEmpty()) {
        pool_.waitForDone();
        QCoreApplication::sendPostedEvents(this);
    }
}

void PictureCache::store(const QString& key, const QImage& image, const std::string& problem) {
    if (scaled_.contains(key)) return;
    if (!problem.empty()) diag(problem);
    // Pixmaps are made here, on the GUI thread.
    const QPixmap picture = image.isNull() ? QPixmap() : QPixmap::fromImage(image);
    const qint64 bytes = qint64(picture.width()) * picture.height() * 4;
    evictFor(bytes);
    held_ += bytes;
    order_.append(key);
    scaled_.insert(key, picture);
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
    PictureCache& cache = PictureCache::instance();
    const QString file = QString::fromStdString(path);
    QPixmap pm;
    if (background_) {
        const PictureCache::Lookup found = cache.lookup(file, deviceSize);
        if (found.pending) {
            painter_.fillRect(target, QColor(236, 236, 236));
            return;
        }
        pm = found.picture;
    } else {
        pm = cache.scaled(file, deviceSize);
    }
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

QImage valuePicture(std::int64_t value, QSize pixels, Size logical, const QColor& ink) {
    QImage image =
        drawnImage(pixels, logical, [&](Canvas& c) { drawValueButton(c, value, logical); });
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(image.rect(), ink);
    return image;
}

QImage notePicture(std::string_view name, bool bassClef) {
    return drawnImage(QSize(kNoteButtonWidth, kNoteButtonHeight) * kNotePictureScale,
                      kNotePictureSize, [&](Canvas& c) { drawNoteButton(c, name, bassClef); });
}

}  // namespace sorvel::gui
