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

std::int64_t cellCount(const Document& d) {
    return static_cast<std::int64_t>(d.musicData.size());
}

// Score index of (row, 1-based column) on the staves shown, or nothing for a row off the
// staves. The index may lie beyond the end of the score.
std::optional<std::int64_t> positionIndex(const Document& d, std::int64_t row,
                                          std::int64_t column) {
    std::int64_t index = d.startCell + column - 1;
    switch (row) {
        case 1:
            break;
        case 2:
            index += d.gosen1.cellMax;
            break;
        case 3:
            index += d.gosen1.cellMax + d.gosen2.cellMax;
            break;
        default:
            return std::nullopt;
    }
    return index;
}

// Rewrites the staff cell that shows score cell index, if one does.
void refreshShownCell(Document& d, std::int64_t index) {
    std::int64_t first = d.startCell;
    for (std::int64_t row = 1; row <= 3; ++row) {
        GosenView& staff = *d.staffOfRow(row);
        const std::int64_t column = index - first;
        if (column >= 0 && column < staff.cellMax &&
            column < static_cast<std::int64_t>(staff.musicData.size())) {
            staff.musicData[static_cast<std::size_t>(column)] =
                d.musicData[static_cast<std::size_t>(index)];
            staff.setNeedsDisplay();
            return;
        }
        first += staff.cellMax;
    }
}

// The page refresh after a change of the score's length. When the top page now lies beyond
// the end of the score (the last cells were deleted), the staves would keep showing cells
// that no longer exist: they show blank pages instead. The chord fields are stored first,
// as the refresh rewrites them from the score's chord lines.
void refreshPages(Document& d, bool storeFields = true) {
    if (storeFields) d.storeChordFields();
    const std::int64_t P = d.topPage();
    d.showPage(P);
    if (P >= 1 && P <= d.pageCount()) return;
    if (P >= 1) d.startCell = (P - 1) * d.gosenCellMax;
    for (std::int64_t row = 1; row <= 3; ++row) {
        GosenView& staff = *d.staffOfRow(row);
        staff.clearGosen();
        staff.setNeedsDisplay();
    }
}

std::int64_t transposePitch(std::int64_t p, bool up) {
    const std::int64_t accidental = tables::shflArr[static_cast<std::size_t>(p)];
    if (up) {
        p += accidental == 1 ? 2 : 1;
        return p >= 39 ? 5 : p;
    }
    p -= accidental == -1 ? 2 : 1;
    return p <= 0 ? 34 : p;
}

}  // namespace

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
    const bool known = p >= 0 && p < static_cast<std::int64_t>(gosenE.freqArr.size());
    playTone(known ? gosenE.freqArr[static_cast<std::size_t>(p)] : 0.0f, 0.5f);
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
    if (!view || !index || *index < 0 || *index >= cellCount(*this)) return;
    const ScoreCell entry = entryCell();
    setCell(*view, selCol - 1, *index, entry.noteIndex, entry.onpIndex);
}

void Document::btnIns() {
    UndoGroup group(undo_);
    auto index = positionIndex(*this, selRow, selCol);
    if (!index) return;
    if (musicData.empty()) index = 0;
    const ScoreCell entry = entryCell();
    insertCellList({entry.noteIndex, entry.onpIndex}, *index);
}

void Document::btnADD() {
    UndoGroup group(undo_);
    auto index = positionIndex(*this, selRow, selCol);
    if (!index) return;
    *index = musicData.empty() ? 0 : *index + 1;
    insertCells({entryCell()}, *index, *index);
}

void Document::btnDel() {
    UndoGroup group(undo_);
    if (cellCount(*this) < 2) return;
    const std::int64_t s = selStart();
    const std::int64_t e = selEnd();
    // An end outside the score or before the start (left over from a cut) deletes nothing:
    // the cells it would take are not the ones the user selected.
    if (s >= 0 && e >= s) deleteCells(s, e);
    const std::int64_t c = s >= cellCount(*this) ? selCol - 1 : selCol;
    selCell(c, selRow);
}

void Document::btnAllUpDown(std::int64_t row) {
    const bool up = row == 0;
    storeChordFields();
    const std::int64_t P = topPage();
    const std::int64_t count = cellCount(*this);
    const bool range = selCol != selColTo || selRow != selRowTo;
    std::int64_t from = 0;
    std::int64_t to = count;
    if (range) {
        from = ((P - 1) + (selRow - 1)) * gosenCellMax + selCol - 1;
        to = ((P - 1) + (selRowTo - 1)) * gosenCellMax + selColTo;
    } else if (withCode && !codeData.empty()) {
        for (std::string& line : codeData) line = transposeChordLine(line, up);
    }
    // A range reaching past the end of the score is cut at the end.
    from = std::max<std::int64_t>(from, 0);
    to = std::min(to, count);
    for (std::int64_t i = from; i < to; ++i) {
        ScoreCell& cell = musicData[static_cast<std::size_t>(i)];
        if (!isPitched(cell.onpIndex) || !tables::validPitch(cell.noteIndex)) continue;
        cell.noteIndex = transposePitch(cell.noteIndex, up);
    }
    // The fields were stored above and the chord lines may have been transposed since.
    refreshPages(*this, false);
}

// ---- Primitives -------------------------------------------------------------------------

std::int64_t Document::selStart() const {
    const auto index = positionIndex(*this, selRow, selCol);
    return index && *index >= 0 && *index < cellCount(*this) ? *index : -1;
}

std::int64_t Document::selEnd() const {
    const auto index = positionIndex(*this, selRowTo, selColTo);
    return index && *index >= 0 && *index < cellCount(*this) ? *index : -1;
}

void Document::setCell(GosenView& view, std::int64_t column, std::int64_t index, std::int64_t p,
                       std::int64_t v) {
    if (index < 0 || index >= cellCount(*this)) return;
    const ScoreCell old = musicData[static_cast<std::size_t>(index)];
    if (undo_) {
        // The inverse names the staff by its row so it never holds on to a foreign view.
        std::int64_t row = 1;
        if (&view == &gosen2) row = 2;
        if (&view == &gosen3) row = 3;
        undo_->registerUndo(this, [this, row, column, index, old] {
            setCell(*staffOfRow(row), column, index, old.noteIndex, old.onpIndex);
        });
    }
    musicData[static_cast<std::size_t>(index)] = ScoreCell{p, v};
    // The column given is where the cell was shown when the update was made; the page may
    // have moved since, so the staff cell is found from the score index.
    refreshShownCell(*this, index);
}

void Document::insertCellList(const std::vector<std::int64_t>& list, std::int64_t index) {
    const std::int64_t n = static_cast<std::int64_t>(list.size()) / 2;
    if (n == 0 || index < 0 || index > cellCount(*this)) return;
    if (undo_) {
        undo_->registerUndo(this, [this, index, n] { deleteCells(index, index + n - 1); });
    }
    std::vector<ScoreCell> cells;
    cells.reserve(static_cast<std::size_t>(n));
    for (std::int64_t k = 0; k < n; ++k) {
        cells.push_back(
            {list[static_cast<std::size_t>(2 * k)], list[static_cast<std::size_t>(2 * k + 1)]});
    }
    musicData.insert(musicData.begin() + index, cells.begin(), cells.end());
    refreshPages(*this);
}

void Document::insertCells(const std::vector<ScoreCell>& cells, std::int64_t index,
                           std::int64_t selectionEnd) {
    diag(std::to_string(index) + " " + std::to_string(cellCount(*this)) + " index over");
    if (index < 0 || index > cellCount(*this)) {
        diag(" index over");
        return;
    }
    if (cells.empty()) return;
    const auto n = static_cast<std::int64_t>(cells.size());
    if (undo_) {
        undo_->registerUndo(this, [this, index, n] { deleteCells(index, index + n - 1); });
    }
    musicData.insert(musicData.begin() + index, cells.begin(), cells.end());
    refreshPages(*this);
    selCell(selCol + (selectionEnd - index) + 1, selRow);
}

void Document::deleteCells(std::int64_t from, std::int64_t to) {
    if (from < 0 || to < from || to >= cellCount(*this)) return;
    std::vector<std::int64_t> list;
    list.reserve(static_cast<std::size_t>(2 * (to - from + 1)));
    for (std::int64_t i = from; i <= to; ++i) {
        const ScoreCell& cell = musicData[static_cast<std::size_t>(i)];
        list.push_back(cell.noteIndex);
        list.push_back(cell.onpIndex);
    }
    if (undo_) {
        undo_->registerUndo(this,
                            [this, list = std::move(list), from] { insertCellList(list, from); });
    }
    musicData.erase(musicData.begin() + from, musicData.begin() + to + 1);
    refreshPages(*this);
}

}  // namespace sorvel
