#include "staff_widget.h"

#include <QMouseEvent>
#include <QPainter>
#include <utility>

#include "qt_canvas.h"

namespace sorvel::gui {

StaffWidget::StaffWidget(const GosenView& staff, std::function<std::string()> imageSet,
                         QWidget* parent)
    : QWidget(parent), staff_(staff), imageSet_(std::move(imageSet)) {
    setObjectName(QString::fromStdString(staff.identifier()));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void StaffWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    // Beyond the last cell (a staff narrower than its widget) stays white.
    painter.fillRect(rect(), Qt::white);
    QtCanvas canvas(painter, height());
    staff_.draw(canvas, imageSet_());
}

void StaffWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPointF inParent = mapToParent(event->position());
    emit clicked(inParent.x(), event->modifiers().testFlag(Qt::ShiftModifier));
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

}  // namespace sorvel::gui
