#include "app/document_cell_editor.h"

#include "app/document.h"

namespace sorvel {

const std::vector<ScoreCell>& DocumentCellEditor::cells() const {
    return doc_.score().musicData;
}

std::int64_t DocumentCellEditor::selStart() const {
    return doc_.selStart();
}

std::int64_t DocumentCellEditor::selEnd() const {
    return doc_.selEnd();
}

void DocumentCellEditor::insertCells(const std::vector<ScoreCell>& cells, std::int64_t index,
                                     std::int64_t selectionEnd) {
    doc_.insertCells(cells, index, selectionEnd);
}

void DocumentCellEditor::deleteCells(std::int64_t from, std::int64_t to) {
    doc_.deleteCells(from, to);
}

void DocumentCellEditor::replaceCellsUnrecorded(const std::vector<ScoreCell>& cells) {
    // Only a rewrite of the same cells in place: a different length would leave the pages
    // and the selection pointing past the score.
    std::vector<ScoreCell>& musicData = doc_.score().musicData;
    if (cells.size() != musicData.size()) return;
    musicData = cells;
}

void DocumentCellEditor::showFromFirstPage() {
    doc_.setTopPage(1);
    doc_.showPage(1);
}

UndoHistory* DocumentCellEditor::undoHistory() const {
    return doc_.undoHistory();
}

}  // namespace sorvel
