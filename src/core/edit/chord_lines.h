#pragma once

#include <string>
#include <string_view>

namespace sorvel {

// Moves every chord root of a chord line one semitone up (sharp spellings) or down (flat
// spellings). Tokens are separated by single blanks; each new token is followed by one blank,
// so the result always ends in a blank. A token whose root is no chord root stays as typed.
std::string transposeChordLine(std::string_view line, bool up);

// A chord line is one line of the score file: every line break in the text (LF, CR, CR LF,
// VT, FF, NEL, U+2028, U+2029) becomes one blank. Other text stays byte for byte.
std::string chordTextOnOneLine(std::string_view text);

// Whether typing or pasting that turns a chord line from `before` into `after` is refused: it
// makes the line longer than kMaxChordLineChars characters and longer than it was (a longer
// line from a file may still be shortened).
bool chordEditTooLong(std::string_view before, std::string_view after);

}  // namespace sorvel
