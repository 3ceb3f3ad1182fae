#include "app/replace.h"

#include "edit/editable_score.h"
#include "model/notation_tables.h"
#include "view/pitch_step.h"

namespace sorvel {
namespace {

constexpr std::int64_t kOctave = 17;

std::int64_t wrapWritten(std::int64_t p) {
    if (p >= tables::kPitchCount) return p - 2 * kOctave;
    if (p < 0) return p + 2 * kOctave;
    return p;
}

ReplacePair shifted(std::int64_t a, std::int64_t b, std::int64_t by) {
    return {a + by, wrapWritten(b + by)};
}

}  // namespace

std::array<ReplacePair, 3> replacePairs(std::int64_t a, std::int64_t b) {
    if (a >= 2 * kOctave) return {{{a, b}, shifted(a, b, -kOctave), shifted(a, b, -2 * kOctave)}};
    if (a < kOctave) return {{{a, b}, shifted(a, b, kOctave), shifted(a, b, 2 * kOctave)}};
    return {{{a, b}, shifted(a, b, -kOctave), shifted(a, b, kOctave)}};
}

std::int64_t replacePitches(std::vector<ScoreCell>& cells, std::int64_t a, std::int64_t b) {
    if (!tables::validPitch(a) || !tables::validPitch(b)) return 0;
    const auto pairs = replacePairs(a, b);
    std::int64_t changed = 0;
    for (ScoreCell& cell : cells) {
        for (const ReplacePair& pair : pairs) {
            if (cell.noteIndex != pair.searched) continue;
            if (pair.written != cell.noteIndex) ++changed;
            cell.noteIndex = pair.written;
            break;
        }
    }
    return changed;
}

PitchReplacer::PitchReplacer() {
    setUpOneCellStaff({gosen1, find_}, 17, 1);
    setUpOneCellStaff({gosen2, replacement_}, 17, 1);
}

void PitchReplacer::btnUpDwn1(std::int64_t row) {
    stepStaffPitch({gosen1, find_}, row);
}

void PitchReplacer::btnUpDwn2(std::int64_t row) {
    stepStaffPitch({gosen2, replacement_}, row);
}

std::int64_t PitchReplacer::btnReplace(EditableScore& score) {
    if (score.cells().empty()) return 0;
    std::vector<ScoreCell> cells = score.cells();
    const std::int64_t changed = replacePitches(cells, findPitch(), replacementPitch());
    if (changed > 0) score.replaceCellsUnrecorded(cells);
    score.showFromFirstPage();
    return changed;
}

}  // namespace sorvel
