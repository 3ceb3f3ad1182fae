#include "staff_panel.h"

#include <QLabel>
#include <QLineEdit>
#include <algorithm>
#include <cmath>

#include "staff_widget.h"

namespace sorvel::gui {

namespace {

constexpr double kZoomSteps[] = {0.4, 0.5,  0.6, 0.7,  0.8, 0.9, 1.0,
                                 1.1, 1.25, 1.5, 1.75, 2.0, 2.5, 3.0};
// The chord fields keep the font's height at every scale: their text is read, not drawn.
constexpr int kFieldHeight = ScoreLayout::kChordHeight - 3;
// Room right of the staves for the pointer's frame.
constexpr int kRightMargin = 2;

// Rounded down, so that three staves at the scale that fits do fit.
int staffHeightAt(double scale) {
    return static_cast<int>(
        std::floor(scale * (ScoreLayout::kStaffHeadroom + ScoreLayout::kStaffHeight) + 1e-9));
}

int rowTopAt(int row, double scale) {
    return (row - 1) * (ScoreLayout::kChordHeight + staffHeightAt(scale) + ScoreLayout::kRowGap);
}

}  // namespace

std::span<const double> StaffPanel::zoomSteps() {
    return kZoomSteps;
}

StaffPanel::StaffPanel(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void StaffPanel::setRow(int row, QLineEdit* chords, QLabel* page, StaffWidget* staff) {
    rows_[static_cast<std::size_t>(row - 1)] = {chords, page, staff};
    layOut();
}

void StaffPanel::setPointer(QWidget* pointer) {
    pointer_ = pointer;
    layOut();
}

void StaffPanel::placePointer(const Rect& frame) {
    pointerFrame_ = frame;
    layOut();
}

Rect StaffPanel::coreFrame(int row) {
    return {static_cast<double>(ScoreLayout::kLabelColumn),
            static_cast<double>(ScoreLayout::rowTop(row) + ScoreLayout::kBandOffset),
            static_cast<double>(ScoreLayout::kStaffWidth),
            static_cast<double>(ScoreLayout::kStaffHeight)};
}

QSize StaffPanel::sizeAt(double scale) {
    return {ScoreLayout::kLabelColumn +
                static_cast<int>(std::lround(scale * ScoreLayout::kStaffWidth)) + kRightMargin,
            rowTopAt(4, scale) - ScoreLayout::kRowGap};
}

QSize StaffPanel::sizeHint() const {
    return sizeAt(fit_ ? 1.0 : zoom_);
}

QSize StaffPanel::minimumSizeHint() const {
    return sizeAt(kMinScale);
}

void StaffPanel::setZoom(double zoom) {
    zoom_ = std::clamp(zoom, kMinScale, kMaxScale);
    fit_ = false;
    updateGeometry();
    layOut();
}

void StaffPanel::setFitToWindow(bool on) {
    fit_ = on;
    updateGeometry();
    layOut();
}

double StaffPanel::nextZoom(int direction) const {
    constexpr double kNear = 1e-3;
    if (direction > 0) {
        for (const double step : kZoomSteps) {
            if (step > scale_ + kNear) return step;
        }
        return kMaxScale;
    }
    for (auto it = std::rbegin(kZoomSteps); it != std::rend(kZoomSteps); ++it) {
        if (*it < scale_ - kNear) return *it;
    }
    return kMinScale;
}

double StaffPanel::fitScale() const {
    const double across = static_cast<double>(width() - ScoreLayout::kLabelColumn - kRightMargin) /
                          ScoreLayout::kStaffWidth;
    const double down =
        static_cast<double>(height() - 3 * ScoreLayout::kChordHeight - 2 * ScoreLayout::kRowGap) /
        (3 * (ScoreLayout::kStaffHeadroom + ScoreLayout::kStaffHeight));
    return std::clamp(std::min(across, down), kMinScale, kMaxScale);
}

void StaffPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layOut();
}

void StaffPanel::layOut() {
    const double fit = fitScale();
    const double scale = fit_ ? fit : std::min(zoom_, fit);
    const bool changed = scale != scale_;
    scale_ = scale;
    const int staffWidth = static_cast<int>(std::lround(scale * ScoreLayout::kStaffWidth));
    const int headroom = static_cast<int>(std::lround(scale * ScoreLayout::kStaffHeadroom));
    const int band = static_cast<int>(std::lround(scale * ScoreLayout::kStaffHeight));
    for (int r = 1; r <= 3; ++r) {
        const Row& row = rows_[static_cast<std::size_t>(r - 1)];
        const int top = rowTopAt(r, scale);
        if (row.chords) {
            row.chords->setGeometry(ScoreLayout::kLabelColumn, top, staffWidth, kFieldHeight);
        }
        if (row.staff) {
            row.staff->setScale(scale);
            row.staff->setGeometry(ScoreLayout::kLabelColumn, top + ScoreLayout::kChordHeight,
                                   staffWidth, staffHeightAt(scale));
        }
        if (row.page) {
            row.page->setGeometry(0, top + ScoreLayout::kChordHeight + headroom,
                                  ScoreLayout::kLabelColumn - 8, std::max(band / 2, 16));
        }
    }
    // The pointer lies on the staff whose band it starts on, over the cell's whole height.
    if (pointer_) {
        int best = 1;
        for (int r = 2; r <= 3; ++r) {
            if (std::abs(coreFrame(r).y - pointerFrame_.y) <
                std::abs(coreFrame(best).y - pointerFrame_.y)) {
                best = r;
            }
        }
        const StaffWidget* staff = rows_[static_cast<std::size_t>(best - 1)].staff;
        if (staff) {
            const double x = staff->x() + (pointerFrame_.x - coreFrame(best).x) * scale;
            const QRect frame(static_cast<int>(std::lround(x)), staff->y(),
                              static_cast<int>(std::lround(pointerFrame_.width * scale)),
                              staff->height());
            if (pointer_->geometry() != frame) pointer_->setGeometry(frame);
            pointer_->setVisible(pointerFrame_.width > 0);
            pointer_->raise();
        }
    }
    if (changed) emit scaleChanged(scale);
}

}  // namespace sorvel::gui
