#include "app/entry_cell.h"

#include <string>
#include <utility>

#include "app/window_sound.h"
#include "model/diagnostics.h"
#include "model/notation_tables.h"
#include "model/note_values.h"
#include "sound/tone.h"
#include "view/pitch_step.h"

namespace sorvel {
namespace {

constexpr float kToneSeconds = 0.5f;

}  // namespace

EntryCell::EntryCell(WindowSound& sound) : sound_(sound) {
    staff_.showCells(&cells_);
}

void EntryCell::setRedraw(std::function<void(const GosenView&)> redraw) {
    staff_.onNeedsDisplay = std::move(redraw);
}

void EntryCell::layOut(const Rect& frame, const std::string& setFolder) {
    staff_.setFrame(frame);
    staff_.imgFol = setFolder;
    staff_.cellMax = 1;
    staff_.resetGosen();
    cells_.assign(1, ScoreCell{17, 5});
    staff_.showCells(&cells_);
    staff_.setNeedsDisplay();
}

void EntryCell::take(ScoreCell cell) {
    cells_.front() = cell;
    redraw();
}

void EntryCell::setPitch(std::int64_t pitch) {
    if (AudioOutput* out = sound_.output()) playToneOn(*out, sound_.frequency(pitch), kToneSeconds);
    cells_.front().noteIndex = pitch;
    redraw();
}

void EntryCell::stepPitch(std::int64_t row) {
    diag(std::to_string(row));
    ScoreCell& entry = cells_.front();
    if (row >= 0 && row <= 4) {
        // The same five steps as every one-cell staff (a stray pitch is brought into the
        // table first).
        entry.noteIndex = sorvel::stepPitch(entry.noteIndex, row);
        staff_.selLocate = tables::locateArr[static_cast<std::size_t>(entry.noteIndex)];
    }
    redraw();
    if (AudioOutput* out = sound_.output()) {
        playToneOn(*out, sound_.frequency(entry.noteIndex), kToneSeconds);
    }
}

void EntryCell::setValue(std::int64_t row, std::int64_t column) {
    ScoreCell& entry = cells_.front();
    if (const auto v = matrixValue(row, column)) {
        // Rests and marks are written at the middle pitch; notes keep the entry's pitch.
        entry = noteValue(*v).kind == NoteKind::Note ? ScoreCell{entry.noteIndex, *v}
                                                     : ScoreCell{17, *v};
    } else if (row == 2 && column == 0) {
        entry.onpIndex = 0;
    } else if (row == 2 && column == 1) {
        takePartner(&NoteValue::dotToggle);
        return;
    }
    redraw();
}

void EntryCell::takePartner(std::int64_t NoteValue::*partner) {
    // A blank (or stray) value has no partner forms.
    ScoreCell& entry = cells_.front();
    if (validValue(entry.onpIndex)) entry.onpIndex = noteValue(entry.onpIndex).*partner;
    redraw();
}

void EntryCell::toggleTriplet() {
    takePartner(&NoteValue::triplet);
}

void EntryCell::toggleTie() {
    takePartner(&NoteValue::tie);
}

void EntryCell::swapForm() {
    takePartner(&NoteValue::alternate);
}

}  // namespace sorvel
