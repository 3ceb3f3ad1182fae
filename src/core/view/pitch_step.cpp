#include "view/pitch_step.h"

#include <algorithm>

#include "model/notation_tables.h"
#include "view/gosen_view.h"

namespace sorvel {

std::int64_t stepPitch(std::int64_t pitch, std::int64_t row) {
    if (row < 0 || row > 4) return pitch;
    using tables::kPitchCount;
    const std::int64_t last = kPitchCount - 1;
    const std::int64_t p = std::clamp<std::int64_t>(pitch, 0, last);
    const std::int64_t s = tables::locateArr[static_cast<std::size_t>(p)];
    switch (row) {
        case 0:
            return p == last ? 0 : p + 1;
        case 1:
            return p == last ? 0 : tables::Loc2idx[static_cast<std::size_t>(s + 1)];
        case 2:
            return s == 0 ? last : tables::Loc2idx[static_cast<std::size_t>(s - 1)];
        case 3:
            return p == 0 ? last : p - 1;
        default:
            return p < 22 ? p + 17 : p - 17;
    }
}

void stepStaffPitch(OneCellStaff s, std::int64_t row) {
    GosenView& staff = s.staff;
    if (s.cells.empty()) {
        s.cells.assign(1, ScoreCell{17, 1});
        staff.showCells(&s.cells);
    }
    ScoreCell& cell = s.cells.front();
    cell.noteIndex = stepPitch(cell.noteIndex, row);
    if (tables::validPitch(cell.noteIndex)) {
        staff.selLocate = tables::locateArr[static_cast<std::size_t>(cell.noteIndex)];
    }
    staff.setNeedsDisplay();
}

void setUpOneCellStaff(OneCellStaff s, std::int64_t pitch, std::int64_t value) {
    GosenView& staff = s.staff;
    staff.cellMax = 1;
    staff.resetGosen();
    s.cells.assign(1, ScoreCell{pitch, value});
    staff.showCells(&s.cells);
    staff.setNeedsDisplay();
}

}  // namespace sorvel
