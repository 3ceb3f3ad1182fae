#pragma once

#include <cstdint>
#include <vector>

#include "model/score_cell.h"

namespace sorvel {

class GosenView;

// The five pitch steps of a one-cell staff, by button row:
//   0 the next entry of the pitch table (C2 wraps to A0),
//   1 the natural note one staff position up (C2 wraps to A0),
//   2 the natural note one staff position down (A0 and A0#, at the lowest position, wrap to
//     C2),
//   3 the previous entry of the pitch table (A0 wraps to C2),
//   4 an octave: up below C1#, otherwise down.
// Any other row leaves the pitch as it is. A pitch outside the table is brought into it
// first.
std::int64_t stepPitch(std::int64_t pitch, std::int64_t row);

// A staff of one cell that it shows from its owner (the entry cell, the tuner's note, the
// find and replacement notes).
struct OneCellStaff {
    GosenView& staff;
    std::vector<ScoreCell>& cells;
};

// Steps the pitch of the cell, stores its staff position and asks for a redraw of the staff.
void stepStaffPitch(OneCellStaff s, std::int64_t row);

// Makes the staff a one-cell staff showing the cell (pitch, value).
void setUpOneCellStaff(OneCellStaff s, std::int64_t pitch, std::int64_t value);

}  // namespace sorvel
