#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/score_cell.h"

namespace sorvel {

// The byte form of copied cells on the clipboard:
//
//   "SORVELCELLS" SP version SP count (SP pitch "," value){count} LF
//
// version is 1; count, pitch and value are decimal integers without leading zeros or plus
// signs; count is 1 to kMaxClipCells; every pitch lies in the pitch table and every value in
// the note-value table. Nothing may follow the final line feed, so a cut-off payload never
// reads as a shorter valid one.
inline constexpr std::string_view kClipMagic = "SORVELCELLS";
inline constexpr std::int64_t kClipVersion = 1;
inline constexpr std::int64_t kMaxClipCells = 1'000'000;
// No valid payload of kMaxClipCells cells is longer than this.
inline constexpr std::size_t kMaxClipBytes = 32 + kMaxClipCells * 7;

enum class ClipPayloadError {
    None,
    Empty,
    TooLarge,
    BadHeader,  // not our magic word, or the separators are wrong
    UnsupportedVersion,
    NotNumeric,     // a number is missing, malformed or does not fit
    BadCount,       // count is 0 or above kMaxClipCells
    OddCount,       // a pitch without its value
    CountMismatch,  // fewer or more cells than the count says
    Truncated,      // the final line feed is missing
    PitchOutOfRange,
    ValueOutOfRange,
};

struct ClipDecodeResult {
    std::vector<ScoreCell> cells;  // empty unless error is None
    ClipPayloadError error = ClipPayloadError::None;
    std::size_t offset = 0;  // where the error was found
    bool ok() const { return error == ClipPayloadError::None; }
};

// Encodes cells; the result decodes back to them when every cell is inside the tables.
std::string encodeClipCells(const std::vector<ScoreCell>& cells);

// Decodes a payload: either every cell or an error and no cells. Any input is safe.
ClipDecodeResult decodeClipCells(std::string_view bytes);

// A sentence for the user explaining the error.
std::string describeClipError(ClipPayloadError error);

}  // namespace sorvel
