#include "app/document_commands.h"

#include "app/document.h"

namespace sorvel {

ScoreCell DocumentCommands::entryCell() const {
    return doc_.entryCell();
}
void DocumentCommands::writeEntryCell(ScoreCell cell) {
    doc_.entryCell() = cell;
}
void DocumentCommands::redrawEntry() {
    doc_.gosenE.setNeedsDisplay();
}

float DocumentCommands::entryFrequency(std::int64_t p) const {
    const auto& freq = doc_.freqArr();
    if (p < 0 || p >= static_cast<std::int64_t>(freq.size())) return 0.0f;
    return freq[static_cast<std::size_t>(p)];
}

void DocumentCommands::playTone(float frequency, float seconds) {
    doc_.playTone(frequency, seconds);
}
void DocumentCommands::stepEntryPitch(std::int64_t row) {
    doc_.stepEntryPitch(row);
}
void DocumentCommands::setEntryValue(std::int64_t row, std::int64_t column) {
    doc_.setEntryValue(row, column);
}
void DocumentCommands::toggleTriplet() {
    doc_.toggleTriplet();
}
void DocumentCommands::toggleTie() {
    doc_.toggleTie();
}

void DocumentCommands::btnUPDate() {
    doc_.btnUPDate();
}
void DocumentCommands::btnIns() {
    doc_.btnIns();
}
void DocumentCommands::btnADD() {
    doc_.btnADD();
}
void DocumentCommands::btnDel() {
    doc_.btnDel();
}

Selection DocumentCommands::selection() const {
    return {doc_.selRow, doc_.selCol, doc_.selRowTo, doc_.selColTo};
}
void DocumentCommands::selCell(std::int64_t column, std::int64_t row) {
    doc_.selCell(column, row);
}
void DocumentCommands::selCellTo(std::int64_t column, std::int64_t row) {
    doc_.selCellTo(column, row);
}

std::int64_t DocumentCommands::staffCellMax(std::int64_t row) const {
    const GosenView* staff = doc_.staffOfRow(row);
    return staff ? staff->cellMax : 0;
}
void DocumentCommands::setStaffSelectedCell(std::int64_t row, std::int64_t column) {
    if (GosenView* staff = doc_.staffOfRow(row)) staff->selectedCell = column;
}
void DocumentCommands::redrawStaff(std::int64_t row) {
    if (const GosenView* staff = doc_.staffOfRow(row)) staff->setNeedsDisplay();
}
std::int64_t DocumentCommands::cellCount() const {
    return doc_.cellCount();
}
void DocumentCommands::endEditing() {
    doc_.endEditing();
}

}  // namespace sorvel
