#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "edit/score_editor.h"
#include "model/score.h"
#include "model/score_cell.h"
#include "sound/score_player.h"
#include "view/geometry.h"
#include "view/gosen_view.h"

namespace sorvel {

class AudioOutput;
class UndoHistory;

// What a score window shows of its document. The widgets mirror the document's state.
class DocumentObserver {
  public:
    virtual ~DocumentObserver() = default;
    virtual void staffNeedsDisplay(const GosenView& staff) = 0;
    // Labels, chord fields, combo boxes, the reference-pitch field or the pointer changed.
    virtual void controlsChanged() = 0;
    // Ends any text editing in the window (the field's text is kept).
    virtual void endEditing() = 0;
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

// One score window's document: the score, its editor and undo, and the state of the window
// that shows it (page, selection, staves, the texts of its fields).
class Document : private ScoreEditor::Listener {
  public:
    explicit Document(UndoHistory* undo = nullptr, AudioOutput* audio = nullptr);
    ~Document() override;
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    void setObserver(DocumentObserver* observer);
    void setAudioOutput(AudioOutput* audio) { audio_ = audio; }
    AudioOutput* audioOutput() const { return audio_; }
    UndoHistory* undoHistory() const { return undo_; }

    // The score. Writing its cells directly bypasses undo: call showPage after.
    Score& score() { return score_; }
    const Score& score() const { return score_; }
    ScoreSettings& settings() { return score_.settings; }
    const ScoreSettings& settings() const { return score_.settings; }
    std::int64_t cellCount() const { return score_.cellCount(); }

    // Stores the chord fields into the chord lines, then copies what save, print and export
    // read.
    ScoreSnapshot snapshot();
    // What the play button starts from: the score, the selected cell and the window's table.
    PlayRequest playRequest(bool exercise) const;

    // Window set-up, run once when the score window has been laid out.
    void windowControllerDidLoadNib(const DocumentLayout& layout, const std::string& setFolder);

    // Page refresh: shows pages P, P+1, P+2.
    void showPage(std::int64_t P);
    void selCell(std::int64_t column, std::int64_t row);
    void selCellTo(std::int64_t column, std::int64_t row);
    void storeChordFields();
    void btnPageUp();
    void btnPageDown();
    void cmbImage();

    // The top page P of the three shown (the page labels show P, P+1, P+2); the page
    // buttons move it, showPage does not.
    std::int64_t topPage() const { return topPage_; }
    void setTopPage(std::int64_t P) { topPage_ = P; }
    // Number of pages of the score as the last showPage counted them.
    std::int64_t pageCount() const { return pageCount_; }
    // Score index of the first cell of the top staff.
    std::int64_t startCell() const { return startCell_; }
    // The staff of row 1..3, or nullptr.
    GosenView* staffOfRow(std::int64_t row);
    const GosenView* staffOfRow(std::int64_t row) const;

    // The image sets of the set folder (the choices of the picture menu) and the one the
    // staves draw with ("" for none).
    const std::vector<std::string>& imageSets() const { return imageSets_; }
    // Replaces the choices (the set folder was read again); the choice is kept by index.
    void setImageSets(std::vector<std::string> names) { imageSets_ = std::move(names); }
    std::string imageSet() const { return itemText(imageSets_, settings().imageSet); }
    // Choices of the window's menus; an index naming no item clears the choice.
    void chooseImageSet(std::int64_t index);
    void chooseTempo(std::int64_t index);
    void chooseKey(std::int64_t index);
    void chooseBeat(std::int64_t index);

    // The entry cell (the single cell of gosenE).
    ScoreCell& entryCell() { return entry_.front(); }
    const ScoreCell& entryCell() const { return entry_.front(); }

    // Entry cell and cell commands.
    void stepEntryPitch(std::int64_t row);
    void setEntryValue(std::int64_t row, std::int64_t column);
    void toggleTriplet();
    void toggleTie();
    void btnUPDate();
    void btnIns();
    void btnADD();
    void btnDel();
    void btnAllUpDown(std::int64_t row);

    // Cell primitives; each records its inverse on the undo history first. The staff and
    // column of setCell are where the cell was shown when the change was asked for.
    void setCell(GosenView& view, std::int64_t column, std::int64_t index, std::int64_t p,
                 std::int64_t v);
    void insertCellList(const std::vector<std::int64_t>& list, std::int64_t index);
    void insertCells(const std::vector<ScoreCell>& cells, std::int64_t index,
                     std::int64_t selectionEnd);
    void deleteCells(std::int64_t from, std::int64_t to);
    std::int64_t selStart() const;
    std::int64_t selEnd() const;

    // A chord field ended editing.
    void controlTextDidEndEditing() { storeChordFields(); }

    // Sound.
    void playTone(float frequency, float seconds);
    void playClick(float frequency, float seconds);
    // Applies the reference-pitch field: its integer becomes the score's reference pitch
    // and the window's tuning table is rebuilt from it.
    void chgFreq();
    // The reference-pitch field was edited (applied by chgFreq; saved as typed).
    void setReferencePitchText(const std::string& text);
    // The window's one tuning table, indexed by noteIndex: the fixed whole-Hz table until the
    // reference pitch is first applied.
    const std::vector<float>& freqArr() const { return freqArr_; }

    // The selection: rows 1..3 of the staves shown and 1-based columns.
    std::int64_t gosenCellMax = 40;
    std::int64_t selRow = 1, selCol = 1;
    std::int64_t selRowTo = 1, selColTo = 1;
    Size pointerSize;

    // The staves and the state of the window's fields.
    GosenView gosen1{"gosen1"}, gosen2{"gosen2"}, gosen3{"gosen3"}, gosenE{"gosenE"};
    Rect celPointer;
    std::array<std::string, 3> cdText;
    std::string A_Hz;
    bool withCode = false;

    // Tells the window that labels, fields or the pointer changed.
    void controlsChanged();
    void endEditing();

  private:
    void cellChanged(std::int64_t index) override;
    void cellsMoved() override;
    // Wraps a position at the staff ends; false when it leaves the staves or the score.
    bool wrapToCell(std::int64_t& column, std::int64_t& row) const;
    void pointStavesAt(std::int64_t first);
    void refreshTopPage();
    void redrawScoreStaves();

    Score score_;
    UndoHistory* undo_ = nullptr;
    ScoreEditor editor_;
    std::vector<ScoreCell> entry_{ScoreCell{}};
    std::vector<std::string> imageSets_;
    std::vector<float> freqArr_;
    std::int64_t startCell_ = 0;
    std::int64_t topPage_ = 1;
    std::int64_t pageCount_ = 1;
    AudioOutput* audio_ = nullptr;
    DocumentObserver* observer_ = nullptr;
};

// Parses the leading decimal integer of a label or field text (0 when there is none).
std::int64_t leadingInteger(const std::string& text);

// Pages of a score: one per started run of cellsPerPage cells, counted in integers so that
// the last page of any score can be shown.
std::int64_t pagesFor(std::int64_t cells, std::int64_t cellsPerPage);

}  // namespace sorvel
