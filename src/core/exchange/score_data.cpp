#include "exchange/score_data.h"

#include "model/notation_tables.h"

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

constexpr std::int64_t kSizeDivisions[6] = {192, 96, 48, 24, 12, 6};
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

std::optional<std::int64_t> pitchIndexOf(const SpelledPitch& pitch) {
    for (std::int64_t i = 0; i < tables::kPitchCount; ++i) {
        if (spellPitch(i) == pitch) return i;
    }
    return std::nullopt;
}

const char* typeName(int size) {
    return kTypeNames[size >= 0 && size < 6 ? size : 2];
}

NoteValue describeValue(std::int64_t v) {
    NoteValue n;
    auto plain = [&](std::int64_t rel, ValueKind kind) {
        n.kind = kind;
        n.size = static_cast<int>(rel / 2);
        n.dotted = rel % 2 == 1;
        n.divisions = kSizeDivisions[n.size] * (n.dotted ? 3 : 2) / 2;
    };
    auto triplet = [&](std::int64_t rel, ValueKind kind) {
        n.kind = kind;
        n.size = static_cast<int>(rel) + 2;  // quarter, eighth, sixteenth
        n.triplet = true;
        n.divisions = kSizeDivisions[n.size] * 2 / 3;
    };
    if (v >= 1 && v <= 12) {
        plain(v - 1, ValueKind::Note);
    } else if (v >= 13 && v <= 24) {
        plain(v - 13, ValueKind::Rest);
    } else if (v == 25) {
        n.kind = ValueKind::Bar;
    } else if (v == 26) {
        n.kind = ValueKind::RepeatStart;
    } else if (v == 27) {
        n.kind = ValueKind::RepeatEnd;
    } else if (v == 28) {
        n.kind = ValueKind::FirstEnding;
    } else if (v >= 29 && v <= 40) {
        plain(v - 29, ValueKind::Note);
        n.alternate = true;
    } else if (v >= 41 && v <= 43) {
        triplet(v - 41, ValueKind::Note);
    } else if (v >= 44 && v <= 46) {
        triplet(v - 44, ValueKind::Rest);
    } else if (v >= 47 && v <= 49) {
        triplet(v - 47, ValueKind::Note);
        n.alternate = true;
    } else if (v >= 50 && v <= 52) {
        triplet(v - 50, ValueKind::Rest);
        n.alternate = true;
    } else if (v >= 53 && v <= 64) {
        n.kind = ValueKind::Note;
        n.size = static_cast<int>((v - 53) % 6);
        n.tieStart = true;
        n.alternate = v >= 59;
        n.divisions = kSizeDivisions[n.size];
    }
    return n;
}

std::optional<std::int64_t> valueIndexOf(const NoteValue& n) {
    if (n.size < 0 || n.size > 5) return std::nullopt;
    const bool note = n.kind == ValueKind::Note;
    if (!note && n.kind != ValueKind::Rest) return std::nullopt;
    if (n.triplet) {
        if (n.dotted || n.tieStart || n.size < 2 || n.size > 4) return std::nullopt;
        const std::int64_t base = note ? (n.alternate ? 47 : 41) : (n.alternate ? 50 : 44);
        return base + (n.size - 2);
    }
    if (n.tieStart) {
        if (!note || n.dotted) return std::nullopt;
        return (n.alternate ? 59 : 53) + n.size;
    }
    const std::int64_t rel = 2 * n.size + (n.dotted ? 1 : 0);
    if (!note) return 13 + rel;  // rests have one form
    return (n.alternate ? 29 : 1) + rel;
}

}  // namespace sorvel::exchange
