#include "view/gosen_view.h"

#include <cmath>
#include <sstream>
#include <utility>

#include "model/diagnostics.h"
#include "model/notation_tables.h"
#include "model/note_values.h"
#include "view/staff_lines.h"

namespace sorvel {

namespace {

// Advances of the notation font's accidentals at the staff's size and kerning, and the
// augmentation dot: its size and the distance of its centre from a note glyph's origin
// (right of the head, or right of the flag of a stem-up note).
constexpr double kSharpAdvance = 8.67;
constexpr double kFlatAdvance = 7.47;
constexpr double kDotDiameter = 3.0;

double dotOffset(std::int64_t plainValue) {
    switch (plainValue) {
        case 1:   // whole
        case 29:  // whole, other family
        case 7:   // stem-up eighth, sixteenth and thirty-second
        case 9:
        case 11:
            return 16.5;
        default:
            return 12.5;
    }
}

}  // namespace

bool isDottedNote(std::int64_t v) {
    if (!isPitched(v)) return false;
    const NoteValue& plain = noteValue(noteValue(v).dotToggle);
    return noteValue(v).dotToggle != v && plain.beats < noteValue(v).beats;
}

GosenView::GosenView(std::string identifier) : identifier_(std::move(identifier)) {
    selIndex = tables::Loc2idx[0];
    selectedNote = std::string(tables::noteArr[static_cast<std::size_t>(selIndex)]);
    computeGeometry();
}

void GosenView::setFrame(const Rect& frame) {
    frame_ = frame;
    computeGeometry();
}

void GosenView::computeGeometry() {
    const double n = cellMax > 0 ? static_cast<double>(cellMax) : 1.0;
    cellSize = {frame_.width / n, frame_.height};
    imgSize = {cellSize.width - 10, frame_.height * 0.5};
    imgOrg = {0, 0};
    gosenSize = {cellSize.width, cellSize.height * 0.5};
    gosenOrg = {0, cellSize.height * 0.5};
}

void GosenView::resetGosen() {
    computeGeometry();
    selectedCell = 1;
    selLocate = 0;
    selIndex = tables::Loc2idx[0];
    selectedNote = std::string(tables::noteArr[static_cast<std::size_t>(selIndex)]);
    onpIndex = 1;
    setNeedsDisplay();
}

void GosenView::showCells(const std::vector<ScoreCell>* cells, std::int64_t first) {
    cells_ = cells;
    first_ = first;
}

ScoreCell GosenView::cellAt(std::int64_t column) const {
    if (!cells_ || column < 1 || column > cellMax) return ScoreCell{};
    const std::int64_t k = first_ + column - 1;
    if (k < 0 || k >= static_cast<std::int64_t>(cells_->size())) return ScoreCell{};
    return (*cells_)[static_cast<std::size_t>(k)];
}

void GosenView::draw(Canvas& canvas, const std::string& imageSet) const {
    const double s = lineSpacing();
    const StaffLines staff{lineY(5), s};
    const std::string folder = imgFol + "/" + imageSet + "/";
    for (std::int64_t i = 1; i <= cellMax; ++i) {
        const ScoreCell cell = cellAt(i);
        // Cells arrive from files and the clipboard checked; a stray index draws blank.
        const bool valid = tables::validPitch(cell.noteIndex) && validValue(cell.onpIndex);
        selIndex = valid ? cell.noteIndex : 0;
        onpIndex = valid ? cell.onpIndex : 0;
        const double x = cellSize.width * static_cast<double>(i - 1);

        const bool highlighted = selRow != 0 && selCol <= i && i <= selColTo;
        const Color background = i == soundingColumn ? kSoundingCellColor
                                 : highlighted       ? Color::yellow()
                                                     : Color::white();
        canvas.fillRect({x, 0, cellSize.width, cellSize.height}, background);

        for (int k = 1; k <= 9; ++k) {
            const double y = lineY(k);
            if (k >= 3 && k <= 7) {
                canvas.line({x, y}, {x + gosenSize.width, y}, 1.0, Color::black(), std::nullopt);
            } else {
                canvas.line({x + 5, y}, {x + gosenSize.width - 5, y}, 1.0, Color::black(),
                            Dash{2.0, 2.0, 0.0});
            }
        }

        const auto p = static_cast<std::size_t>(selIndex);
        if (isPitched(onpIndex)) {
            selectedNote = std::string(tables::noteArr[p]);
            canvas.image({x, imgOrg.y, imgSize.width, imgSize.height},
                         folder + selectedNote + ".png");
        }

        selLocate = tables::locateArr[p];
        // A blank cell is empty whatever its pitch: no accidental either.
        const std::int64_t accidental = onpIndex == 0 ? 0 : tables::shflArr[p];
        std::string glyph = accidental == -1 ? "/" : accidental == 1 ? "." : "";
        // A dotted note is drawn as its plain glyph with a dot of its own: the font's dotted
        // glyphs hold the dot half a space above the head, right for a note on a line but on
        // the line above for a note in a space.
        const bool dotted = isDottedNote(onpIndex);
        const std::int64_t shown = dotted ? noteValue(onpIndex).dotToggle : onpIndex;
        glyph += noteValue(shown).glyph;
        const double glyphX = x + gosenSize.width / 12.0;
        const auto position = static_cast<double>(selLocate);
        canvas.text({glyphX, staff.glyphBox(position)}, glyph, kNotationFontFamily,
                    kNotationFontSize, kNotationKerning);
        if (dotted) {
            // Even positions lie on lines: the dot goes into the space above.
            const double head = staff.y(position);
            const double dotY = selLocate % 2 == 0 ? head + s * 0.5 : head;
            const double prefix = accidental == -1  ? kFlatAdvance
                                  : accidental == 1 ? kSharpAdvance
                                                    : 0.0;
            const double dotX = glyphX + prefix + dotOffset(shown);
            canvas.fillEllipse(
                {dotX - kDotDiameter / 2, dotY - kDotDiameter / 2, kDotDiameter, kDotDiameter},
                Color::black());
        }
    }
}

std::int64_t GosenView::columnAt(double windowX) const {
    if (cellSize.width <= 0) return 1;
    const double dx = windowX - frame_.x;
    return static_cast<std::int64_t>(std::trunc(dx / cellSize.width)) + 1;
}

void drawSelPoint(Canvas& canvas, const Rect& bounds) {
    canvas.strokeRect(bounds, Color::red(), 1.0);
}

}  // namespace sorvel
