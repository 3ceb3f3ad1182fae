#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "model/note_values.h"
#include "model/score_cell.h"
#include "view/geometry.h"
#include "view/gosen_view.h"

namespace sorvel {

class WindowSound;

// The entry cell of a score window: the one cell on the entry staff that the keys and the
// pitch and value buttons shape before it goes into the score, and the tone of its pitch.
// Every key that sounds a pitch comes here.
class EntryCell {
  public:
    explicit EntryCell(WindowSound& sound);
    EntryCell(const EntryCell&) = delete;
    EntryCell& operator=(const EntryCell&) = delete;

    ScoreCell cell() const { return cells_.front(); }
    const GosenView& staff() const { return staff_; }
    // Who redraws the entry staff.
    void setRedraw(std::function<void(const GosenView&)> redraw);

    // Window set-up: the staff's frame and pictures, and the first entry (A1 quarter).
    void layOut(const Rect& frame, const std::string& setFolder);

    // The selected score cell becomes the entry; it does not sound.
    void take(ScoreCell cell);
    // A piano key: sounds the pitch, then makes it the entry's.
    void setPitch(std::int64_t pitch);
    // The pitch steps of the entry staff (rows 0 to 4, see stepPitch); the new pitch sounds.
    void stepPitch(std::int64_t row);
    // A note-value button: row and column of the matrix (see matrixValue); the blank and dot
    // buttons change the value in place.
    void setValue(std::int64_t row, std::int64_t column);
    void toggleTriplet();
    void toggleTie();
    // The other glyph family (stem down, bracket below) and back.
    void swapForm();
    void redraw() const { staff_.setNeedsDisplay(); }

  private:
    // The entry's value becomes its partner of one kind (dotted, triplet, tied, other form).
    void takePartner(std::int64_t NoteValue::*partner);
    WindowSound& sound_;
    GosenView staff_{"gosenE"};
    // The staff shows this one cell.
    std::vector<ScoreCell> cells_{ScoreCell{}};
};

}  // namespace sorvel
