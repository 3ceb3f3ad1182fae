#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "model/score_cell.h"
#include "view/gosen_view.h"

namespace sorvel {

class EditableScore;

// One (searched, written) pitch pair of a replacement.
struct ReplacePair {
    std::int64_t searched = 0;
    std::int64_t written = 0;
    friend bool operator==(const ReplacePair&, const ReplacePair&) = default;
};

// The three pairs that carry find pitch a to replacement pitch b in every octave: (a, b)
// first, then the same pair one and two octaves away inside the table. Written pitches that
// leave the table wrap by two octaves; a searched pitch outside the table matches nothing.
std::array<ReplacePair, 3> replacePairs(std::int64_t a, std::int64_t b);

// Replaces the pitches of the cells; each cell is tested once, against its pitch before the
// change, so replacements never chain. Note values stay. Returns the number of cells
// changed. Nothing happens when a or b lies outside the pitch table.
std::int64_t replacePitches(std::vector<ScoreCell>& cells, std::int64_t a, std::int64_t b);

// The replace window's state: a find staff and a replacement staff of one cell each.
class PitchReplacer {
  public:
    PitchReplacer();
    // The staves show the two cells held here, so the replacer stays where it is.
    PitchReplacer(const PitchReplacer&) = delete;
    PitchReplacer& operator=(const PitchReplacer&) = delete;

    // The pitch steps of the find staff and of the replacement staff (rows 0 to 4).
    void btnUpDwn1(std::int64_t row);
    void btnUpDwn2(std::int64_t row);
    // Replaces throughout the score and shows it from its first page. Not recorded for
    // undo. An empty score is left alone. Returns the number of cells changed.
    std::int64_t btnReplace(EditableScore& score);

    std::int64_t findPitch() const { return find_.front().noteIndex; }
    std::int64_t replacementPitch() const { return replacement_.front().noteIndex; }

    GosenView gosen1{"gosenR1"};
    GosenView gosen2{"gosenR2"};

  private:
    std::vector<ScoreCell> find_{ScoreCell{17, 1}};
    std::vector<ScoreCell> replacement_{ScoreCell{17, 1}};
};

}  // namespace sorvel
