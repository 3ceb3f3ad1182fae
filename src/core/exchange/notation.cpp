#include "exchange/notation.h"

#include <cmath>

#include "model/notation_tables.h"
#include "model/note_values.h"

namespace sorvel::exchange {
namespace {

constexpr int stepSemitone(char step) {
    switch (step) {
        case 'C':
            return 0;
        case 'D':
            return 2;
        case 'E':
            return 4;
        case 'F':
            return 5;
        case 'G':
            return 7;
        case 'A':
            return 9;
        default:
            return 11;  // B
    }
}

constexpr const char* kTypeNames[6] = {"whole", "half", "quarter", "eighth", "16th", "32nd"};

}  // namespace

std::int64_t SpelledPitch::midi() const {
    return 12 * (octave + 1) + stepSemitone(step) + alter;
}

SpelledPitch spellPitch(std::int64_t noteIndex) {
    if (!tables::validPitch(noteIndex)) noteIndex = 17;
    const std::string_view name = tables::noteArr[static_cast<std::size_t>(noteIndex)];
    SpelledPitch p;
    p.step = name[0];
    const std::int64_t digit = name[1] - '0';
    p.octave = (p.step == 'A' || p.step == 'B') ? digit + 3 : digit + 4;
    p.alter = tables::shflArr[static_cast<std::size_t>(noteIndex)];
    return p;
}

std::string scientificName(std::int64_t noteIndex) {
    const SpelledPitch p = spellPitch(noteIndex);
    std::string name(1, p.step);
    if (p.alter > 0) name += '#';
    if (p.alter < 0) name += 'b';
    return name + std::to_string(p.octave);
}

std::string pitchNameWithScientific(std::int64_t noteIndex) {
    if (!tables::validPitch(noteIndex)) return {};
    return std::string(tables::noteArr[static_cast<std::size_t>(noteIndex)]) + " (" +
           scientificName(noteIndex) + ")";
}

std::optional<std::int64_t> pitchIndexOf(const SpelledPitch& pitch) {
    for (std::int64_t i = 0; i < tables::kPitchCount; ++i) {
        if (spellPitch(i) == pitch) return i;
    }
    return std::nullopt;
}

const char* typeName(int size) {
    return kTypeNames[size >= 0 && size < 6 ? size : 2];
}

std::int64_t divisionsOf(std::int64_t onpIndex) {
    return std::llround(static_cast<double>(noteValue(onpIndex).beats) * kDivisions);
}

}  // namespace sorvel::exchange
