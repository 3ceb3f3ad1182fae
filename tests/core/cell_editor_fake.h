#pragma once

// A score, a clipboard, a text field and alerts standing in for the window's, for the
// clipboard, replace and phrase builder commands.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "edit/editable_score.h"
#include "edit/undo_history.h"
#include "model/score_cell.h"
#include "ports/alerts.h"
#include "ports/clipboard.h"
#include "scaleedit/phrase_score.h"

namespace sorvel::fakes {

// One long staff line: the selection runs from column selCol to selColTo (1-based), so
// score index = column - 1. The primitives record their inverses as the document's do.
class FakeScore : public EditableScore {
  public:
    explicit FakeScore(UndoHistory* undo, std::vector<ScoreCell> cells = {})
        : data(std::move(cells)), undo_(undo) {}

    const std::vector<ScoreCell>& cells() const override { return data; }
    std::int64_t selStart() const override { return inScore(selCol - 1); }
    std::int64_t selEnd() const override { return inScore(selColTo - 1); }

    void insertCells(const std::vector<ScoreCell>& cells, std::int64_t index,
                     std::int64_t selectionEnd) override {
        ++insertCalls;
        if (index < 0 || index > size() || cells.empty()) return;
        insertAt(cells, index);
        selCol = selCol + (selectionEnd - index) + 1;
        selColTo = selCol;
    }
    void deleteCells(std::int64_t from, std::int64_t to) override {
        if (from < 0 || to < from || to >= size()) return;
        std::vector<ScoreCell> removed(data.begin() + from, data.begin() + to + 1);
        if (undo_) undo_->registerUndo(this, [this, removed, from] { insertAt(removed, from); });
        data.erase(data.begin() + from, data.begin() + to + 1);
    }
    void replaceCellsUnrecorded(const std::vector<ScoreCell>& cells) override {
        data = cells;
        ++unrecordedWrites;
    }
    void showFromFirstPage() override { ++firstPageShows; }
    UndoHistory* undoHistory() const override { return undo_; }

    // Selects columns from..to (1-based).
    void select(std::int64_t from, std::int64_t to) {
        selCol = from;
        selColTo = to;
    }
    std::int64_t size() const { return static_cast<std::int64_t>(data.size()); }

    std::vector<ScoreCell> data;
    std::int64_t selCol = 1, selColTo = 1;
    int insertCalls = 0, unrecordedWrites = 0, firstPageShows = 0;

  private:
    std::int64_t inScore(std::int64_t index) const {
        return index >= 0 && index < size() ? index : -1;
    }
    void insertAt(const std::vector<ScoreCell>& cells, std::int64_t index) {
        const auto n = static_cast<std::int64_t>(cells.size());
        if (undo_)
            undo_->registerUndo(this, [this, index, n] { deleteCells(index, index + n - 1); });
        data.insert(data.begin() + index, cells.begin(), cells.end());
    }

    UndoHistory* undo_;
};

class FakeClipboard : public Clipboard {
  public:
    std::optional<std::string> plainText() const override { return text; }
    bool hasPlainText() const override { return text.has_value(); }
    bool isEmpty() const override { return !text && !cells; }
    void setPlainText(const std::string& t) override {
        text = t;
        cells.reset();
        ++writes;
    }
    std::optional<std::string> cellData() const override { return cells; }
    void setCellData(const std::string& bytes) override {
        cells = bytes;
        text.reset();
        ++writes;
    }

    std::optional<std::string> text, cells;
    int writes = 0;
};

// A field holding text with a selection [from, to) in bytes.
class FakeText : public TextEditing {
  public:
    FakeText(std::string t, std::size_t from, std::size_t to)
        : text(std::move(t)), a(from), b(to) {}
    std::string selectedText() const override { return text.substr(a, b - a); }
    bool hasSelectedText() const override { return b > a; }
    void removeSelectedText() override {
        text = text.substr(0, a) + text.substr(b);
        b = a;
    }
    void pasteAsPlainText(const std::string& t) override {
        text = text.substr(0, a) + t + text.substr(b);
        a = b = a + t.size();
    }

    std::string text;
    std::size_t a, b;
};

class FakeAlerts : public Alerts {
  public:
    void showAlert(const std::string& text, const std::string& informative) override {
        shown.push_back(text);
        details.push_back(informative);
    }
    std::vector<std::string> shown, details;
};

// The score the phrase builder sends its line to.
class FakePhraseScore : public PhraseScore {
  public:
    bool appendCells(const std::vector<ScoreCell>& cells) override {
        ++appendCalls;
        if (accept) appended.insert(appended.end(), cells.begin(), cells.end());
        return accept;
    }
    void playCells(const std::vector<ScoreCell>& cells) override { played = cells; }
    bool accept = true;
    int appendCalls = 0;
    std::vector<ScoreCell> appended, played;
};

}  // namespace sorvel::fakes
