#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "model/score_cell.h"

namespace sorvel::exchange {

// Divisions of a quarter note in which every note value is a whole number: 48 holds the
// dotted thirty-second (9) and the triplet sixteenth (8).
inline constexpr std::int64_t kDivisions = 48;

// The pitch index a rest or mark gets when nothing else is said: A1, the middle line.
inline constexpr std::int64_t kRestPitch = 17;

// A pitch as staff notation writes it: letter, alteration and scientific octave (A4 = 440 Hz).
struct SpelledPitch {
    char step = 'A';
    std::int64_t alter = 0;
    std::int64_t octave = 4;
    // Semitone number with C4 = 60, as MIDI counts.
    std::int64_t midi() const;
    friend bool operator==(const SpelledPitch&, const SpelledPitch&) = default;
};

// The spelling of a pitch index: our octave digit changes at A, so "C0" is C4 and "A1" is A4.
SpelledPitch spellPitch(std::int64_t noteIndex);

// A pitch index's scientific name, with "#" or "b": "A4" for our "A1", "Bb3" for "B0b".
std::string scientificName(std::int64_t noteIndex);
// Our name first and the scientific one beside it, as a musician reads a pitch: "A1 (A4)".
std::string pitchNameWithScientific(std::int64_t noteIndex);

// The pitch index written exactly so, or nothing when the table has no such name.
std::optional<std::int64_t> pitchIndexOf(const SpelledPitch& pitch);

// The length of a note value in divisions (blank cells and marks take none).
std::int64_t divisionsOf(std::int64_t onpIndex);

// MusicXML type names of the six sizes.
const char* typeName(int size);

}  // namespace sorvel::exchange
