#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/entry_cell.h"
#include "app/staff_pages.h"
#include "app/window_sound.h"
#include "edit/cell_primitives.h"
#include "edit/editable_score.h"
#include "model/score.h"
#include "model/score_cell.h"
#include "sound/score_player.h"
#include "view/geometry.h"
#include "view/gosen_view.h"
#include "view/key_dispatch.h"

namespace sorvel {

class AudioOutput;
class UndoHistory;
namespace testing {
struct DocumentAccess;
}

// What a score window shows of its document. The widgets mirror the document's state.
class DocumentObserver {
  public:
    virtual ~DocumentObserver() = default;
    virtual void staffNeedsDisplay(const GosenView& staff) = 0;
    // Labels, chord fields, combo boxes, the reference-pitch field or the pointer changed.
    virtual void controlsChanged() = 0;
    // Ends any text editing in the window (the field's text is kept).
    virtual void endEditing() = 0;
    // What a save writes changed, or whether the score is modified did.
    virtual void scoreChanged() {}
};

// Frames of the staves in window coordinates, as the window lays them out.
struct DocumentLayout {
    Rect gosen1, gosen2, gosen3, gosenE;
};

// The document as save, print and export read it, at one moment: the score with the text of
// the chord fields stored, the window's pitch table and the name of its picture set.
struct ScoreSnapshot {
    Score score;
    std::vector<float> freqArr;
    std::string imageSet;
};

// Image sets in a set folder: its sub-folders, by name.
std::vector<std::string> listImageSets(const std::string& setFolder);

// One score window's document: the score, its cell primitives and undo, and the parts of the
// window that show it: the staff pages, the entry cell and the window's sound. It is what the
// window's keys and clicks act on (ScoreCommands) and what the clipboard and the replace
// window edit (EditableScore). It knows the file it is bound to and whether it is modified.
class Document final : public ScoreCommands,
                       public EditableScore,
                       private CellPrimitives::Listener {
  public:
    // undo: a history shared with other documents (tests); by default the document has its own.
    explicit Document(UndoHistory* undo = nullptr, AudioOutput* audio = nullptr);
    ~Document() override;
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    void setObserver(DocumentObserver* observer);
    void setAudioOutput(AudioOutput* audio) { sound_.setOutput(audio); }

    // Window set-up, run once when the score window has been laid out.
    void windowControllerDidLoadNib(const DocumentLayout& layout, const std::string& setFolder);

    // The parts, to read.
    const Score& score() const { return score_; }
    const StaffPages& pages() const { return pages_; }
    const EntryCell& entry() const { return entry_; }
    const WindowSound& sound() const { return sound_; }

    // The whole score: opening one shows it from page 1 with its settings (the reference
    // pitch in the field, applied when the field is), as after opening a file.
    void open(const Score& score);
    // Stores the chord fields into the chord lines, then copies what save, print and export
    // read.
    ScoreSnapshot snapshot();
    // What the play button starts from: the score, the selected cell and the window's table.
    PlayRequest playRequest(bool exercise) const;
    // The cell playback sounds now (-1: none): marked on the staves, which follow it; the
    // selection is not changed.
    void showSounding(std::int64_t cell) { pages_.showSounding(cell); }

    // The file the score was opened from or saved to; "" for a new or imported score.
    const std::string& filePath() const { return filePath_; }
    // Whether Save writes filePath() again without asking: not for a score restored from a
    // recovery snapshot, as its file may have changed since.
    bool savesInPlace() const { return !filePath_.empty() && !restored_; }
    // Whether a save would write other than what was opened or last saved (for a new score:
    // than its set-up). Undoing back to that state clears it; chord lines that differ only in
    // trailing blanks, as page turns leave them, count as the same.
    bool modified() const { return modified_; }
    // The score was read from or written to path: bound to it, and not modified.
    void markSaved(const std::string& path);
    // The score came back from a recovery snapshot: modified until saved, and bound to path
    // ("" for none) only for its title and the save dialog.
    void markRestored(const std::string& path);
    UndoHistory& history() { return *undo_; }

    // The page buttons and the picture menu.
    void btnPageUp();
    void btnPageDown();
    void cmbImage();
    // A chord field was edited, and its editing ended (the fields are stored).
    void setChordField(std::size_t field, std::string text);
    void controlTextDidEndEditing();

    // The image sets of the set folder (the choices of the picture menu) and the one the
    // staves draw with ("" for none).
    const std::vector<std::string>& imageSets() const { return imageSets_; }
    // Replaces the choices (the set folder was read again); the choice is kept by index.
    void setImageSets(std::vector<std::string> names) { imageSets_ = std::move(names); }
    std::string imageSet() const { return itemText(imageSets_, score_.settings.imageSet); }
    // Choices of the window's menus; an index naming no item clears the choice.
    void chooseImageSet(std::int64_t index);
    void chooseTempo(std::int64_t index);
    void chooseKey(std::int64_t index);
    void chooseBeat(std::int64_t index);

    // The reference-pitch field was edited: saved as typed, applied by chgFreq, which makes
    // its integer the score's reference pitch and rebuilds the window's tuning table.
    void setReferencePitchText(const std::string& text);
    void chgFreq();

    // Transposes a semitone (row 0 up, 1 down): the selected range, or the whole score and,
    // with the check box on, its chord lines.
    void btnAllUpDown(std::int64_t row);
    bool withCode() const { return withCode_; }
    void setWithCode(bool on) { withCode_ = on; }

    // The phrase builder's line: appended as one undoable step, then the score is shown from
    // its first page as after opening a file. An empty list only shows the first page.
    void appendCells(const std::vector<ScoreCell>& cells);

    // The commands of the window's keys and buttons (ScoreCommands).
    void setEntryPitch(std::int64_t pitch) override { entry_.setPitch(pitch); }
    void stepEntryPitch(std::int64_t row) override { entry_.stepPitch(row); }
    void setEntryValue(std::int64_t row, std::int64_t column) override {
        entry_.setValue(row, column);
    }
    void toggleTriplet() override { entry_.toggleTriplet(); }
    void toggleTie() override { entry_.toggleTie(); }
    void swapEntryForm() override { entry_.swapForm(); }
    void btnUPDate() override;
    void btnIns() override;
    void btnADD() override;
    void btnDel() override;
    void selCell(std::int64_t column, std::int64_t row) override;
    void selCellTo(std::int64_t column, std::int64_t row) override;
    // Ends any editing in the window's fields.
    void endEditing() override;

    // The selected cells and the primitives that move cells (EditableScore), each recording
    // its inverse on the undo history first.
    std::int64_t selStart() const override { return pages_.selStart(); }
    std::int64_t selEnd() const override { return pages_.selEnd(); }
    void insertCells(const std::vector<ScoreCell>& cells, std::int64_t index,
                     std::int64_t selectionEnd) override;
    void deleteCells(std::int64_t from, std::int64_t to) override;

  private:
    // The test builder sets up states no click reaches (a page without its buttons).
    friend struct testing::DocumentAccess;

    // What the key logic and the clipboard read and redraw through their interfaces.
    void redrawEntry() override { entry_.redraw(); }
    Selection selection() const override { return pages_.selection(); }
    std::int64_t staffCellMax(std::int64_t row) const override;
    void setStaffSelectedCell(std::int64_t row, std::int64_t column) override;
    void redrawStaff(std::int64_t row) override { pages_.redraw(row); }
    std::int64_t cellCount() const override { return score_.cellCount(); }
    const std::vector<ScoreCell>& cells() const override { return score_.musicData; }
    void replaceCellsUnrecorded(const std::vector<ScoreCell>& cells) override;
    void showFromFirstPage() override;
    UndoHistory* undoHistory() const override { return undo_; }

    // CellPrimitives::Listener: what shows the score follows its cells.
    void cellChanged(std::int64_t index) override;
    void cellsMoved() override;
    void controlsChanged();
    // After every change of what a save writes.
    void contentChanged();
    void markClean();
    bool matchesClean() const;

    Score score_;
    std::unique_ptr<UndoHistory> ownHistory_;
    UndoHistory* undo_ = nullptr;
    CellPrimitives primitives_;
    WindowSound sound_;
    EntryCell entry_;
    StaffPages pages_;
    std::vector<std::string> imageSets_;
    bool withCode_ = false;
    DocumentObserver* observer_ = nullptr;
    // What was opened or last saved; nothing after a restore.
    std::optional<Score> clean_;
    std::string filePath_;
    bool restored_ = false;
    bool modified_ = false;
};

}  // namespace sorvel
