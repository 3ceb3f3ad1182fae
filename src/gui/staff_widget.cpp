#include "staff_widget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <array>
#include <utility>

#include "qt_canvas.h"

namespace sorvel::gui {
namespace {

// Passes the staff's drawing on; a cell's background reaching the top of the staff's band
// is carried on over the headroom above it, so a cell is one colour from top to bottom.
class HeadroomCanvas : public Canvas {
  public:
    HeadroomCanvas(Canvas& inner, double bandTop, double headroom)
        : inner_(inner), bandTop_(bandTop), headroom_(headroom) {}
    void fillRect(const Rect& r, Color c) override {
        Rect grown = r;
        if (r.y + r.height >= bandTop_) grown.height += headroom_;
        inner_.fillRect(grown, c);
    }
    void strokeRect(const Rect& r, Color c, double lineWidth) override {
        inner_.strokeRect(r, c, lineWidth);
    }
    void fillEllipse(const Rect& r, Color c) override { inner_.fillEllipse(r, c); }
    void line(Point from, Point to, double lineWidth, Color c, std::optional<Dash> dash) override {
        inner_.line(from, to, lineWidth, c, dash);
    }
    void image(const Rect& r, const std::string& path) override { inner_.image(r, path); }
    void text(Point at, const std::string& text, const std::string& fontFamily, double size,
              double kerning, Color c) override {
        inner_.text(at, text, fontFamily, size, kerning, c);
    }
    Rect textInk(const std::string& text, const std::string& fontFamily, double size,
                 double kerning) const override {
        return inner_.textInk(text, fontFamily, size, kerning);
    }

  private:
    Canvas& inner_;
    double bandTop_;
    double headroom_;
};

}  // namespace

StaffWidget::StaffWidget(const GosenView& staff, std::function<std::string()> imageSet,
                         QWidget* parent, int headroom)
    : QWidget(parent), staff_(staff), imageSet_(std::move(imageSet)), headroom_(headroom) {
    setObjectName(QString::fromStdString(staff.identifier()));
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Pictures are decoded off the GUI thread; the staff shows them as they land.
    connect(&PictureCache::instance(), &PictureCache::ready, this, [this] { update(); });
}

void StaffWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    // The staff is paper: white with black ink whatever the desktop's colours, so it reads
    // the same in a dark theme. Beyond the last cell (a staff narrower than its widget) too.
    painter.fillRect(rect(), Qt::white);
    // The core draws y-up from the bottom of the widget, in points; its band ends headroom_
    // points below the widget's top edge, and whatever rises above the band shows there.
    painter.scale(scale_, scale_);
    const double band = staff_.frame().height;
    QtCanvas qt(painter, band + headroom_);
    qt.setPicturesInBackground(true);
    HeadroomCanvas canvas(qt, band, headroom_);
    staff_.draw(canvas, imageSet_());
}

void StaffWidget::setScale(double scale) {
    if (scale == scale_ || scale <= 0) return;
    scale_ = scale;
    update();
}

void StaffWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    emit clicked(staff_.frame().x + event->position().x() / scale_,
                 event->modifiers().testFlag(Qt::ShiftModifier));
}

PointerWidget::PointerWidget(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("celPointer"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
}

void PointerWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QtCanvas canvas(painter, height());
    drawSelPoint(canvas, {0, 0, static_cast<double>(width()), static_cast<double>(height())});
}

QLayout* pitchStepButtons(QWidget* parent, const QString& namePrefix,
                          std::function<void(int)> step) {
    struct StepButton {
        const char* text;
        const char* tip;
    };
    static constexpr std::array<StepButton, 5> kSteps = {{
        {"♯ ▲", QT_TRANSLATE_NOOP("QObject", "Next pitch up, sharps and flats included")},
        {"▲", QT_TRANSLATE_NOOP("QObject", "Next natural pitch up")},
        {"▼", QT_TRANSLATE_NOOP("QObject", "Next natural pitch down")},
        {"♭ ▼", QT_TRANSLATE_NOOP("QObject", "Next pitch down, sharps and flats included")},
        {QT_TRANSLATE_NOOP("QObject", "Octave"),
         QT_TRANSLATE_NOOP("QObject", "An octave up, or down from the top octave")},
    }};
    auto* steps = new QVBoxLayout;
    steps->setSpacing(2);
    for (int r = 0; r < static_cast<int>(kSteps.size()); ++r) {
        const StepButton& s = kSteps[static_cast<std::size_t>(r)];
        auto* b = new QPushButton(QObject::tr(s.text), parent);
        b->setObjectName(namePrefix + QString::number(r));
        b->setToolTip(QObject::tr(s.tip));
        b->setAccessibleName(QObject::tr(s.tip));
        b->setFocusPolicy(Qt::NoFocus);
        QObject::connect(b, &QPushButton::clicked, parent, [step, r] { step(r); });
        steps->addWidget(b);
    }
    return steps;
}

}  // namespace sorvel::gui
