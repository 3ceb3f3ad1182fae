#pragma once

#include <QString>
#include <QWidget>
#include <functional>

#include "view/gosen_view.h"

class QLayout;

namespace sorvel::gui {

// Shows one staff of the core and reports clicks on it.
class StaffWidget : public QWidget {
    Q_OBJECT
  public:
    // headroom: pixels above the staff's own band where the stems, flags and triplet marks
    // of high notes are drawn; the widget is that much taller than the staff's frame.
    StaffWidget(const GosenView& staff, std::function<std::string()> imageSet,
                QWidget* parent = nullptr, int headroom = 0);

    const GosenView& staff() const { return staff_; }
    int headroom() const { return headroom_; }
    // The staff is drawn this many pixels to the core's point; the widget's size is the
    // caller's to keep in step.
    void setScale(double scale);
    double scale() const { return scale_; }

  signals:
    // x in the core's window coordinates, the coordinates of the staff's frame.
    void clicked(double windowX, bool shift);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    const GosenView& staff_;
    std::function<std::string()> imageSet_;
    int headroom_ = 0;
    double scale_ = 1.0;
};

// The red frame over the current cell.
class PointerWidget : public QWidget {
    Q_OBJECT
  public:
    explicit PointerWidget(QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

// The five pitch-step buttons beside a one-cell staff (rows 0 to 4 of stepPitch), in a
// column; button r is named namePrefix + r and calls step(r). The buttons never take the
// keyboard.
QLayout* pitchStepButtons(QWidget* parent, const QString& namePrefix,
                          std::function<void(int)> step);

}  // namespace sorvel::gui
