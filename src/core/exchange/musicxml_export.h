#pragma once

#include <optional>
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
// first ending open the one on the right. Each staff line's chord line is split at blanks;
// a token that reads as a chord symbol becomes a harmony, any other a text direction. Token k
// is placed on the k-th measure of its staff line, or on its k-th note or rest when the line
// has fewer measures than tokens. Blank cells take no time and are not written.
std::string writeMusicXml(const Score& score, std::string_view title);

// One chord symbol as MusicXML harmony content, or nothing when the token is not a chord
// symbol we write as one (root A–G, "#" or "b", a known suffix, an optional "/bass").
struct ChordSymbol {
    char rootStep = 'C';
    int rootAlter = 0;
    std::string kind;    // MusicXML kind value
    std::string suffix;  // the text after the root, kept as the kind's text
    char bassStep = 0;   // 0: no bass note
    int bassAlter = 0;
};
bool parseChordSymbol(std::string_view token, ChordSymbol& out);

// The usual suffix of a MusicXML kind ("minor" gives "m"); nothing for a kind we do not know.
std::optional<std::string> suffixOfKind(std::string_view kind);

// The chord text of a harmony: root, suffix (or the usual suffix of the kind), bass.
std::string chordText(const ChordSymbol& chord);

}  // namespace sorvel::exchange
