#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "model/score.h"
#include "view/geometry.h"
#include "view/gosen_view.h"
#include "view/key_dispatch.h"

namespace sorvel {
namespace testing {
struct DocumentAccess;
}

// Pages of a score: one per started run of cellsPerPage cells, counted in integers so that
// the last page of any score can be shown.
std::int64_t pagesFor(std::int64_t cells, std::int64_t cellsPerPage);

// The top page of the three staves while `cell` sounds: the one shown while the cell's line
// is among them, else the cell's own line, which the staves turn to (forward to the next
// lines, or back to where a repeat or the exercise loop goes round).
std::int64_t topPageFollowing(std::int64_t topPage, std::int64_t cell, std::int64_t cellsPerPage);

// The three score staves of a window over its score: the page on top (a page is a staff
// line), the selection with the pointer over its start, the wrap at the staff ends, and the
// chord field above each staff. The staves show the score's cells in place.
class StaffPages {
  public:
    // changed: the page labels, the chord fields or the page count changed.
    StaffPages(Score& score, std::function<void()> changed);
    StaffPages(const StaffPages&) = delete;
    StaffPages& operator=(const StaffPages&) = delete;

    // The staff of row 1..3.
    const GosenView& staff(std::int64_t row) const;
    // Who redraws a staff.
    void setRedraw(const std::function<void(const GosenView&)>& redraw);
    std::int64_t cellsPerStaff() const { return kCellsPerStaff; }

    // Window set-up: frames of the three staves in window coordinates, the folder of picture
    // sets; the chord fields show the score's first three chord lines (blank ones are added).
    void layOut(const std::array<Rect, 3>& frames, const std::string& setFolder);

    // The top page P of the three shown (the page labels show P, P+1, P+2); the page buttons
    // move it, showPage does not.
    std::int64_t topPage() const { return topPage_; }
    void setTopPage(std::int64_t P) { topPage_ = P; }
    // Number of pages of the score as the last showPage counted them.
    std::int64_t pageCount() const { return pageCount_; }
    // Score index of the first cell of the top staff.
    std::int64_t startCell() const { return startCell_; }
    // Shows pages P, P+1, P+2 and their chord lines in the fields.
    void showPage(std::int64_t P);
    // Shows the top page again; when it now lies beyond the end of the score (the last cells
    // were deleted), the staves show the blank pages there.
    void refreshTopPage();
    // The page turns of the page buttons. Each moves the selection's start where the buttons
    // move it; selecting it is the caller's (the entry takes the selected cell).
    void pageUp();
    void pageDown();

    // The text of the chord fields (what is typed counts once stored).
    const std::array<std::string, 3>& chordFields() const { return cdText_; }
    void setChordField(std::size_t field, std::string text);
    // Writes the fields into the chord lines of the pages shown.
    void storeChordFields() { storeFieldsInto(score_.codeData); }
    // The chord lines as storing the fields would leave them.
    std::vector<std::string> chordLinesWithFields() const;

    // The selection: rows 1..3 of the staves shown and 1-based columns.
    Selection selection() const { return sel_; }
    // Selects the cell at (column, row), wrapped at the staff ends: its score index, or
    // nothing (and no change) when the position leaves the staves or the score.
    std::optional<std::int64_t> select(std::int64_t column, std::int64_t row);
    // Extends the selection to (column, row); false when that leaves the staves or the score.
    bool selectTo(std::int64_t column, std::int64_t row);
    // The red frame over the selected cell, in window coordinates; of no size while the
    // selection lies on lines the staves do not show.
    Rect pointer() const { return pointer_; }
    // Score index of (row, 1-based column) on the staves shown, or nothing for a row off the
    // staves; the index may lie beyond the end of the score.
    std::optional<std::int64_t> indexAt(std::int64_t row, std::int64_t column) const;
    // Score index of the first and last selected cell, or -1 when outside the score.
    std::int64_t selStart() const;
    std::int64_t selEnd() const;

    // The column last clicked on the staff of row.
    void markClicked(std::int64_t row, std::int64_t column);
    void redraw(std::int64_t row) const;
    // Redraws the staves that show the score cell at index.
    void cellChanged(std::int64_t index) const;

    // The cell heard during playback (-1: none) is marked on its staff, and the staves
    // follow it (topPageFollowing). The selection stays on its cells, also when the turn
    // takes them off the staves (rows outside 1..3); once nothing sounds, such a selection
    // is brought back into view.
    void showSounding(std::int64_t cell);
    std::int64_t soundingCell() const { return sounding_; }

  private:
    // The test builder places selections a cut can leave (past the score, off the staves).
    friend struct testing::DocumentAccess;
    static constexpr std::int64_t kCellsPerStaff = 40;

    GosenView& staffOfRow(std::int64_t row);
    void storeFieldsInto(std::vector<std::string>& codeData) const;
    // Wraps a position at the staff ends; false when it leaves the staves or the score.
    bool wrapToCell(std::int64_t& column, std::int64_t& row) const;
    void pointStavesAt(std::int64_t first);
    void redrawAll() const;
    // Marks the selected cells on the staves that show them, and the pointer over the first.
    void markSelection();
    void markSounding();
    // Shows page P on top, the selection kept on its cells.
    void turnTo(std::int64_t P);

    Score& score_;
    std::function<void()> changed_;
    std::array<GosenView, 3> staves_{GosenView("gosen1"), GosenView("gosen2"), GosenView("gosen3")};
    std::array<std::string, 3> cdText_;
    Selection sel_{1, 1, 1, 1};
    Size pointerSize_;
    Rect pointer_;
    std::int64_t startCell_ = 0;
    std::int64_t topPage_ = 1;
    std::int64_t pageCount_ = 1;
    std::int64_t sounding_ = -1;
};

}  // namespace sorvel
