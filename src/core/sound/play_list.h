#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "model/score_cell.h"

namespace sorvel {

// One entry of the list a score plays: a frequency (0 for a rest) and a length.
struct PlayEntry {
    float frequency = 0.0f;
    float seconds = 0.0f;
    friend bool operator==(const PlayEntry&, const PlayEntry&) = default;
};

inline constexpr std::int64_t kCellsPerLine = 40;

// Frequency factor of a transposing key: "Bb" sounds a whole tone lower, "Eb" a minor third
// higher; "C" and every other text leave the pitch alone.
float keyFactor(std::string_view key);

// Length of a note value in seconds at the tempo (quarter notes per minute), in single
// precision; 0 for values that take no time or a tempo that is not positive.
float noteSeconds(std::int64_t onpIndex, std::int64_t tempo);

struct PlayListOptions {
    std::int64_t tempo = 120;
    std::string_view key = "C";
    // Plays only the staff line that holds the start cell.
    bool exercise = false;
    std::int64_t cellsPerLine = kCellsPerLine;
};

// The list of (frequency, seconds) that the score sounds from startIndex (the selected cell,
// or any negative value for "from the beginning") to the end, or of the start cell's staff line
// in exercise mode. freqArr is the pitch table, indexed by a cell's noteIndex.
//
// The cells are walked from 0 so that repeat marks before the start are known. Ties carry
// their length into the next sounding note, rests are kept, a repeat end goes back to the last
// repeat start (or cell 0) once, and the part from a first-ending mark to the repeat end is
// skipped on the second pass. Each repeat end goes back at most once, so the walk always ends.
// Every cell walked writes a diagnostic line (in batches, so a long score starts at once).
// entryCells, when given, receives the cell each entry starts at (a tie chain's first cell).
std::vector<PlayEntry> buildPlayList(const std::vector<ScoreCell>& cells, std::int64_t startIndex,
                                     const std::vector<float>& freqArr,
                                     const PlayListOptions& options,
                                     std::vector<std::int64_t>* entryCells = nullptr);

}  // namespace sorvel
