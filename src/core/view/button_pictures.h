#pragma once

#include <cstdint>
#include <string_view>

#include "view/canvas.h"
#include "view/geometry.h"
#include "view/staff_lines.h"

namespace sorvel {

// The picture of a note-value button in a box of size: the value's glyph where a staff puts
// it, on the staff's three middle lines drawn closer, so that values told apart by their
// place (the whole rest hangs from a line, the half rest sits on one) differ on their
// buttons too. What the picture leaves untouched stays clear.
void drawValueButton(Canvas& canvas, std::int64_t value, Size size);

// A phrase builder note button shows its picture at this size in points; the pictures are
// drawn at kNotePictureScale times it.
inline constexpr int kNoteButtonWidth = 26;
inline constexpr int kNoteButtonHeight = 56;
inline constexpr int kNotePictureScale = 4;
// The note picture's own measure: nine staff spaces high (two ledger lines below the staff,
// one above, and room for the stems and the clefs), in the button's proportions.
inline constexpr Size kNotePictureSize{9.0 * kStaffSpace * kNoteButtonWidth / kNoteButtonHeight,
                                       9.0 * kStaffSpace};

// The picture of a note button in a box of kNotePictureSize: the note (a name of the phrase
// builder's table, "F1#") on a five-line staff with its clef, white behind. The bass staff
// shows the note two octaves below its name, in its own register.
void drawNoteButton(Canvas& canvas, std::string_view name, bool bassClef);

}  // namespace sorvel
