#include "app/document.h"

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "edit/chord_lines.h"
#include "edit/undo_history.h"
#include "model/diagnostics.h"

namespace sorvel {

namespace {

// Chord lines as they read: trailing blanks of a line, and blank lines at the end, are nothing.
bool sameChordLines(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    const auto trimmed = [](const std::string& line) {
        return std::string_view(line).substr(0, line.find_last_not_of(' ') + 1);
    };
    const auto length = [&](const std::vector<std::string>& lines) {
        std::size_t n = lines.size();
        while (n > 0 && trimmed(lines[n - 1]).empty()) --n;
        return n;
    };
    const std::size_t n = length(a);
    if (n != length(b)) return false;
    for (std::size_t i = 0; i < n; ++i) {
        if (trimmed(a[i]) != trimmed(b[i])) return false;
    }
    return true;
}

}  // namespace

std::vector<std::string> listImageSets(const std::string& setFolder) {
    std::vector<std::string> names;
    std::error_code ec;
    std::filesystem::directory_iterator it(setFolder, ec);
    if (ec) return names;
    for (const auto& entry : it) {
        std::error_code dirEc;
        if (entry.is_directory(dirEc)) names.push_back(entry.path().filename().string());
    }
    // Score files store the index of the chosen set, so the order must not depend on the
    // file system's listing order.
    std::sort(names.begin(), names.end());
    return names;
}

Document::Document(UndoHistory* undo, AudioOutput* audio)
    : ownHistory_(undo ? nullptr : std::make_unique<UndoHistory>()),
      undo_(undo ? undo : ownHistory_.get()),
      primitives_(score_, undo_, this, this),
      sound_(audio),
      entry_(sound_),
      pages_(score_, [this] { controlsChanged(); }) {
    const auto redraw = [this](const GosenView& v) {
        if (observer_) observer_->staffNeedsDisplay(v);
    };
    pages_.setRedraw(redraw);
    entry_.setRedraw(redraw);
    markClean();
}

Document::~Document() {
    if (undo_) undo_->removeAllActions(this);
}

void Document::setObserver(DocumentObserver* observer) {
    observer_ = observer;
}

void Document::controlsChanged() {
    if (observer_) observer_->controlsChanged();
}

void Document::contentChanged() {
    modified_ = !matchesClean();
    if (observer_) observer_->scoreChanged();
}

bool Document::matchesClean() const {
    return clean_ && score_.musicData == clean_->musicData && score_.settings == clean_->settings &&
           sameChordLines(pages_.chordLinesWithFields(), clean_->codeData);
}

void Document::markClean() {
    clean_ = Score{score_.musicData, pages_.chordLinesWithFields(), score_.settings};
    contentChanged();
}

void Document::markSaved(const std::string& path) {
    filePath_ = path;
    restored_ = false;
    markClean();
}

void Document::markRestored(const std::string& path) {
    filePath_ = path;
    restored_ = true;
    clean_.reset();
    contentChanged();
}

void Document::endEditing() {
    if (observer_) observer_->endEditing();
}

void Document::windowControllerDidLoadNib(const DocumentLayout& layout,
                                          const std::string& setFolder) {
    diag("Document windowControlDidLoad");
    setReferencePitchText("440");
    entry_.layOut(layout.gosenE, setFolder);
    pages_.layOut({layout.gosen1, layout.gosen2, layout.gosen3}, setFolder);
    selCell(1, 1);

    imageSets_ = listImageSets(setFolder);
    chooseImageSet(0);
    chooseTempo(3);
    chooseKey(0);
    chooseBeat(0);

    endEditing();
    controlsChanged();
    markClean();
}

// ---- The whole score ----------------------------------------------------------------------

void Document::open(const Score& score) {
    score_.musicData = score.musicData;
    score_.codeData = score.codeData;
    showFromFirstPage();
    const ScoreSettings& set = score.settings;
    chooseImageSet(set.imageSet);
    chooseTempo(set.tempo);
    chooseKey(set.key);
    chooseBeat(set.beat);
    // The field shows the score's pitch; the tuning table changes when it is applied.
    setReferencePitchText(std::to_string(set.referencePitch));
    controlsChanged();
    markClean();
}

ScoreSnapshot Document::snapshot() {
    pages_.storeChordFields();
    return {score_, sound_.table(), imageSet()};
}

PlayRequest Document::playRequest(bool exercise) const {
    PlayRequest request;
    request.score = &score_;
    request.startIndex = selStart();
    request.freqArr = &sound_.table();
    request.exercise = exercise;
    request.cellsPerLine = pages_.cellsPerStaff();
    return request;
}

// ---- Window controls ----------------------------------------------------------------------

namespace {

std::int64_t choice(std::int64_t index, std::size_t count) {
    return index >= 0 && index < static_cast<std::int64_t>(count) ? index : -1;
}

}  // namespace

void Document::chooseImageSet(std::int64_t index) {
    score_.settings.imageSet = choice(index, imageSets_.size());
    contentChanged();
}
void Document::chooseTempo(std::int64_t index) {
    score_.settings.tempo = choice(index, tempoItems().size());
    contentChanged();
}
void Document::chooseKey(std::int64_t index) {
    score_.settings.key = choice(index, inKeyItems().size());
    contentChanged();
}
void Document::chooseBeat(std::int64_t index) {
    score_.settings.beat = choice(index, beatItems().size());
    contentChanged();
}

void Document::btnPageUp() {
    pages_.pageUp();
    const Selection s = pages_.selection();
    selCell(s.column, s.row);
}

void Document::btnPageDown() {
    pages_.pageDown();
    const Selection s = pages_.selection();
    selCell(s.column, s.row);
}

void Document::cmbImage() {
    pages_.storeChordFields();
    pages_.showPage(pages_.topPage());
    // The entry staff shows its cell's picture from the new set too.
    entry_.redraw();
}

void Document::setChordField(std::size_t field, std::string text) {
    pages_.setChordField(field, std::move(text));
    contentChanged();
}

void Document::controlTextDidEndEditing() {
    pages_.storeChordFields();
}

void Document::setReferencePitchText(const std::string& text) {
    sound_.setReferenceText(text);
    score_.settings.referencePitch = leadingInteger(text);
    contentChanged();
}

void Document::chgFreq() {
    diag("chgFreq");
    score_.settings.referencePitch = sound_.apply();
    // One table serves the four staves; the diagnostics still name it once for each.
    const std::string line = tableLine(sound_.table());
    for (int staff = 0; staff < 4; ++staff) diag(line);
    controlsChanged();
    contentChanged();
}

void Document::btnAllUpDown(std::int64_t row) {
    const bool up = row == 0;
    pages_.storeChordFields();
    const std::int64_t P = pages_.topPage();
    const Selection s = pages_.selection();
    const std::int64_t perStaff = pages_.cellsPerStaff();
    const bool range = s.column != s.columnTo || s.row != s.rowTo;
    std::int64_t from = 0;
    std::int64_t to = cellCount();
    std::vector<std::string>& codeData = score_.codeData;
    if (range) {
        from = ((P - 1) + (s.row - 1)) * perStaff + s.column - 1;
        to = ((P - 1) + (s.rowTo - 1)) * perStaff + s.columnTo;
    } else if (withCode_ && !codeData.empty()) {
        for (std::string& line : codeData) line = transposeChordLine(line, up);
    }
    // A range reaching past the end of the score is cut at the end.
    primitives_.transpose(from, to, up);
    // The fields were stored above and the chord lines may have been transposed since: the
    // refresh rewrites them from the chord lines.
    pages_.refreshTopPage();
    contentChanged();
}

// ---- Keys and clicks ----------------------------------------------------------------------

void Document::selCell(std::int64_t column, std::int64_t row) {
    const auto index = pages_.select(column, row);
    if (!index) return;
    entry_.take(score_.musicData[static_cast<std::size_t>(*index)]);
    controlsChanged();
}

void Document::selCellTo(std::int64_t column, std::int64_t row) {
    if (pages_.selectTo(column, row)) controlsChanged();
}

std::int64_t Document::staffCellMax(std::int64_t row) const {
    return row >= 1 && row <= 3 ? pages_.cellsPerStaff() : 0;
}

void Document::setStaffSelectedCell(std::int64_t row, std::int64_t column) {
    pages_.markClicked(row, column);
}

void Document::btnUPDate() {
    UndoGroup group(undo_);
    pages_.storeChordFields();
    const Selection s = pages_.selection();
    const auto index = pages_.indexAt(s.row, s.column);
    if (!index || *index < 0 || *index >= cellCount()) return;
    primitives_.setCell(*index, entry_.cell());
}

void Document::btnIns() {
    UndoGroup group(undo_);
    const Selection s = pages_.selection();
    auto index = pages_.indexAt(s.row, s.column);
    if (!index) return;
    if (score_.musicData.empty()) index = 0;
    const ScoreCell entry = entry_.cell();
    primitives_.insertCellList({entry.noteIndex, entry.onpIndex}, *index);
}

void Document::btnADD() {
    UndoGroup group(undo_);
    const Selection s = pages_.selection();
    auto index = pages_.indexAt(s.row, s.column);
    if (!index) return;
    *index = score_.musicData.empty() ? 0 : *index + 1;
    insertCells({entry_.cell()}, *index, *index);
}

void Document::btnDel() {
    UndoGroup group(undo_);
    if (cellCount() < 2) return;
    const std::int64_t s = selStart();
    const std::int64_t e = selEnd();
    // An end outside the score or before the start (left over from a cut) deletes nothing:
    // the cells it would take are not the ones the user selected.
    if (s >= 0 && e >= s) deleteCells(s, e);
    const Selection sel = pages_.selection();
    const std::int64_t c = s >= cellCount() ? sel.column - 1 : sel.column;
    selCell(c, sel.row);
}

// ---- Cell primitives ----------------------------------------------------------------------

void Document::insertCells(const std::vector<ScoreCell>& cells, std::int64_t index,
                           std::int64_t selectionEnd) {
    diag(std::to_string(index) + " " + std::to_string(cellCount()) + " index over");
    if (index < 0 || index > cellCount()) {
        diag(" index over");
        return;
    }
    if (primitives_.insertCells(cells, index)) {
        const Selection s = pages_.selection();
        selCell(s.column + (selectionEnd - index) + 1, s.row);
    }
}

void Document::deleteCells(std::int64_t from, std::int64_t to) {
    primitives_.deleteCells(from, to);
}

void Document::replaceCellsUnrecorded(const std::vector<ScoreCell>& cells) {
    // Only a rewrite of the same cells in place: a different length would leave the pages
    // and the selection pointing past the score.
    if (cells.size() != score_.musicData.size()) return;
    score_.musicData = cells;
    contentChanged();
}

void Document::showFromFirstPage() {
    pages_.setTopPage(1);
    pages_.showPage(1);
}

void Document::appendCells(const std::vector<ScoreCell>& cells) {
    {
        UndoGroup group(undo_);
        std::vector<std::int64_t> list;
        list.reserve(2 * cells.size());
        for (const ScoreCell& c : cells) {
            list.push_back(c.noteIndex);
            list.push_back(c.onpIndex);
        }
        primitives_.insertCellList(list, cellCount());
    }
    showFromFirstPage();
    controlsChanged();
}

// The chord fields are stored first, as the refresh rewrites them from the chord lines.
void Document::cellsMoved() {
    pages_.storeChordFields();
    pages_.refreshTopPage();
    contentChanged();
}

void Document::cellChanged(std::int64_t index) {
    pages_.cellChanged(index);
    contentChanged();
}

}  // namespace sorvel
