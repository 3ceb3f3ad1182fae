#include "edit/cell_primitives.h"

#include <algorithm>
#include <utility>

#include "edit/undo_history.h"
#include "model/notation_tables.h"
#include "model/note_values.h"

namespace sorvel {
namespace {

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

bool CellPrimitives::setCell(std::int64_t index, ScoreCell cell) {
    if (index < 0 || index >= score_.cellCount()) return false;
    const ScoreCell old = score_.musicData[static_cast<std::size_t>(index)];
    if (undo_) undo_->registerUndo(owner_, [this, index, old] { setCell(index, old); });
    score_.musicData[static_cast<std::size_t>(index)] = cell;
    if (listener_) listener_->cellChanged(index);
    return true;
}

bool CellPrimitives::insertCellList(const std::vector<std::int64_t>& list, std::int64_t index) {
    std::vector<ScoreCell> cells;
    cells.reserve(list.size() / 2);
    for (std::size_t k = 0; k + 1 < list.size(); k += 2) cells.push_back({list[k], list[k + 1]});
    return insertCells(cells, index);
}

bool CellPrimitives::insertCells(const std::vector<ScoreCell>& cells, std::int64_t index) {
    if (cells.empty() || index < 0 || index > score_.cellCount()) return false;
    const auto n = static_cast<std::int64_t>(cells.size());
    if (undo_) {
        undo_->registerUndo(owner_, [this, index, n] { deleteCells(index, index + n - 1); });
    }
    score_.musicData.insert(score_.musicData.begin() + index, cells.begin(), cells.end());
    if (listener_) listener_->cellsMoved();
    return true;
}

bool CellPrimitives::deleteCells(std::int64_t from, std::int64_t to) {
    if (from < 0 || to < from || to >= score_.cellCount()) return false;
    const auto first = score_.musicData.begin() + from;
    const auto last = score_.musicData.begin() + to + 1;
    if (undo_) {
        undo_->registerUndo(owner_, [this, cells = std::vector<ScoreCell>(first, last), from] {
            insertCells(cells, from);
        });
    }
    score_.musicData.erase(first, last);
    if (listener_) listener_->cellsMoved();
    return true;
}

void CellPrimitives::transpose(std::int64_t from, std::int64_t to, bool up) {
    from = std::max<std::int64_t>(from, 0);
    to = std::min(to, score_.cellCount());
    for (std::int64_t i = from; i < to; ++i) {
        ScoreCell& cell = score_.musicData[static_cast<std::size_t>(i)];
        if (!isPitched(cell.onpIndex) || !tables::validPitch(cell.noteIndex)) continue;
        cell.noteIndex = transposePitch(cell.noteIndex, up);
    }
}

}  // namespace sorvel
