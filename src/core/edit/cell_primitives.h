#pragma once

#include <cstdint>
#include <vector>

#include "model/score.h"

namespace sorvel {

class UndoHistory;

// The cell primitives of one score. Each records its inverse on the undo history before it
// changes anything (on behalf of owner, the window's document) and then tells its listener,
// which refreshes what shows the score. Out-of-range requests change nothing.
class CellPrimitives {
  public:
    class Listener {
      public:
        virtual ~Listener() = default;
        // The cell at index was rewritten in place.
        virtual void cellChanged(std::int64_t index) = 0;
        // Cells were inserted or deleted: everything from the first changed index moved.
        virtual void cellsMoved() = 0;
    };

    CellPrimitives(Score& score, UndoHistory* undo, const void* owner, Listener* listener)
        : score_(score), undo_(undo), owner_(owner), listener_(listener) {}

    const Score& score() const { return score_; }
    UndoHistory* undoHistory() const { return undo_; }

    // Writes one cell; false when index is outside the score.
    bool setCell(std::int64_t index, ScoreCell cell);
    // Inserts the (pitch, value) pairs of list before index (index == cellCount appends).
    bool insertCellList(const std::vector<std::int64_t>& list, std::int64_t index);
    bool insertCells(const std::vector<ScoreCell>& cells, std::int64_t index);
    // Deletes the cells from..to, both included.
    bool deleteCells(std::int64_t from, std::int64_t to);

    // Moves every pitched cell of [from, to) a semitone up or down, wrapping at the ends of
    // the pitch table; rests, marks and stray pitches stay. Not recorded for undo.
    void transpose(std::int64_t from, std::int64_t to, bool up);

  private:
    Score& score_;
    UndoHistory* undo_;
    const void* owner_;
    Listener* listener_;
};

}  // namespace sorvel
