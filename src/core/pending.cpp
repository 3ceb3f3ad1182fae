// Temporary: bodies of the editing, undo and sound operations until they land.
#include "edit/undo_history.h"
#include "model/document.h"

namespace sorvel {
void UndoHistory::registerUndo(const void*, Action) {}
void UndoHistory::beginGroup() {}
void UndoHistory::endGroup() {}
bool UndoHistory::canUndo() const { return false; }
bool UndoHistory::canRedo() const { return false; }
void UndoHistory::undo() {}
void UndoHistory::redo() {}
void UndoHistory::removeAllActions(const void*) {}
void Document::stepEntryPitch(std::int64_t) {}
void Document::setEntryValue(std::int64_t, std::int64_t) {}
void Document::toggleTriplet() {}
void Document::toggleTie() {}
void Document::btnUPDate() {}
void Document::btnIns() {}
void Document::btnADD() {}
void Document::btnDel() {}
void Document::btnAllUpDown(std::int64_t) {}
void Document::setCell(GosenView&, std::int64_t, std::int64_t, std::int64_t, std::int64_t) {}
void Document::insertCellList(const std::vector<std::int64_t>&, std::int64_t) {}
void Document::insertCells(const std::vector<ScoreCell>&, std::int64_t, std::int64_t) {}
void Document::deleteCells(std::int64_t, std::int64_t) {}
std::int64_t Document::selStart() const { return -1; }
std::int64_t Document::selEnd() const { return -1; }
void Document::playTone(float, float) {}
void Document::playClick(float, float) {}
void Document::chgFreq() {}
}  // namespace sorvel
