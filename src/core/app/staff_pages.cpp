#include "app/staff_pages.h"

#include <algorithm>
#include <utility>

namespace sorvel {

std::int64_t pagesFor(std::int64_t cells, std::int64_t cellsPerPage) {
    if (cells <= 0 || cellsPerPage <= 0) return 0;
    return (cells - 1) / cellsPerPage + 1;
}

std::int64_t topPageFollowing(std::int64_t topPage, std::int64_t cell, std::int64_t cellsPerPage) {
    if (cell < 0 || cellsPerPage <= 0) return topPage;
    const std::int64_t page = cell / cellsPerPage + 1;
    return page >= topPage && page < topPage + 3 ? topPage : page;
}

StaffPages::StaffPages(Score& score, std::function<void()> changed)
    : score_(score), changed_(std::move(changed)) {
    pointStavesAt(0);
}

const GosenView& StaffPages::staff(std::int64_t row) const {
    return const_cast<StaffPages*>(this)->staffOfRow(row);
}

GosenView& StaffPages::staffOfRow(std::int64_t row) {
    return staves_.at(static_cast<std::size_t>(row - 1));
}

void StaffPages::setRedraw(const std::function<void(const GosenView&)>& redraw) {
    for (GosenView& staff : staves_) staff.onNeedsDisplay = redraw;
}

void StaffPages::layOut(const std::array<Rect, 3>& frames, const std::string& setFolder) {
    for (std::size_t i = 0; i < staves_.size(); ++i) {
        GosenView& staff = staves_[i];
        staff.setFrame(frames[i]);
        staff.imgFol = setFolder;
        staff.cellMax = kCellsPerStaff;
        staff.resetGosen();
        staff.setNeedsDisplay();
    }
    pointStavesAt(startCell_);
    std::vector<std::string>& codeData = score_.codeData;
    codeData.insert(codeData.end(), 3, std::string(7, ' '));
    for (std::size_t k = 0; k < 3; ++k) cdText_[k] = codeData[k];

    const Rect& first = staves_[0].frame();
    pointerSize_ = {first.width / static_cast<double>(kCellsPerStaff), first.height};
    pointer_.width = pointerSize_.width;
    pointer_.height = pointerSize_.height;
}

void StaffPages::pointStavesAt(std::int64_t first) {
    for (GosenView& staff : staves_) {
        staff.showCells(&score_.musicData, first);
        staff.setNeedsDisplay();
        first += staff.cellMax;
    }
    markSounding();
}

void StaffPages::markSounding() {
    for (GosenView& staff : staves_) {
        const std::int64_t column = sounding_ - staff.firstCell() + 1;
        const std::int64_t shown =
            sounding_ >= 0 && column >= 1 && column <= staff.cellMax ? column : 0;
        if (staff.soundingColumn == shown) continue;
        staff.soundingColumn = shown;
        staff.setNeedsDisplay();
    }
}

void StaffPages::showSounding(std::int64_t cell) {
    sounding_ = cell < 0 ? -1 : cell;
    if (sounding_ >= 0) {
        turnTo(topPageFollowing(topPage_, sounding_, kCellsPerStaff));
    } else if (sel_.row < 1) {
        turnTo(topPage_ + sel_.row - 1);
    } else if (sel_.rowTo > 3) {
        turnTo(topPage_ + sel_.rowTo - 3);
    }
    markSounding();
}

void StaffPages::turnTo(std::int64_t P) {
    P = std::max<std::int64_t>(P, 1);
    if (P == topPage_) return;
    storeChordFields();
    const std::int64_t lines = P - topPage_;
    topPage_ = P;
    refreshTopPage();
    sel_.row -= lines;
    sel_.rowTo -= lines;
    markSelection();
    changed_();
}

void StaffPages::redrawAll() const {
    for (const GosenView& staff : staves_) staff.setNeedsDisplay();
}

void StaffPages::redraw(std::int64_t row) const {
    if (row >= 1 && row <= 3) staff(row).setNeedsDisplay();
}

void StaffPages::markClicked(std::int64_t row, std::int64_t column) {
    if (row >= 1 && row <= 3) staffOfRow(row).selectedCell = column;
}

void StaffPages::cellChanged(std::int64_t index) const {
    for (const GosenView& staff : staves_) {
        const std::int64_t column = index - staff.firstCell();
        if (column >= 0 && column < staff.cellMax) staff.setNeedsDisplay();
    }
}

void StaffPages::showPage(std::int64_t P) {
    const std::vector<std::string>& codeData = score_.codeData;
    for (std::size_t i = 0; i < 3; ++i) {
        cdText_[i] = "     ";
        const std::int64_t entry = P - 1 + static_cast<std::int64_t>(i);
        if (entry >= 0 && static_cast<std::int64_t>(codeData.size()) >= entry + 1) {
            cdText_[i] = codeData[static_cast<std::size_t>(entry)];
        }
    }
    pageCount_ = pagesFor(score_.cellCount(), kCellsPerStaff);
    changed_();
    if (P < 1 || P > pageCount_) return;

    startCell_ = (P - 1) * kCellsPerStaff;
    pointStavesAt(startCell_);
}

void StaffPages::refreshTopPage() {
    const std::int64_t P = topPage_;
    showPage(P);
    if (P >= 1 && P <= pageCount_) return;
    if (P >= 1) startCell_ = (P - 1) * kCellsPerStaff;
    pointStavesAt(startCell_);
}

void StaffPages::pageUp() {
    const std::int64_t P = topPage_;
    if (P < 2) {
        if (sel_.row < 2) {
            sel_.column = 1;
        } else {
            sel_.row -= 1;
        }
        return;
    }
    storeChordFields();
    showPage(P - 1);
    topPage_ -= 1;
    if (sel_.row <= 2) sel_.row += 1;
    changed_();
}

void StaffPages::pageDown() {
    const std::int64_t P = topPage_;
    if (P >= pageCount_) {
        sel_.column = 1;
        return;
    }
    storeChordFields();
    showPage(P + 1);
    topPage_ += 1;
    if (topPage_ == pageCount_) sel_.column = 1;
    if (sel_.row >= 2) sel_.row -= 1;
    changed_();
}

void StaffPages::setChordField(std::size_t field, std::string text) {
    cdText_.at(field) = std::move(text);
}

std::vector<std::string> StaffPages::chordLinesWithFields() const {
    std::vector<std::string> lines = score_.codeData;
    storeFieldsInto(lines);
    return lines;
}

void StaffPages::storeFieldsInto(std::vector<std::string>& codeData) const {
    const std::int64_t P = topPage_;
    if (P < 1) return;
    for (std::int64_t i = 0; i < 3; ++i) {
        const std::string& text = cdText_[static_cast<std::size_t>(i)];
        if (static_cast<std::int64_t>(codeData.size()) >= P + i) {
            codeData[static_cast<std::size_t>(P - 1 + i)] = text;
        } else {
            codeData.push_back(text);
        }
    }
}

bool StaffPages::wrapToCell(std::int64_t& column, std::int64_t& row) const {
    // Past either end of a staff the position moves to the next or previous staff, but never
    // off the three staves shown.
    if (column > kCellsPerStaff) {
        if (row > 2) return false;
        ++row;
        column = 1;
    } else if (column < 1) {
        if (row < 2) return false;
        --row;
        column = kCellsPerStaff;
    }
    if (row < 1 || row > 3) return false;
    const std::int64_t k = startCell_ + (row - 1) * kCellsPerStaff + column;
    return k <= score_.cellCount();
}

std::optional<std::int64_t> StaffPages::select(std::int64_t column, std::int64_t row) {
    if (!wrapToCell(column, row)) return std::nullopt;
    sel_ = {row, column, row, column};
    markSelection();
    return startCell_ + (row - 1) * kCellsPerStaff + column - 1;
}

bool StaffPages::selectTo(std::int64_t column, std::int64_t row) {
    if (!wrapToCell(column, row)) return false;
    sel_.rowTo = row;
    sel_.columnTo = column;
    markSelection();
    return true;
}

void StaffPages::markSelection() {
    // Each staff from the start's column (or its first) to the end's (or its last); an end
    // before the start marks the start alone.
    const bool forward = sel_.rowTo * 100 + sel_.columnTo >= sel_.row * 100 + sel_.column;
    const std::int64_t rowTo = forward ? sel_.rowTo : sel_.row;
    const std::int64_t columnTo = forward ? sel_.columnTo : sel_.column;
    for (std::int64_t row = 1; row <= 3; ++row) {
        GosenView& staff = staffOfRow(row);
        staff.selRow = sel_.row <= row && row <= rowTo ? 1 : 0;
        staff.selCol = row == sel_.row ? sel_.column : 0;
        staff.selColTo = row == rowTo ? columnTo : kCellsPerStaff;
    }
    redrawAll();
    if (sel_.row < 1 || sel_.row > 3) {
        pointer_ = {};
        return;
    }
    const GosenView& staff = staffOfRow(sel_.row);
    pointer_ = {staff.frame().x + pointerSize_.width * static_cast<double>(sel_.column - 1),
                staff.frame().y, pointerSize_.width, pointerSize_.height};
}

std::optional<std::int64_t> StaffPages::indexAt(std::int64_t row, std::int64_t column) const {
    if (row < 1 || row > 3) return std::nullopt;
    return startCell_ + (row - 1) * kCellsPerStaff + column - 1;
}

std::int64_t StaffPages::selStart() const {
    const auto index = indexAt(sel_.row, sel_.column);
    return index && *index >= 0 && *index < score_.cellCount() ? *index : -1;
}

std::int64_t StaffPages::selEnd() const {
    const auto index = indexAt(sel_.rowTo, sel_.columnTo);
    return index && *index >= 0 && *index < score_.cellCount() ? *index : -1;
}

}  // namespace sorvel
