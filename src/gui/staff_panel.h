#pragma once

#include <QPointer>
#include <QWidget>
#include <array>
#include <span>

#include "view/geometry.h"

class QLabel;
class QLineEdit;

namespace sorvel::gui {

class StaffWidget;

// Geometry of the score window's staves, in points.
struct ScoreLayout {
    static constexpr int kStaffWidth = 1200;  // 40 cells of 30 points
    static constexpr int kStaffHeight = 140;  // staff spacing of 7 points
    static constexpr int kEntryWidth = 60;
    static constexpr int kLabelColumn = 44;  // page numbers left of the staves
    static constexpr int kChordHeight = 26;
    // Above each staff's band: room for the stems, flags and triplet marks of high notes.
    static constexpr int kStaffHeadroom = 30;
    static constexpr int kRowGap = 6;
    static constexpr int rowTop(int row) {
        return (row - 1) * (kChordHeight + kStaffHeadroom + kStaffHeight + kRowGap);
    }
    // Top of a staff's band (its frame) within its row.
    static constexpr int kBandOffset = kChordHeight + kStaffHeadroom;
};

// The score window's three staves, each under its chord field and beside its page number,
// drawn at one scale. The scale is the user's zoom, made smaller where the panel has no room
// for it, so no staff is ever cut off; or, when fitting, the largest that fits. The core
// knows the staves at scale 1 (coreFrame); only the drawing and the clicks are scaled.
class StaffPanel : public QWidget {
    Q_OBJECT
  public:
    static constexpr double kMinScale = 0.4;
    static constexpr double kMaxScale = 3.0;
    // The steps of Zoom In and Zoom Out.
    static std::span<const double> zoomSteps();

    explicit StaffPanel(QWidget* parent);

    // Row 1..3: its chord field, page label and staff, children of this panel.
    void setRow(int row, QLineEdit* chords, QLabel* page, StaffWidget* staff);
    // The red frame over the current cell; frame: where the core puts it, hidden when it has
    // no width.
    void setPointer(QWidget* pointer);
    void placePointer(const Rect& frame);

    // The staff of row 1..3 where the core places it: in points, at scale 1.
    static Rect coreFrame(int row);
    // The panel's size with its staves drawn at scale.
    static QSize sizeAt(double scale);

    double scale() const { return scale_; }
    double zoom() const { return zoom_; }
    bool fitsToWindow() const { return fit_; }
    // The zoom asked for; ends fitting to the window.
    void setZoom(double zoom);
    void setFitToWindow(bool on);
    // The step above or below the scale shown (the same scale at either end).
    double nextZoom(int direction) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  signals:
    void scaleChanged(double scale);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    // The largest scale the panel's size holds.
    double fitScale() const;
    void layOut();

    struct Row {
        QPointer<QLineEdit> chords;
        QPointer<QLabel> page;
        QPointer<StaffWidget> staff;
    };
    std::array<Row, 3> rows_{};
    QPointer<QWidget> pointer_;
    Rect pointerFrame_{};
    double zoom_ = 1.0;
    bool fit_ = false;
    double scale_ = 1.0;
};

}  // namespace sorvel::gui
