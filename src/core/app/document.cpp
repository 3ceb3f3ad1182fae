#include "app/document.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <limits>
#include <system_error>

#include "edit/undo_history.h"
#include "model/diagnostics.h"
#include "model/notation_tables.h"

namespace sorvel {

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

std::int64_t leadingInteger(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    std::int64_t value = 0;
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        const int d = text[i] - '0';
        value = value > (kMax - d) / 10 ? kMax : value * 10 + d;
    }
    return negative ? -value : value;
}

Document::Document(UndoHistory* undo, AudioOutput* audio)
    : undo_(undo),
      editor_(score_, undo, this, this),
      freqArr_(tables::freqArr.begin(), tables::freqArr.end()),
      audio_(audio) {
    gosenE.showCells(&entry_);
    pointStavesAt(0);
    for (GosenView* staff : {&gosen1, &gosen2, &gosen3, &gosenE}) {
        staff->onNeedsDisplay = [this](const GosenView& v) {
            if (observer_) observer_->staffNeedsDisplay(v);
        };
    }
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

void Document::endEditing() {
    if (observer_) observer_->endEditing();
}

GosenView* Document::staffOfRow(std::int64_t row) {
    switch (row) {
        case 1:
            return &gosen1;
        case 2:
            return &gosen2;
        case 3:
            return &gosen3;
        default:
            return nullptr;
    }
}

const GosenView* Document::staffOfRow(std::int64_t row) const {
    return const_cast<Document*>(this)->staffOfRow(row);
}

void Document::windowControllerDidLoadNib(const DocumentLayout& layout,
                                          const std::string& setFolder) {
    diag("Document windowControlDidLoad");
    setReferencePitchText("440");

    gosenE.setFrame(layout.gosenE);
    gosenE.imgFol = setFolder;
    gosenE.cellMax = 1;
    gosenE.resetGosen();
    entry_.assign(1, ScoreCell{17, 5});
    gosenE.showCells(&entry_);
    gosenE.setNeedsDisplay();

    const Rect frames[3] = {layout.gosen1, layout.gosen2, layout.gosen3};
    int i = 0;
    for (GosenView* staff : {&gosen1, &gosen2, &gosen3}) {
        staff->setFrame(frames[i++]);
        staff->imgFol = setFolder;
        staff->cellMax = gosenCellMax;
        staff->resetGosen();
        staff->setNeedsDisplay();
    }

    pointStavesAt(startCell_);
    std::vector<std::string>& codeData = score_.codeData;
    codeData.insert(codeData.end(), 3, std::string(7, ' '));
    for (std::size_t k = 0; k < 3; ++k) cdText[k] = codeData[k];

    pointerSize = {gosen1.frame().width / static_cast<double>(gosenCellMax), gosen1.frame().height};
    celPointer.width = pointerSize.width;
    celPointer.height = pointerSize.height;

    selCell(1, 1);

    imageSets_ = listImageSets(setFolder);
    chooseImageSet(0);
    chooseTempo(3);
    chooseKey(0);
    chooseBeat(0);

    endEditing();
    controlsChanged();
}

namespace {

std::int64_t choice(std::int64_t index, std::size_t count) {
    return index >= 0 && index < static_cast<std::int64_t>(count) ? index : -1;
}

}  // namespace

void Document::chooseImageSet(std::int64_t index) {
    settings().imageSet = choice(index, imageSets_.size());
}
void Document::chooseTempo(std::int64_t index) {
    settings().tempo = choice(index, tempoItems().size());
}
void Document::chooseKey(std::int64_t index) {
    settings().key = choice(index, inKeyItems().size());
}
void Document::chooseBeat(std::int64_t index) {
    settings().beat = choice(index, beatItems().size());
}

void Document::pointStavesAt(std::int64_t first) {
    for (GosenView* staff : {&gosen1, &gosen2, &gosen3}) {
        staff->showCells(&score_.musicData, first);
        staff->setNeedsDisplay();
        first += staff->cellMax;
    }
}

std::int64_t pagesFor(std::int64_t cells, std::int64_t cellsPerPage) {
    if (cells <= 0 || cellsPerPage <= 0) return 0;
    return (cells - 1) / cellsPerPage + 1;
}

void Document::showPage(std::int64_t P) {
    const std::vector<std::string>& codeData = score_.codeData;
    for (std::size_t i = 0; i < 3; ++i) {
        cdText[i] = "     ";
        const std::int64_t entry = P - 1 + static_cast<std::int64_t>(i);
        if (entry >= 0 && static_cast<std::int64_t>(codeData.size()) >= entry + 1) {
            cdText[i] = codeData[static_cast<std::size_t>(entry)];
        }
    }
    pageCount_ = pagesFor(cellCount(), gosenCellMax);
    controlsChanged();
    if (P < 1 || P > pageCount_) return;

    startCell_ = (P - 1) * gosenCellMax;
    pointStavesAt(startCell_);
}

void Document::redrawScoreStaves() {
    gosen1.setNeedsDisplay();
    gosen2.setNeedsDisplay();
    gosen3.setNeedsDisplay();
}

bool Document::wrapToCell(std::int64_t& column, std::int64_t& row) const {
    // Past either end of a staff the position moves to the next or previous staff, but never
    // off the three staves shown.
    if (column > gosenCellMax) {
        if (row > 2) return false;
        ++row;
        column = 1;
    } else if (column < 1) {
        if (row < 2) return false;
        --row;
        column = gosenCellMax;
    }
    if (row < 1 || row > 3) return false;
    const std::int64_t k = startCell_ + (row - 1) * gosenCellMax + column;
    return k <= cellCount();
}

void Document::selCell(std::int64_t column, std::int64_t row) {
    if (!wrapToCell(column, row)) return;
    GosenView* staff = staffOfRow(row);
    const std::int64_t k = startCell_ + (row - 1) * gosenCellMax + column;

    selCol = column;
    selRow = row;

    gosen1.selRow = gosen2.selRow = gosen3.selRow = 0;
    staff->selRow = 1;
    staff->selCol = staff->selColTo = column;
    redrawScoreStaves();

    entryCell() = score_.musicData[static_cast<std::size_t>(k - 1)];
    gosenE.setNeedsDisplay();

    celPointer.x = staff->frame().x + pointerSize.width * static_cast<double>(column - 1);
    celPointer.y = staff->frame().y;

    selColTo = column;
    selRowTo = row;
    controlsChanged();
}

void Document::selCellTo(std::int64_t column, std::int64_t row) {
    if (!wrapToCell(column, row)) return;

    selRowTo = row;
    selColTo = column;

    auto mark = [](GosenView& v, std::int64_t from, std::int64_t to) {
        v.selRow = 1;
        v.selCol = from;
        v.selColTo = to;
    };
    const std::int64_t end = gosenCellMax;
    switch (selRow * 10 + selRowTo) {
        case 11:
            mark(gosen1, selCol, selColTo);
            break;
        case 12:
            mark(gosen1, selCol, end);
            mark(gosen2, 0, selColTo);
            break;
        case 13:
            mark(gosen1, selCol, end);
            mark(gosen2, 0, end);
            mark(gosen3, 0, selColTo);
            break;
        case 22:
            mark(gosen2, selCol, selColTo);
            break;
        case 23:
            mark(gosen2, selCol, end);
            mark(gosen3, 0, selColTo);
            break;
        case 33:
            mark(gosen3, selCol, selColTo);
            break;
        default:
            break;
    }
    redrawScoreStaves();
    controlsChanged();
}

void Document::storeChordFields() {
    const std::int64_t P = topPage();
    if (P < 1) return;
    std::vector<std::string>& codeData = score_.codeData;
    for (std::int64_t i = 0; i < 3; ++i) {
        const std::string& text = cdText[static_cast<std::size_t>(i)];
        if (static_cast<std::int64_t>(codeData.size()) >= P + i) {
            codeData[static_cast<std::size_t>(P - 1 + i)] = text;
        } else {
            codeData.push_back(text);
        }
    }
}

void Document::btnPageUp() {
    const std::int64_t P = topPage();
    if (P < 2) {
        if (selRow < 2) {
            selCol = 1;
        } else {
            selRow -= 1;
        }
        selCell(selCol, selRow);
        return;
    }
    storeChordFields();
    showPage(P - 1);
    topPage_ -= 1;
    if (selRow <= 2) selRow += 1;
    controlsChanged();
    selCell(selCol, selRow);
}

void Document::btnPageDown() {
    const std::int64_t P = topPage();
    const std::int64_t N = pageCount();
    if (P >= N) {
        selCol = 1;
        selCell(selCol, selRow);
        return;
    }
    storeChordFields();
    showPage(P + 1);
    topPage_ += 1;
    if (topPage_ == pageCount_) selCol = 1;
    if (selRow >= 2) selRow -= 1;
    controlsChanged();
    selCell(selCol, selRow);
}

void Document::cmbImage() {
    storeChordFields();
    showPage(topPage());
    // The entry staff shows its cell's picture from the new set too.
    gosenE.setNeedsDisplay();
}

}  // namespace sorvel
