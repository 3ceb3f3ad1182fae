#pragma once

#include <cstdint>

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

// Steps the pitch of the staff's first cell, stores its staff position and asks for a
// redraw of the staff.
void stepStaffPitch(GosenView& staff, std::int64_t row);

// Makes the staff a one-cell staff holding the cell (pitch, value).
void setUpOneCellStaff(GosenView& staff, std::int64_t pitch, std::int64_t value);

}  // namespace sorvel
