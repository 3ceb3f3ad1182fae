#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/score_cell.h"
#include "view/canvas.h"
#include "view/geometry.h"

namespace sorvel {

// Background of the cell heard during playback: a light blue, apart from the selection's
// yellow and the pointer's red, under which the black staff and notes stay legible.
inline constexpr Color kSoundingCellColor{150, 205, 255, 255};

// Family name of the notation font the staves draw their glyphs with.
inline constexpr const char* kNotationFontFamily = "Sorvel Notation";
inline constexpr double kNotationFontSize = 44.0;
inline constexpr double kNotationKerning = -5.0;

// One staff of score cells: the upper half of each cell is a five-line staff with two
// dashed ledger lines below and above, the lower half the picture of the cell's pitch.
class GosenView {
  public:
    explicit GosenView(std::string identifier);

    const std::string& identifier() const { return identifier_; }

    // Frame in the coordinates of the window (x from the window's left edge).
    void setFrame(const Rect& frame);
    const Rect& frame() const { return frame_; }
    Rect bounds() const { return {0, 0, frame_.width, frame_.height}; }

    void resetGosen();

    // The cells the staff shows: cellMax cells of cells from index first, blank past its end.
    // The staff keeps a pointer, not a copy: whoever owns the cells points the staff at them
    // again when the vector itself is replaced, and asks for a redraw after a change.
    void showCells(const std::vector<ScoreCell>* cells, std::int64_t first = 0);
    // The cell of 1-based column, blank outside the cells shown.
    ScoreCell cellAt(std::int64_t column) const;
    std::int64_t firstCell() const { return first_; }

    // Draws every cell; imageRoot/imageSet name the folder of pictures.
    void draw(Canvas& canvas, const std::string& imageSet) const;

    // 1-based column under a window x coordinate (truncation toward zero, as a click does).
    std::int64_t columnAt(double windowX) const;

    // Staff line k = 1..9 of this view (k = 3..7 are the five staff lines).
    double lineY(int k) const { return gosenOrg.y + lineSpacing() * k; }
    double lineSpacing() const { return gosenSize.height / 10.0; }

    // Asks whoever shows this staff to redraw it.
    void setNeedsDisplay() const {
        if (onNeedsDisplay) onNeedsDisplay(*this);
    }
    std::function<void(const GosenView&)> onNeedsDisplay;

    std::int64_t cellMax = 40;
    Size cellSize;
    Size imgSize;
    Point imgOrg;
    Size gosenSize;
    Point gosenOrg;
    std::int64_t selectedCell = 1;
    // Working values of the last redraw (mutable: drawing does not change the staff).
    mutable std::string selectedNote;
    mutable std::int64_t selIndex = 0;
    mutable std::int64_t selLocate = 0;
    mutable std::int64_t onpIndex = 0;
    std::int64_t selRow = 0;
    std::int64_t selCol = 0;
    std::int64_t selColTo = 0;
    // 1-based column of the cell heard during playback, 0 for none.
    std::int64_t soundingColumn = 0;
    std::string imgFol;

  private:
    void computeGeometry();

    std::string identifier_;
    Rect frame_;
    const std::vector<ScoreCell>* cells_ = nullptr;
    std::int64_t first_ = 0;
};

// True for a dotted note value (its plain form is the Dot button's partner).
bool isDottedNote(std::int64_t v);

// The red frame over the current cell of the score window.
void drawSelPoint(Canvas& canvas, const Rect& bounds);

}  // namespace sorvel
