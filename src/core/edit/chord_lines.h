#pragma once

#include <string>
#include <string_view>

namespace sorvel {

// Moves every chord root of a chord line one semitone up (sharp spellings) or down (flat
// spellings). Tokens are separated by single blanks; each new token is followed by one blank,
// so the result always ends in a blank. A token whose root is no chord root stays as typed.
std::string transposeChordLine(std::string_view line, bool up);

// Whether typing or pasting that turns a chord line from `before` into `after` is refused: it
// makes the line longer than kMaxChordLineChars characters and longer than it was (a longer
// line from a file may still be shortened).
bool chordEditTooLong(std::string_view before, std::string_view after);

}  // namespace sorvel
