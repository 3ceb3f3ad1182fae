#pragma once

#include <cstdint>
#include <vector>

#include "edit/cell_editor.h"

namespace sorvel {

class Document;

// A score window's document as the clipboard commands and the replace window see it.
class DocumentCellEditor : public CellEditor {
  public:
    explicit DocumentCellEditor(Document& doc) : doc_(doc) {}

    const std::vector<ScoreCell>& cells() const override;
    std::int64_t selStart() const override;
    std::int64_t selEnd() const override;
    void insertCells(const std::vector<ScoreCell>& cells, std::int64_t index,
                     std::int64_t selectionEnd) override;
    void deleteCells(std::int64_t from, std::int64_t to) override;
    void replaceCellsUnrecorded(const std::vector<ScoreCell>& cells) override;
    void showFromFirstPage() override;
    UndoHistory* undoHistory() const override;

    Document& document() const { return doc_; }

  private:
    Document& doc_;
};

}  // namespace sorvel
