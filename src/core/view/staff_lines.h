#pragma once

#include <string_view>

namespace sorvel {

// The notation font at its staff size fits staff lines kStaffSpace apart and centres a note
// glyph's head kHeadAboveGlyphBox above the bottom of the glyph's line box.
inline constexpr double kStaffSpace = 7.0;
inline constexpr double kHeadAboveGlyphBox = 20.5;

// Staff positions count half spaces up from the lowest ledger line, two spaces below the
// staff: even positions lie on lines, the middle line is position 8.
inline constexpr int kMiddleLinePosition = 8;

// Where a staff puts lines and glyphs, y up. The score's staves, the note-value buttons and
// the phrase builder's note pictures all place by it.
struct StaffLines {
    double middleY = 0;          // y of the middle line
    double space = kStaffSpace;  // distance between two lines

    double y(double position) const {
        return middleY + space / 2 * (position - kMiddleLinePosition);
    }
    // The bottom of the line box of a note glyph whose head sits at position, drawn with the
    // notation font scaled as the staff is.
    double glyphBox(double position) const {
        return y(position) - kHeadAboveGlyphBox * space / kStaffSpace;
    }
};

// Diatonic steps above C0 of a note name ("C0" = 0, "D0" = 1, ... "C1" = 7); a sharp, as in
// "F1#", does not move it.
constexpr int diatonicStep(std::string_view name) {
    constexpr std::string_view kLetters = "CDEFGAB";
    return static_cast<int>(kLetters.find(name[0])) + 7 * (name[1] - '0');
}

}  // namespace sorvel
