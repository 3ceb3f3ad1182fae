#pragma once

// Score documents for tests: a builder that sets one up as a score window would have left it
// (given), and named reads and writes of its state (when, then). Tests reach the document's
// data only through this header, so when Document keeps its data elsewhere only this file
// changes. Plain C++ (no test framework), so the fuzz targets can use it too.

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "app/document.h"
#include "edit/undo_history.h"
#include "model/score_file.h"

namespace sorvel::testing {

// A staff row (1..3) and 1-based column of the score window.
struct Pos {
    std::int64_t row, col;
    friend bool operator==(const Pos&, const Pos&) = default;
    friend std::ostream& operator<<(std::ostream& os, const Pos& p) {
        return os << "(" << p.row << "," << p.col << ")";
    }
};

// The selected range: its start and its end, as staff positions.
struct Selection {
    Pos from, to;
    friend bool operator==(const Selection&, const Selection&) = default;
    friend std::ostream& operator<<(std::ostream& os, const Selection& s) {
        return os << s.from << "-" << s.to;
    }
};

// The window's settings as the controls show them ("" where nothing is chosen).
struct ShownSettings {
    std::string imageSet, tempo, key, beats, referencePitch;
    friend bool operator==(const ShownSettings&, const ShownSettings&) = default;
    friend std::ostream& operator<<(std::ostream& os, const ShownSettings& s) {
        return os << "{" << s.imageSet << "," << s.tempo << "," << s.key << "," << s.beats << ","
                  << s.referencePitch << "}";
    }
};

// Cells with distinct, valid contents: pitch i % 39, a value cycling through the values.
inline std::vector<ScoreCell> distinctCells(std::int64_t n) {
    std::vector<ScoreCell> cells;
    for (std::int64_t i = 0; i < n; ++i) cells.push_back({i % 39, 1 + (i / 39) % 64});
    return cells;
}

// ---- Reads (then) ----

inline const std::vector<ScoreCell>& cells(const Document& d) {
    return d.score().musicData;
}
inline const std::vector<std::string>& chordLines(const Document& d) {
    return d.score().codeData;
}
// What the three chord fields show (typed text included).
inline const std::array<std::string, 3>& chordFields(const Document& d) {
    return d.pages().chordFields();
}
inline Selection selection(const Document& d) {
    const sorvel::Selection s = d.pages().selection();
    return {{s.row, s.column}, {s.rowTo, s.columnTo}};
}
inline std::int64_t topPage(const Document& d) {
    return d.pages().topPage();
}
inline std::int64_t pageCount(const Document& d) {
    return d.pages().pageCount();
}
// The score index shown in the first column of the first staff.
inline std::int64_t firstShownCell(const Document& d) {
    return d.pages().startCell();
}
inline std::int64_t cellsPerStaff(const Document& d) {
    return d.pages().cellsPerStaff();
}
inline ScoreCell entry(const Document& d) {
    return d.entry().cell();
}
// Of the staff of row 1..3 (row 0: the entry staff): the cells it shows, the top of its
// frame and its selection marks {marked (0/1), first column, last column}.
namespace detail {
inline const GosenView& staff(const Document& d, std::int64_t row) {
    return row == 0 ? d.entry().staff() : d.pages().staff(row);
}
}  // namespace detail
inline std::vector<ScoreCell> staffCells(const Document& d, std::int64_t row) {
    const GosenView& v = detail::staff(d, row);
    std::vector<ScoreCell> shown;
    for (std::int64_t c = 1; c <= v.cellMax; ++c) shown.push_back(v.cellAt(c));
    return shown;
}
// The window's tuning table: Hz by pitch index, for every staff and the window's sound.
inline const std::vector<float>& frequencies(const Document& d) {
    return d.sound().table();
}
inline double staffTop(const Document& d, std::int64_t row) {
    return detail::staff(d, row).frame().y;
}
inline std::array<std::int64_t, 3> staffMarks(const Document& d, std::int64_t row) {
    const GosenView& v = detail::staff(d, row);
    return {v.selRow, v.selCol, v.selColTo};
}
// The selection pointer's rectangle in window coordinates.
inline Rect pointer(const Document& d) {
    return d.pages().pointer();
}
inline bool chordsTransposeAlong(const Document& d) {
    return d.withCode();
}
inline ShownSettings settings(const Document& d) {
    const ScoreSettings& s = d.score().settings;
    return {d.imageSet(), s.tempoText(), s.keyText(), s.beatText(), d.sound().referenceText()};
}

// "" when every column of the three staves shows the score cell at its index (blank past the
// end); otherwise the first column that does not.
inline std::string staffMismatch(const Document& d) {
    const std::int64_t perStaff = cellsPerStaff(d);
    for (std::int64_t row = 1; row <= 3; ++row) {
        for (std::int64_t c = 1; c <= perStaff; ++c) {
            const std::int64_t index = firstShownCell(d) + (row - 1) * perStaff + c - 1;
            const bool inScore = index >= 0 && index < std::ssize(cells(d));
            const ScoreCell want =
                inScore ? cells(d)[static_cast<std::size_t>(index)] : ScoreCell{};
            const ScoreCell got = d.pages().staff(row).cellAt(c);
            if (got == want) continue;
            std::ostringstream out;
            out << "row " << row << " column " << c << " (score index " << index << ") shows "
                << got.noteIndex << "," << got.onpIndex << " instead of " << want.noteIndex << ","
                << want.onpIndex;
            return out.str();
        }
    }
    return {};
}

// ---- Writes (when) ----

// What no click or key does: states the window reaches only by a sequence of steps (an entry
// cell, a page without its buttons, a selection a cut left past the score).
struct DocumentAccess {
    static StaffPages& pages(Document& d) { return d.pages_; }
    static void setEntry(Document& d, ScoreCell c) { d.entry_.take(c); }
    static void placeSelection(Document& d, Pos from, Pos to) {
        d.pages_.sel_ = {from.row, from.col, to.row, to.col};
    }
};
// Pages P, P+1, P+2 shown (the top page stays), and the top page set (nothing is shown).
inline void showPage(Document& d, std::int64_t P) {
    DocumentAccess::pages(d).showPage(P);
}
inline void setTopPage(Document& d, std::int64_t P) {
    DocumentAccess::pages(d).setTopPage(P);
}

// What a save writes (it stores the chord fields first).
inline std::string saveText(Document& d) {
    return scoreFileText(d.snapshot().score);
}

// Text typed into chord field 0..2 whose editing has not ended.
inline void typeChordField(Document& d, std::size_t field, std::string text) {
    d.setChordField(field, std::move(text));
}
inline void typeChordFields(Document& d, std::array<std::string, 3> texts) {
    for (std::size_t i = 0; i < texts.size(); ++i) d.setChordField(i, std::move(texts[i]));
}
// Text typed into the reference-pitch field, not yet applied.
inline void typeReferencePitch(Document& d, const std::string& text) {
    d.setReferencePitchText(text);
}
inline void setEntry(Document& d, ScoreCell c) {
    DocumentAccess::setEntry(d, c);
}

namespace detail {
inline std::int64_t indexOf(const std::vector<std::string>& items, const std::string& text) {
    const auto it = std::find(items.begin(), items.end(), text);
    return it == items.end() ? -1 : it - items.begin();
}
}  // namespace detail
// The window's choices by what they show; a value the list does not have clears the choice.
inline void setTempo(Document& d, std::int64_t bpm) {
    d.chooseTempo(detail::indexOf(tempoItems(), std::to_string(bpm)));
}
inline void setKey(Document& d, const std::string& key) {
    d.chooseKey(detail::indexOf(inKeyItems(), key));
}
inline void setBeats(Document& d, std::int64_t beats) {
    d.chooseBeat(detail::indexOf(beatItems(), std::to_string(beats)));
}

// ---- Set-up (given) ----

// givenScore().cells({{17, 5}, {20, 3}}).chordLines({"C"}).onPage(2).selected({1, 3}).build()
// Cells, chord lines or a page show page 1 with the first cell selected, as opening a score
// does, then the page asked for as the page buttons leave it; a selection or entry cell
// comes after that.
class GivenScore {
  public:
    GivenScore& cells(std::vector<ScoreCell> c) { return set(cells_, std::move(c)); }
    GivenScore& chordLines(std::vector<std::string> lines) { return set(lines_, std::move(lines)); }
    GivenScore& onPage(std::int64_t P) { return set(page_, P); }
    // Selected as a click would (selCell, then selCellTo for a range).
    GivenScore& selected(Pos at) { return selected(at, at); }
    GivenScore& selected(Pos from, Pos to) { return select(from, to, false); }
    // Written as is, also where a click could not put it (off the staves, past the score).
    GivenScore& forcedSelection(Pos from, Pos to) { return select(from, to, true); }
    GivenScore& entry(ScoreCell c) { return set(entry_, c); }
    GivenScore& tempo(std::int64_t bpm) { return set(tempo_, bpm); }
    GivenScore& key(std::string k) { return set(key_, std::move(k)); }
    GivenScore& beats(std::int64_t n) { return set(beats_, n); }
    // The reference-pitch field's text.
    GivenScore& referencePitch(std::string field) { return set(hz_, std::move(field)); }
    // The image sets the set folder offers and the one chosen (-1: none).
    GivenScore& imageSets(std::vector<std::string> names, std::int64_t chosen = 0) {
        imageSet_ = chosen;
        return set(imageSets_, std::move(names));
    }
    GivenScore& chordsTransposeAlong(bool on = true) { return set(withChords_, on); }

    // A score window's document laid out as the window lays it out, with no set folder (an
    // empty path never lists image sets, whatever folders the machine has).
    std::unique_ptr<Document> build(UndoHistory* undo = nullptr,
                                    AudioOutput* audio = nullptr) const {
        auto d = std::make_unique<Document>(undo, audio);
        d->windowControllerDidLoadNib(
            {{44, 26, 1200, 140}, {44, 198, 1200, 140}, {44, 370, 1200, 140}, {0, 0, 60, 140}}, "");
        applyTo(*d);
        return d;
    }

    // The same state on a document that exists, such as a real window's.
    void applyTo(Document& d) const {
        if (imageSets_) {
            d.setImageSets(*imageSets_);
            d.chooseImageSet(imageSet_);
        }
        if (tempo_) setTempo(d, *tempo_);
        if (key_) setKey(d, *key_);
        if (beats_) setBeats(d, *beats_);
        if (hz_) typeReferencePitch(d, *hz_);
        if (withChords_) d.setWithCode(*withChords_);  // the "with chords" check box
        if (cells_ || lines_ || page_) {
            // Opened as a file is, with the settings and the field text the window has.
            Score score = d.score();
            if (cells_) score.musicData = *cells_;
            if (lines_) score.codeData = *lines_;
            const std::string field = d.sound().referenceText();
            d.open(score);
            typeReferencePitch(d, field);
            d.selCell(1, 1);
            if (page_ && *page_ != 1) {
                setTopPage(d, *page_);
                showPage(d, *page_);
            }
        }
        if (select_ && forced_) {
            DocumentAccess::placeSelection(d, select_->from, select_->to);
        } else if (select_) {
            d.selCell(select_->from.col, select_->from.row);
            if (select_->to != select_->from) d.selCellTo(select_->to.col, select_->to.row);
        }
        if (entry_) setEntry(d, *entry_);
    }

  private:
    template <typename T, typename V>
    GivenScore& set(std::optional<T>& field, V&& value) {
        field = std::forward<V>(value);
        return *this;
    }
    GivenScore& select(Pos from, Pos to, bool forced) {
        select_ = Selection{from, to};
        forced_ = forced;
        return *this;
    }

    std::optional<std::vector<ScoreCell>> cells_;
    std::optional<std::vector<std::string>> lines_;
    std::optional<std::int64_t> page_, tempo_, beats_;
    std::optional<Selection> select_;
    bool forced_ = false;
    std::optional<ScoreCell> entry_;
    std::optional<std::string> key_, hz_;
    std::optional<std::vector<std::string>> imageSets_;
    std::int64_t imageSet_ = 0;
    std::optional<bool> withChords_;
};

inline GivenScore givenScore() {
    return {};
}

// A new score window's document.
inline std::unique_ptr<Document> makeDocument(UndoHistory* undo = nullptr,
                                              AudioOutput* audio = nullptr) {
    return givenScore().build(undo, audio);
}

}  // namespace sorvel::testing
