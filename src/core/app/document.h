#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/combo_box.h"
#include "model/score_cell.h"
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

// The fixed item lists of the score window's combo boxes. Score files store indices into
// them, so they never change.
const std::vector<std::string>& tempoItems();
const std::vector<std::string>& inKeyItems();
const std::vector<std::string>& beatItems();

// Image sets in a set folder: its sub-folders, by name.
std::vector<std::string> listImageSets(const std::string& setFolder);

// One open score with the state of its window.
class Document {
  public:
    explicit Document(UndoHistory* undo = nullptr, AudioOutput* audio = nullptr);
    ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    void setObserver(DocumentObserver* observer);
    void setAudioOutput(AudioOutput* audio) { audio_ = audio; }
    AudioOutput* audioOutput() const { return audio_; }
    UndoHistory* undoHistory() const { return undo_; }

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
    // The staff of row 1..3, or nullptr.
    GosenView* staffOfRow(std::int64_t row);
    const GosenView* staffOfRow(std::int64_t row) const;
    // The image set the staves draw with.
    std::string imageSet() const { return imgCombo.text(); }

    // The entry cell (the single cell of gosenE).
    ScoreCell& entryCell() { return gosenE.musicData.front(); }
    const ScoreCell& entryCell() const { return gosenE.musicData.front(); }

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

    // Cell primitives; each records its inverse on the undo history first.
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
    void chgFreq();

    // The score.
    std::vector<ScoreCell> musicData{ScoreCell{}};
    std::vector<std::string> codeData;
    std::int64_t gosenCellMax = 40;
    std::int64_t startCell = 0;
    std::int64_t selRow = 1, selCol = 1;
    std::int64_t selRowTo = 1, selColTo = 1;
    Size pointerSize;
    std::int64_t chkExcer = 0;

    // Playback state.
    std::int64_t playTempo = 120;
    bool playState = true;
    std::vector<ScoreCell> playMusicData{ScoreCell{}};
    std::int64_t playCount = 0;

    // The staves and the state of the window's controls.
    GosenView gosen1{"gosen1"}, gosen2{"gosen2"}, gosen3{"gosen3"}, gosenE{"gosenE"};
    Rect celPointer;
    std::array<std::string, 3> cdText;
    ComboBox imgCombo, cmbTempo, cmbInKey, cmbBeat;
    std::string A_Hz;
    bool withCode = false;

    // Tells the window that labels, fields or the pointer changed.
    void controlsChanged();
    void endEditing();

  private:
    // Wraps a position at the staff ends; false when it leaves the staves or the score.
    bool wrapToCell(std::int64_t& column, std::int64_t& row) const;
    void handRunToStaff(GosenView& staff, const std::vector<ScoreCell>& run);
    void redrawScoreStaves();

    std::int64_t topPage_ = 1;
    std::int64_t pageCount_ = 1;
    UndoHistory* undo_ = nullptr;
    AudioOutput* audio_ = nullptr;
    DocumentObserver* observer_ = nullptr;
};

// Parses the leading decimal integer of a label or field text (0 when there is none).
std::int64_t leadingInteger(const std::string& text);

// Pages of a score: one per started run of cellsPerPage cells, counted in integers so that
// the last page of any score can be shown.
std::int64_t pagesFor(std::int64_t cells, std::int64_t cellsPerPage);

}  // namespace sorvel
