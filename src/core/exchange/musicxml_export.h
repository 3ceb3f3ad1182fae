#pragma once

#include <string>
#include <string_view>

#include "model/score.h"

namespace sorvel::exchange {

// A score as a MusicXML 4.0 partwise document: one part, one voice; the title, when there is
// one, as its work title.
//
// Bar lines, repeat marks and first-ending marks end a measure; a measure holds exactly the
// cells between them, so a measure shorter or longer than the time signature is written as it
// is (a short first measure is marked implicit, as a pickup). Marks with no note between them
// share one boundary: a bar or repeat end closes the measure on the left, a repeat start and a
// first ending open the one on the right. A chord line holds one character column per cell of
// its staff line: a text that reads as a chord symbol becomes a harmony with its kind and
// degrees, any other a text direction, each before the note or rest under its first column
// (the next one when a mark stands there). Blank cells take no time and are not written.
std::string writeMusicXml(const Score& score, std::string_view title);

}  // namespace sorvel::exchange
