#pragma once

#include <cstdint>
#include <vector>

#include "model/score_cell.h"

namespace sorvel {

class UndoHistory;

// A score window's score as the clipboard commands and the replace window edit it: its cells,
// its selection and the cell primitives. The window's document implements it.
class EditableScore {
  public:
    virtual ~EditableScore() = default;

    // The score, in order.
    virtual const std::vector<ScoreCell>& cells() const = 0;
    // Score index of the first and last selected cell, or -1 when outside the score.
    virtual std::int64_t selStart() const = 0;
    virtual std::int64_t selEnd() const = 0;

    // Cell primitives: each records its inverse on the undo history and refreshes the
    // staves. insertCells also moves the selection to column
    // selCol + (selectionEnd - index) + 1 of its row.
    virtual void insertCells(const std::vector<ScoreCell>& cells, std::int64_t index,
                             std::int64_t selectionEnd) = 0;
    virtual void deleteCells(std::int64_t from, std::int64_t to) = 0;

    // Writes the whole score without recording anything for undo (same length as cells()).
    virtual void replaceCellsUnrecorded(const std::vector<ScoreCell>& cells) = 0;
    // Sets the page labels to 1, 2, 3 and shows the score from its first page.
    virtual void showFromFirstPage() = 0;

    // The application's undo history the primitives record on (nullptr: none).
    virtual UndoHistory* undoHistory() const = 0;
};

}  // namespace sorvel
