#include "cents_meter.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace sorvel::gui {

namespace {

constexpr double kMargin = 10.0;
constexpr float kRange = 50.0f;

}  // namespace

CentsMeter::CentsMeter(float inTuneCents, QWidget* parent) : QWidget(parent), inTune_(inTuneCents) {
    setMinimumSize(160, 40);
}

void CentsMeter::setCents(std::optional<float> cents) {
    if (cents && !std::isfinite(*cents)) cents.reset();
    // A tenth of a cent is below what the needle can show: no repaint for less.
    if (cents.has_value() == cents_.has_value() && (!cents || std::abs(*cents - *cents_) < 0.1f)) {
        return;
    }
    cents_ = cents;
    update();
}

double CentsMeter::xOf(float cents) const {
    const double c = std::clamp(static_cast<double>(cents), -double(kRange), double(kRange));
    const double span = width() - 2 * kMargin;
    return kMargin + (c + kRange) / (2 * kRange) * span;
}

void CentsMeter::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), palette().window());
    const double top = 4, bar = height() - 20.0;
    // The scale, the in-tune zone and the ticks every 10 cents.
    p.fillRect(QRectF(xOf(-kRange), top, xOf(kRange) - xOf(-kRange), bar), QColor(235, 235, 235));
    const bool inTune = cents_ && std::abs(*cents_) <= inTune_;
    p.fillRect(QRectF(xOf(-inTune_), top, xOf(inTune_) - xOf(-inTune_), bar),
               inTune ? QColor(90, 200, 90) : QColor(190, 230, 190));
    p.setPen(QPen(Qt::darkGray, 1));
    QFont small = font();
    small.setPointSizeF(7);
    p.setFont(small);
    for (int c = -50; c <= 50; c += 10) {
        const double x = xOf(static_cast<float>(c));
        p.drawLine(QPointF(x, top + bar - (c % 50 == 0 ? bar : bar / 3)), QPointF(x, top + bar));
        if (c % 25 == 0 || c == 0) {
            p.drawText(QRectF(x - 15, top + bar + 1, 30, 14), Qt::AlignCenter,
                       c > 0 ? QStringLiteral("+%1").arg(c) : QString::number(c));
        }
    }
    if (!cents_) return;
    const double x = xOf(*cents_);
    p.setPen(QPen(inTune ? QColor(0, 120, 0) : QColor(200, 30, 30), 3));
    p.drawLine(QPointF(x, top - 2), QPointF(x, top + bar + 2));
}

}  // namespace sorvel::gui
