// The entry cell, the cell commands of the score window and the cell primitives.
#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/document.h"
#include "edit/chord_lines.h"
#include "edit/undo_history.h"
#include "model/diagnostics.h"
#include "model/notation_tables.h"
#include "model/note_values.h"
#include "view/pitch_step.h"

namespace sorvel {
namespace {

using tables::kPitchCount;

// Score index of (row, 1-based column) on the staves shown, or nothing for a row off the
// staves. The index may lie beyond the end of the score.
std::optional<std::int64_t> positionIndex(const Document& d, std::int64_t row,
                                          std::int64_t column) {
    if (row < 1 || row > 3) return std::nullopt;
    return d.startCell() + (row - 1) * d.gosenCellMax + column - 1;
}

}  // namespace

// ---- What shows the score ----------------------------------------------------------------

void Document::cellChanged(std::int64_t index) {
    for (GosenView* staff : {&gosen1, &gosen2, &gosen3}) {
        const std::int64_t column = index - staff->firstCell();
        if (column >= 0 && column < staff->cellMax) staff->setNeedsDisplay();
    }
}

// Shows the top page again. When it now lies beyond the end of the score (the last cells were
// deleted), the staves show the blank pages there.
void Document::refreshTopPage() {
    const std::int64_t P = topPage();
    showPage(P);
    if (P >= 1 && P <= pageCount()) return;
    if (P >= 1) startCell_ = (P - 1) * gosenCellMax;
    pointStavesAt(startCell_);
}

// The chord fields are stored first, as the refresh rewrites them from the chord lines.
void Document::cellsMoved() {
    storeChordFields();
    refreshTopPage();
}

// ---- Entry cell -------------------------------------------------------------------------

void Document::stepEntryPitch(std::int64_t row) {
    diag(std::to_string(row));
    ScoreCell& entry = entryCell();
    std::int64_t p = entry.noteIndex;
    if (row >= 0 && row <= 4) {
        // The same five steps as every one-cell staff (a stray pitch is brought into the
        // table first).
        p = stepPitch(p, row);
        entry.noteIndex = p;
        gosenE.selLocate = tables::locateArr[static_cast<std::size_t>(p)];
    }
    gosenE.setNeedsDisplay();
    const bool known = p >= 0 && p < static_cast<std::int64_t>(freqArr_.size());
    playTone(known ? freqArr_[static_cast<std::size_t>(p)] : 0.0f, 0.5f);
}

void Document::setEntryValue(std::int64_t row, std::int64_t column) {
    ScoreCell& entry = entryCell();
    if (const auto v = matrixValue(row, column)) {
        // Rests and marks are written at the middle pitch; notes keep the entry's pitch.
        entry = noteValue(*v).kind == NoteKind::Note ? ScoreCell{entry.noteIndex, *v}
                                                     : ScoreCell{17, *v};
    } else if (row == 2 && column == 0) {
        entry.onpIndex = 0;
    } else if (row == 2 && column == 1) {
        // A blank (or stray) value has no dotted form.
        if (validValue(entry.onpIndex)) entry.onpIndex = noteValue(entry.onpIndex).dotToggle;
    }
    gosenE.setNeedsDisplay();
}

void Document::toggleTriplet() {
    ScoreCell& entry = entryCell();
    if (validValue(entry.onpIndex)) entry.onpIndex = noteValue(entry.onpIndex).triplet;
    gosenE.setNeedsDisplay();
}

void Document::toggleTie() {
    ScoreCell& entry = entryCell();
    if (validValue(entry.onpIndex)) entry.onpIndex = noteValue(entry.onpIndex).tie;
    gosenE.setNeedsDisplay();
}

// ---- Commands ---------------------------------------------------------------------------

void Document::btnUPDate() {
    UndoGroup group(undo_);
    storeChordFields();
    GosenView* view = staffOfRow(selRow);
    const auto index = positionIndex(*this, selRow, selCol);
    if (!view || !index || *index < 0 || *index >= cellCount()) return;
    const ScoreCell entry = entryCell();
    setCell(*view, selCol - 1, *index, entry.noteIndex, entry.onpIndex);
}

void Document::btnIns() {
    UndoGroup group(undo_);
    auto index = positionIndex(*this, selRow, selCol);
    if (!index) return;
    if (score_.musicData.empty()) index = 0;
    const ScoreCell entry = entryCell();
    insertCellList({entry.noteIndex, entry.onpIndex}, *index);
}

void Document::btnADD() {
    UndoGroup group(undo_);
    auto index = positionIndex(*this, selRow, selCol);
    if (!index) return;
    *index = score_.musicData.empty() ? 0 : *index + 1;
    insertCells({entryCell()}, *index, *index);
}

void Document::btnDel() {
    UndoGroup group(undo_);
    if (cellCount() < 2) return;
    const std::int64_t s = selStart();
    const std::int64_t e = selEnd();
    // An end outside the score or before the start (left over from a cut) deletes nothing:
    // the cells it would take are not the ones the user selected.
    if (s >= 0 && e >= s) deleteCells(s, e);
    const std::int64_t c = s >= cellCount() ? selCol - 1 : selCol;
    selCell(c, selRow);
}

void Document::btnAllUpDown(std::int64_t row) {
    const bool up = row == 0;
    storeChordFields();
    const std::int64_t P = topPage();
    const bool range = selCol != selColTo || selRow != selRowTo;
    std::int64_t from = 0;
    std::int64_t to = cellCount();
    std::vector<std::string>& codeData = score_.codeData;
    if (range) {
        from = ((P - 1) + (selRow - 1)) * gosenCellMax + selCol - 1;
        to = ((P - 1) + (selRowTo - 1)) * gosenCellMax + selColTo;
    } else if (withCode && !codeData.empty()) {
        for (std::string& line : codeData) line = transposeChordLine(line, up);
    }
    // A range reaching past the end of the score is cut at the end.
    editor_.transpose(from, to, up);
    // The fields were stored above and the chord lines may have been transposed since: the
    // refresh rewrites them from the chord lines.
    refreshTopPage();
}

// ---- Primitives -------------------------------------------------------------------------

std::int64_t Document::selStart() const {
    const auto index = positionIndex(*this, selRow, selCol);
    return index && *index >= 0 && *index < cellCount() ? *index : -1;
}

std::int64_t Document::selEnd() const {
    const auto index = positionIndex(*this, selRowTo, selColTo);
    return index && *index >= 0 && *index < cellCount() ? *index : -1;
}

void Document::setCell(GosenView& /*view*/, std::int64_t /*column*/, std::int64_t index,
                       std::int64_t p, std::int64_t v) {
    // The page may have moved since the cell was shown: the staff that shows it now is found
    // from the score index.
    editor_.setCell(index, ScoreCell{p, v});
}

void Document::insertCellList(const std::vector<std::int64_t>& list, std::int64_t index) {
    editor_.insertCellList(list, index);
}

void Document::insertCells(const std::vector<ScoreCell>& cells, std::int64_t index,
                           std::int64_t selectionEnd) {
    diag(std::to_string(index) + " " + std::to_string(cellCount()) + " index over");
    if (index < 0 || index > cellCount()) {
        diag(" index over");
        return;
    }
    if (editor_.insertCells(cells, index)) selCell(selCol + (selectionEnd - index) + 1, selRow);
}

void Document::deleteCells(std::int64_t from, std::int64_t to) {
    editor_.deleteCells(from, to);
}

}  // namespace sorvel
