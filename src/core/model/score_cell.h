#pragma once

#include <cstdint>

namespace sorvel {

// One cell of a score: pitch index first, note-value index second.
struct ScoreCell {
    std::int64_t noteIndex = 0;
    std::int64_t onpIndex = 0;

    friend bool operator==(const ScoreCell&, const ScoreCell&) = default;
};

}  // namespace sorvel
