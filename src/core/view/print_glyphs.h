#pragma once

#include <string_view>

namespace sorvel {

// How a note-value glyph is printed. Tied and triplet values have glyphs of their own on
// screen; on paper they are printed as the plain note or rest glyph, and the tie arc or the
// triplet bracket is drawn as a line instead.
enum class PrintGlyphRole {
    Plain,
    TieUp,         // a tied note with its arc below the heads
    TieDown,       // a tied note with its arc above the heads
    TripletAbove,  // a triplet member whose group takes its bracket above
    TripletBelow,  // a triplet member whose group takes its bracket below
};

struct PrintGlyph {
    std::string_view glyph;
    PrintGlyphRole role = PrintGlyphRole::Plain;
};

// The printed form of an on-screen note-value glyph (an onpArr entry).
constexpr PrintGlyph printGlyphFor(std::string_view onp) {
    if (onp.size() != 1) return {onp, PrintGlyphRole::Plain};
    constexpr std::string_view tieUp = "012345";          // for "n".."s"
    constexpr std::string_view tieDown = "0ABCDE";        // for "t".."y"
    constexpr std::string_view triplet = "234FGNBCDFGN";  // for "X" "Y" "Z", then "a".."i"
    const char c = onp[0];
    if (c >= 'n' && c <= 's') return {tieUp.substr(c - 'n', 1), PrintGlyphRole::TieUp};
    if (c >= 't' && c <= 'y') return {tieDown.substr(c - 't', 1), PrintGlyphRole::TieDown};
    if (c >= 'X' && c <= 'Z') return {triplet.substr(c - 'X', 1), PrintGlyphRole::TripletAbove};
    if (c >= 'a' && c <= 'i') {
        return {triplet.substr(3 + (c - 'a'), 1), PrintGlyphRole::TripletBelow};
    }
    return {onp, PrintGlyphRole::Plain};
}

}  // namespace sorvel
