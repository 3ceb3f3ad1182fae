#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/score_cell.h"

namespace sorvel::exchange {

// A score as the exchange formats see it: the cells, one chord line per staff line of 40
// cells, and the settings as values rather than combo-box positions.
struct ScoreData {
    std::vector<ScoreCell> cells;
    std::vector<std::string> chordLines;
    std::int64_t tempo = 120;  // quarter notes per minute
    std::string key = "C";     // transposing key: "C", "Bb" or "Eb"
    std::int64_t beats = 4;    // beats (quarter notes) per bar
    std::int64_t referenceHz = 440;
    std::string title;
    friend bool operator==(const ScoreData&, const ScoreData&) = default;
};

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

// The pitch index written exactly so, or nothing when the table has no such name.
std::optional<std::int64_t> pitchIndexOf(const SpelledPitch& pitch);

// What a note-value index is in notation.
enum class ValueKind { None, Note, Rest, Bar, RepeatStart, RepeatEnd, FirstEnding };

struct NoteValue {
    ValueKind kind = ValueKind::None;
    int size = 0;  // 0 whole, 1 half, 2 quarter, 3 eighth, 4 sixteenth, 5 thirty-second
    bool dotted = false;
    bool triplet = false;
    bool tieStart = false;
    bool alternate = false;  // the other glyph: stem down, bracket below
    std::int64_t divisions = 0;
};

NoteValue describeValue(std::int64_t onpIndex);

// The note-value index of a description (kind Note or Rest); nothing when there is none,
// e.g. a dotted triplet or a tied dotted note.
std::optional<std::int64_t> valueIndexOf(const NoteValue& value);

// MusicXML type names of the six sizes.
const char* typeName(int size);

}  // namespace sorvel::exchange
