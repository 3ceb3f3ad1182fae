#pragma once

#include <QFont>
#include <QHash>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QPixmap>
#include <QSet>
#include <QString>
#include <QThreadPool>
#include <functional>
#include <string>
#include <string_view>

#include "view/canvas.h"

namespace sorvel::gui {

// Decoded pictures, shared by every view. Each file is decoded straight to the size it is
// drawn at and only that is kept, within a bounded budget; a full-size decode is never held.
// A file that is missing, cannot be decoded, is absurdly large or is no regular file (a FIFO,
// a device) is remembered as such. Only regular files are opened, and without waiting.
class PictureCache : public QObject {
    Q_OBJECT
  public:
    static PictureCache& instance();
    // The picture at path scaled to fit size (device pixels), or a null pixmap. Decodes on
    // the calling thread when needed: printing and export draw every picture.
    QPixmap scaled(const QString& path, QSize deviceSize);

    // For the screen, never waiting: the picture when it has been decoded; else it is being
    // decoded on a worker thread, pending is set, and ready() follows when it lands.
    struct Lookup {
        QPixmap picture;
        bool pending = false;
    };
    Lookup lookup(const QString& path, QSize deviceSize);
    // Waits until every decode started by lookup() has landed (for tests).
    void waitForDecodes();

    // Bytes of the pictures held.
    qint64 heldBytes() const { return held_; }

    static constexpr qint64 kBudgetBytes = 64ll * 1024 * 1024;
    static constexpr int kMaxSide = 8192;

  signals:
    // A picture asked for by lookup() has been decoded (or found unusable).
    void ready();

  private:
    PictureCache();
    ~PictureCache() override;
    void store(const QString& key, const QImage& image, const std::string& problem);
    void evictFor(qint64 bytes);

    QHash<QString, QPixmap> scaled_;
    QList<QString> order_;  // least recently added first
    QSet<QString> pending_;
    qint64 held_ = 0;
    QThreadPool pool_;
};

// Paints the core's drawing calls with QPainter onto a widget, printer or image. The core
// draws y-up; this adapter flips into Qt's y-down coordinates over a view of given height.
class QtCanvas : public Canvas {
  public:
    QtCanvas(QPainter& painter, double viewHeight);

    void fillRect(const Rect& r, Color c) override;
    void strokeRect(const Rect& r, Color c, double lineWidth) override;
    void fillEllipse(const Rect& r, Color c) override;
    void line(Point from, Point to, double lineWidth, Color c, std::optional<Dash> dash) override;
    void image(const Rect& r, const std::string& path) override;
    void text(Point at, const std::string& text, const std::string& fontFamily, double size,
              double kerning, Color c) override;
    Rect textInk(const std::string& text, const std::string& fontFamily, double size,
                 double kerning) const override;
    void polyline(const std::vector<Point>& points, double lineWidth, Color c) override;
    void curve(Point from, Point control1, Point control2, Point to, double lineWidth,
               Color c) override;

    // Places every character of a kerned text at its own position instead of relying on the
    // font's letter spacing, which the PDF and printer engines ignore.
    void setPlaceCharactersOneByOne(bool on) { oneByOne_ = on; }
    // Pictures not decoded yet are drawn as a placeholder while a worker decodes them (see
    // PictureCache::lookup); a screen view repaints on PictureCache::ready.
    void setPicturesInBackground(bool on) { background_ = on; }

    // The font the core's text calls map to (family, pixel size, letter spacing), with the
    // descent that places its baseline.
    struct FontEntry {
        QFont font;
        double descent;
    };
    static const FontEntry& fontFor(const std::string& family, double size, double kerning);

  private:
    QRectF toQt(const Rect& r) const { return {r.x, height_ - r.y - r.height, r.width, r.height}; }
    QPointF toQt(Point p) const { return {p.x, height_ - p.y}; }

    QPainter& painter_;
    double height_;
    bool oneByOne_ = false;
    bool background_ = false;
};

// The core's drawing, made in a box of the logical size, scaled to fill an image of pixels;
// what it leaves untouched stays transparent.
QImage drawnImage(QSize pixels, Size logical, const std::function<void(Canvas&)>& draw);

// A note-value button's picture (staff lines and glyph) drawn in a box of the logical size,
// scaled to fill an image of pixels, inked in one colour.
QImage valuePicture(std::int64_t value, QSize pixels, Size logical, const QColor& ink);

// A phrase builder note button's picture at the size the pictures are drawn at: the build's
// note picture folder holds these, and the window paints one for a picture missing there.
QImage notePicture(std::string_view name, bool bassClef);

}  // namespace sorvel::gui
