#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sorvel::exchange {

// A degree a chord symbol adds to, alters in or leaves out of its kind: "b9" adds the ninth a
// semitone down, "#5" raises the fifth, "no3" leaves the third out.
struct ChordDegree {
    enum class Type { Add, Alter, Subtract };
    int value = 0;  // 2..13
    int alter = 0;  // -1, 0 or 1
    Type type = Type::Add;
    friend bool operator==(const ChordDegree&, const ChordDegree&) = default;
};

// One chord symbol of a chord line as MusicXML harmony content.
struct ChordSymbol {
    char rootStep = 'C';
    int rootAlter = 0;
    std::string kind;  // MusicXML kind value
    std::vector<ChordDegree> degrees;
    std::string suffix;  // the text after the root, kept as the kind's text
    char bassStep = 0;   // 0: no bass note
    int bassAlter = 0;
};

// A chord line token as a chord symbol (root A-G with "#" or "b", a suffix of the pattern
// table's names such as "m7", "maj7", "7sus4" or "m7b5" with degrees after it such as "b9",
// "#11" or "add9", and an optional "/bass"), or nothing when it is not one.
std::optional<ChordSymbol> parseChordSymbol(std::string_view token);

// The suffix we write for a MusicXML kind with degrees ("minor-seventh" gives "m7",
// "dominant" with a flat ninth "7b9"), or nothing for a kind we have no name for.
std::optional<std::string> suffixOf(std::string_view kind, const std::vector<ChordDegree>& degrees);

// The chord line text of a symbol: root, suffix, "/" and bass.
std::string chordText(const ChordSymbol& chord);

}  // namespace sorvel::exchange
