// The score document's pages, selection and chord fields, and a staff's drawing, click
// columns and frequency table.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "edit_test_document.h"
#include "model/notation_tables.h"
#include "model/note_values.h"

namespace sorvel {
namespace {

using namespace sorvel::testing;
using testing::Selection;  // the test builder's, not the key logic's
using Fields = std::array<std::string, 3>;

TEST(Document, ShowPageHandsThreeStavesOfCellsAndIgnoresPagesOutsideTheScore) {
    for (std::int64_t n : {40, 81, 130}) {
        auto d = givenScore().cells(distinctCells(n)).chordLines({"A", "B", "C", "D"}).build();
        EXPECT_EQ(pageCount(*d), (n + 39) / 40);
        for (std::int64_t P = 1; P <= pageCount(*d); ++P) {
            showPage(*d, P);
            EXPECT_EQ(firstShownCell(*d), (P - 1) * 40);
            EXPECT_EQ(staffMismatch(*d), "");  // the last pages end in blank cells and staves
        }
        if (n != 130) continue;
        EXPECT_EQ(chordFields(*d), (Fields{"D", "     ", "     "}));
        // Outside the score only the chord fields and the page count change.
        const auto shown = staffCells(*d, 1);
        for (std::int64_t P : {-3, 5, 0}) {
            showPage(*d, P);
            EXPECT_EQ(firstShownCell(*d), 120) << P;
            EXPECT_EQ(staffCells(*d, 1), shown);
        }
        EXPECT_EQ(chordFields(*d), (Fields{"     ", "A", "B"}));
    }
    EXPECT_EQ(pageCount(*givenScore().cells({}).build()), 0);
    // Counted in integers: in single precision 16,777,241 cells would read as 16,777,240 and
    // their last page could never be shown.
    EXPECT_EQ(pagesFor(16'777'241, 40), 419'432);
    EXPECT_EQ(pagesFor(16'777'240, 40), 419'431);
    EXPECT_EQ(pagesFor(1, 0), 0);
}

TEST(Document, SelCellWrapsAtTheStaffEndsAndIgnoresPositionsOffTheScore) {
    const struct {
        std::int64_t page, col, row;
        Pos after;  // (2, 3) is the selection before: ignored
    } cases[] = {
        {1, 5, 3, {3, 5}},  {1, 41, 1, {2, 1}},  {1, 41, 2, {3, 1}}, {1, 0, 2, {1, 40}},
        {1, 0, 3, {2, 40}}, {1, 41, 3, {2, 3}},  {1, 0, 1, {2, 3}},  {1, 5, 0, {2, 3}},
        {1, 5, 4, {2, 3}},  {3, 10, 2, {2, 10}},                     // index 129, the last cell
        {3, 11, 2, {2, 3}}, {3, 41, 2, {2, 3}},  {3, 1, 3, {2, 3}},  // past the end
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "page " << c.page << " selCell(" << c.col << ", " << c.row << ")");
        auto d = givenScore().cells(distinctCells(130)).onPage(c.page).selected({2, 3}).build();
        d->selCell(c.col, c.row);
        const Pos p = c.after;
        EXPECT_EQ(selection(*d), (Selection{p, p}));
        const std::int64_t index = firstShownCell(*d) + (p.row - 1) * 40 + p.col - 1;
        EXPECT_EQ(entry(*d), cells(*d)[static_cast<std::size_t>(index)]);
        EXPECT_EQ(pointer(*d).x, 44 + 30.0 * static_cast<double>(p.col - 1));
        EXPECT_EQ(pointer(*d).y, staffTop(*d, p.row));
        for (std::int64_t row = 1; row <= 3; ++row) {
            EXPECT_EQ(staffMarks(*d, row)[0], row == p.row ? 1 : 0);
        }
        EXPECT_EQ(staffMarks(*d, p.row), (std::array<std::int64_t, 3>{1, p.col, p.col}));
    }
}

TEST(Document, SelCellToMarksTheRangeOnEachStaffItCrosses) {
    using Marks = std::array<std::array<std::int64_t, 3>, 3>;  // selRow, selCol, selColTo
    const Marks only2 = {{{0, 0, 0}, {1, 6, 6}, {0, 0, 0}}};
    const struct {
        Pos from, to, end;
        Marks marks;
    } ranges[] = {
        {{1, 3}, {1, 7}, {1, 7}, {{{1, 3, 7}, {0, 0, 0}, {0, 0, 0}}}},
        {{1, 38}, {2, 4}, {2, 4}, {{{1, 38, 40}, {1, 0, 4}, {0, 0, 0}}}},
        {{1, 10}, {3, 2}, {3, 2}, {{{1, 10, 40}, {1, 0, 40}, {1, 0, 2}}}},
        {{3, 2}, {3, 9}, {3, 9}, {{{0, 0, 0}, {0, 0, 0}, {1, 2, 9}}}},
        {{2, 5}, {2, 41}, {3, 1}, {{{0, 0, 0}, {1, 5, 40}, {1, 0, 1}}}},  // wraps
        {{2, 6}, {1, 2}, {1, 2}, only2},                                  // before the start
        // Off the staves or past the score: ignored.
        {{2, 6}, {3, 41}, {2, 6}, only2},
        {{2, 6}, {1, 0}, {2, 6}, only2},
        {{2, 6}, {4, 1}, {2, 6}, only2},
        {{2, 6}, {3, 11}, {2, 6}, only2},
    };
    auto d = givenScore().cells(distinctCells(90)).build();
    for (const auto& r : ranges) {
        d->selCell(r.from.col, r.from.row);
        d->selCellTo(r.to.col, r.to.row);
        SCOPED_TRACE(::testing::Message() << r.from << " to " << r.to);
        EXPECT_EQ(selection(*d), (Selection{r.from, r.end}));
        for (std::int64_t row = 1; row <= 3; ++row) {
            const auto marks = staffMarks(*d, row);
            const auto& m = r.marks[static_cast<std::size_t>(row - 1)];
            EXPECT_EQ(marks[0], m[0]) << "staff " << row;
            if (m[0]) {
                EXPECT_EQ(marks, m) << "staff " << row;
            }
        }
    }
}

TEST(Document, PageButtonsMoveOneStaffAndKeepTheSelectedCell) {
    const struct {
        bool down;
        std::int64_t page;
        Pos before;
        std::int64_t pageAfter;
        Pos after;
    } cases[] = {
        {true, 1, {2, 7}, 2, {1, 7}},  {true, 1, {1, 7}, 2, {1, 7}},
        {true, 2, {3, 7}, 3, {2, 7}},  {true, 4, {1, 7}, 5, {1, 1}},  // onto the last page
        {true, 5, {1, 7}, 5, {1, 1}},                                 // on the last page
        {false, 3, {1, 7}, 2, {2, 7}}, {false, 3, {3, 7}, 2, {3, 7}},
        {false, 1, {2, 7}, 1, {1, 7}}, {false, 1, {1, 7}, 1, {1, 1}},  // on the first page
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.down ? "down" : "up") + " from page " + std::to_string(c.page));
        auto d = givenScore().cells(distinctCells(200)).onPage(c.page).selected(c.before).build();
        c.down ? d->btnPageDown() : d->btnPageUp();
        EXPECT_EQ(topPage(*d), c.pageAfter);
        EXPECT_EQ(selection(*d).from, c.after);
        EXPECT_EQ(firstShownCell(*d), (c.pageAfter - 1) * 40);
        EXPECT_EQ(staffMismatch(*d), "");
    }
}

TEST(Document, TheStavesFollowTheSoundingCellAndKeepTheSelection) {
    const struct {
        std::int64_t top, cell, page;
    } cases[] = {
        {1, 0, 1},  {1, 119, 1}, {1, 120, 4},  // the next page once past the third staff
        {2, 39, 1}, {4, 45, 2},                // back, as a repeat or the exercise loop goes
        {3, -1, 3},
    };
    for (const auto& c : cases)
        EXPECT_EQ(topPageFollowing(c.top, c.cell, 40), c.page) << c.top << " " << c.cell;

    // Selected: cells 44 to 46. Cell 130 turns to page 4, where the selection is off the
    // staves; once nothing sounds it comes back into view, on the same cells.
    auto d = givenScore().cells(distinctCells(200)).selected({2, 5}, {2, 7}).build();
    d->showSounding(130);
    EXPECT_EQ(topPage(*d), 4);
    EXPECT_EQ(d->pages().staff(1).soundingColumn, 11);
    EXPECT_EQ(selection(*d), (Selection{{-1, 5}, {-1, 7}}));
    EXPECT_EQ(pointer(*d).width, 0);
    for (std::int64_t row = 1; row <= 3; ++row) EXPECT_EQ(staffMarks(*d, row)[0], 0);
    d->showSounding(-1);
    EXPECT_EQ(topPage(*d), 2);
    EXPECT_EQ(d->pages().staff(1).soundingColumn, 0);
    EXPECT_EQ(selection(*d), (Selection{{1, 5}, {1, 7}}));
    EXPECT_EQ(d->selStart(), 44);
    EXPECT_EQ(staffMarks(*d, 1), (std::array<std::int64_t, 3>{1, 5, 7}));
}

TEST(Document, ChordFieldsAreStoredForThePagesShown) {
    auto d = givenScore().cells(distinctCells(130)).build();
    typeChordFields(*d, {"A", "B", "C"});
    d->btnPageDown();  // stores the fields of pages 1..3, then shows 2..4
    EXPECT_EQ(chordLines(*d), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(chordFields(*d), (Fields{"B", "C", "     "}));
    typeChordField(*d, 2, "D");
    d->btnPageUp();  // appends page 4's line
    EXPECT_EQ(chordLines(*d), (std::vector<std::string>{"A", "B", "C", "D"}));
    typeChordField(*d, 0, "a");
    d->controlTextDidEndEditing();
    EXPECT_EQ(chordLines(*d)[0], "a");
    setTopPage(*d, 4);
    showPage(*d, 4);
    typeChordFields(*d, {"p4", "p5", "p6"});
    d->controlTextDidEndEditing();
    EXPECT_EQ(chordLines(*d), (std::vector<std::string>{"a", "B", "C", "p4", "p5", "p6"}));
    setTopPage(*d, 0);  // no page: nothing to store
    d->controlTextDidEndEditing();
    EXPECT_EQ(chordLines(*d).size(), 6u);
}

// A command that rewrites the page would otherwise write the stored chord lines back over
// what is being typed in the fields.
TEST(Document, EveryCommandThatRefreshesThePageKeepsTheChordTextBeingTyped) {
    UndoHistory undo;
    const struct {
        const char* name;
        void (*run)(Document&, UndoHistory&);
    } commands[] = {
        {"insert", [](Document& d, UndoHistory&) { d.btnIns(); }},
        {"add", [](Document& d, UndoHistory&) { d.btnADD(); }},
        {"delete", [](Document& d, UndoHistory&) { d.btnDel(); }},
        {"update", [](Document& d, UndoHistory&) { d.btnUPDate(); }},
        {"pictures", [](Document& d, UndoHistory&) { d.cmbImage(); }},
        {"transpose", [](Document& d, UndoHistory&) { d.btnAllUpDown(0); }},
        {"page down", [](Document& d, UndoHistory&) { d.btnPageDown(); }},
        {"undo of an insert",
         [](Document& d, UndoHistory& u) {
             const std::string typed = chordFields(d)[1];
             d.btnIns();
             typeChordField(d, 1, typed);  // typed again after the insert
             u.undo();
         }},
    };
    for (const auto& c : commands) {
        SCOPED_TRACE(c.name);
        auto d = givenScore().cells(distinctCells(130)).selected({1, 3}).build(&undo);
        typeChordFields(*d, {"C", "G7", "Am"});  // typed, editing not ended
        c.run(*d, undo);
        const auto& lines = chordLines(*d);
        ASSERT_GE(lines.size(), 3u);
        EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 3),
                  (std::vector<std::string>{"C", "G7", "Am"}));
        // The fields show the stored lines of the pages now on top.
        for (std::size_t i = 0; i < 3; ++i) {
            const std::size_t line = static_cast<std::size_t>(topPage(*d) - 1) + i;
            EXPECT_EQ(chordFields(*d)[i], line < lines.size() ? lines[line] : "     ");
        }
        undo.removeAllActions(d.get());
    }
}

const char* colourName(Color c) {
    return c == Color::yellow() ? "yellow" : c == Color::white() ? "white" : "?";
}

// Every drawing call as a line of text; "?" marks a colour, dash or font a staff never uses.
class RecordingCanvas : public Canvas {
  public:
    void fillRect(const Rect& r, Color c) override {
        put("fill ", r.x, ",", r.y, " ", r.width, "x", r.height, " ", colourName(c));
    }
    void strokeRect(const Rect&, Color, double) override { put("stroke"); }
    void fillEllipse(const Rect& r, Color c) override {
        put("dot ", r.x + r.width / 2, ",", r.y + r.height / 2, " ", r.width, "x", r.height,
            c == Color::black() ? "" : " ?");
        dots.push_back({r.x + r.width / 2, r.y + r.height / 2});
    }
    std::vector<Point> dots;
    void line(Point a, Point b, double w, Color c, std::optional<Dash> dash) override {
        const bool ledger = dash && *dash == Dash{2, 2, 0};
        put("line ", a.x, "-", b.x, " y", a.y, a.y == b.y && c == Color::black() ? " " : " ? ", w,
            ledger ? " dashed"
            : dash ? " ?"
                   : "");
    }
    void image(const Rect& r, const std::string& path) override {
        put("image ", r.x, ",", r.y, " ", r.width, "x", r.height, " ", path);
    }
    void text(Point at, const std::string& t, const std::string& font, double size, double kerning,
              Color c) override {
        put("text '", t, "' ", at.x, ",", at.y,
            font == kNotationFontFamily && size == 44 && kerning == -5 && c == Color::black()
                ? ""
                : " ?");
    }
    // The calls of each cell, which starts with its fill.
    std::vector<std::vector<std::string>> cells;

  private:
    template <typename... T>
    void put(const T&... parts) {
        std::ostringstream out;
        (out << ... << parts);
        if (out.str().starts_with("fill") || cells.empty()) cells.emplace_back();
        cells.back().push_back(out.str());
    }
};

// The staff keeps a pointer to the cells, which outlive it.
GosenView staffOf(const std::vector<ScoreCell>& cells) {
    GosenView v("gosen1");
    v.cellMax = static_cast<std::int64_t>(cells.size());
    v.setFrame({44, 26, 30.0 * static_cast<double>(cells.size()), 140});  // staff spacing 7
    v.imgFol = "/sets";
    v.showCells(&cells);
    return v;
}

TEST(GosenView, DrawsStaffLinesAGlyphAndThePictureOfEachCell) {
    const struct {
        ScoreCell cell;
        std::string text;     // glyph, then its position
        std::string picture;  // "" for none
    } cases[] = {
        {{17, 5}, "'2' 2.5,81", "A1"},        // A1 quarter
        {{19, 5}, "'/2' 32.5,84.5", "B1b"},   // flat prefix
        {{18, 33}, "'.B' 62.5,81", "A1#"},    // alternate quarter, sharp prefix
        {{2, 14}, "'/=.' 92.5,60", ""},       // dotted whole rest, no picture
        {{17, 17}, "'F' 122.5,81", ""},       // quarter rest
        {{38, 53}, "'n' 152.5,112.5", "C2"},  // tie start
        {{17, 25}, "'(' 182.5,81", ""},       // mark
        {{0, 44}, "'a' 212.5,56.5", ""},      // triplet rest
        {{25, 0}, "' ' 242.5,91.5", ""},      // blank: no accidental either
        {{39, 5}, "' ' 272.5,56.5", ""},      // stray pitch: drawn blank
        {{17, 65}, "' ' 302.5,56.5", ""},     // stray value: drawn blank
    };
    std::vector<ScoreCell> cells;
    for (const auto& c : cases) cells.push_back(c.cell);
    GosenView staff = staffOf(cells);
    staff.selRow = 1;
    staff.selCol = 2;
    staff.selColTo = 3;
    RecordingCanvas canvas;
    staff.draw(canvas, "names");
    ASSERT_EQ(canvas.cells.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        const auto& calls = canvas.cells[i];
        SCOPED_TRACE(c.text);
        const std::string x = std::to_string(30 * i);
        ASSERT_EQ(calls.size(), c.picture.empty() ? 11u : 12u);
        EXPECT_EQ(calls[0], "fill " + x + ",0 30x140 " + (i == 1 || i == 2 ? "yellow" : "white"));
        EXPECT_EQ(calls.back(), "text " + c.text);
        if (!c.picture.empty()) {
            EXPECT_EQ(calls[10], "image " + x + ",0 20x70 /sets/names/" + c.picture + ".png");
        }
    }
    // Ledger lines dashed and 5 points shorter at each end, the five staff lines solid.
    EXPECT_EQ(std::vector<std::string>(canvas.cells[0].begin() + 1, canvas.cells[0].begin() + 10),
              (std::vector<std::string>{"line 5-25 y77 1 dashed", "line 5-25 y84 1 dashed",
                                        "line 0-30 y91 1", "line 0-30 y98 1", "line 0-30 y105 1",
                                        "line 0-30 y112 1", "line 0-30 y119 1",
                                        "line 5-25 y126 1 dashed", "line 5-25 y133 1 dashed"}));
    // Working values keep the last cell drawn; a staff without the selection is all white.
    EXPECT_EQ(staff.selectedNote, "C2");
    staff.selRow = 0;
    RecordingCanvas plain;
    staff.draw(plain, "names");
    for (const auto& calls : plain.cells) EXPECT_TRUE(calls[0].ends_with("white")) << calls[0];
}

// Augmentation dots sit in a space: the note's own space, or the space above a note on a
// line. The glyph drawn is the plain note's; the dot is drawn on its own.
TEST(GosenView, DotsOfDottedNotesSitInASpace) {
    std::int64_t dottedValues = 0;
    for (std::int64_t v = 0; v < kValueCount; ++v) {
        if (!isDottedNote(v)) continue;
        ++dottedValues;
        SCOPED_TRACE(v);
        std::vector<ScoreCell> cells;
        for (std::int64_t p = 0; p < tables::kPitchCount; ++p) cells.push_back({p, v});
        const GosenView staff = staffOf(cells);
        RecordingCanvas canvas;
        staff.draw(canvas, "names");
        ASSERT_EQ(canvas.dots.size(), cells.size());
        const double s = staff.lineSpacing();
        for (std::size_t p = 0; p < cells.size(); ++p) {
            SCOPED_TRACE(tables::noteArr[p]);
            const Point dot = canvas.dots[p];
            // Lines (ledger lines included) lie at 77 + 7k; the dot is half a space off them.
            const double fromLowest = (dot.y - staff.lineY(1)) / s;
            EXPECT_NEAR(fromLowest - std::floor(fromLowest), 0.5, 1e-9) << dot.y;
            // Level with the head or half a space above it, never below.
            const double head = staff.lineY(1) + s * 0.5 * tables::locateArr[p];
            EXPECT_TRUE(dot.y == head || dot.y == head + s * 0.5) << dot.y << " " << head;
            // Right of the head, inside the cell.
            const double cellX = 30.0 * static_cast<double>(p);
            EXPECT_GT(dot.x, cellX + 12) << dot.x;
            EXPECT_LT(dot.x, cellX + 30) << dot.x;
            // The plain glyph is drawn, never the one with the dot built in.
            std::string text;
            for (const std::string& call : canvas.cells[p]) {
                if (call.starts_with("text '")) text = call;
            }
            const std::string plain(noteValue(noteValue(v).dotToggle).glyph);
            EXPECT_TRUE(text.starts_with("text '")) << text;
            EXPECT_NE(text.find(plain + "' "), std::string::npos) << text;
        }
    }
    EXPECT_EQ(dottedValues, 12);
    // Plain notes, rests (whose dot is placed by the font), triplets and ties: no drawn dot.
    std::vector<ScoreCell> others;
    for (std::int64_t v = 0; v < kValueCount; ++v) {
        if (!isDottedNote(v)) others.push_back({20, v});
    }
    RecordingCanvas canvas;
    staffOf(others).draw(canvas, "names");
    EXPECT_TRUE(canvas.dots.empty());
}

TEST(GosenView, ColumnUnderAClick) {
    const std::vector<ScoreCell> blank(40);
    const GosenView staff = staffOf(blank);
    const std::pair<double, std::int64_t> clicks[] = {
        {45, 1}, {44 + 4 * 30 + 29.9, 5}, {44 + 5 * 30, 6}, {44 + 1199, 40}, {39, 1}, {13, 0}};
    for (const auto& [x, column] : clicks) EXPECT_EQ(staff.columnAt(x), column) << x;
}

TEST(GosenView, SetFreqAndChgFreqRebuildTheTablesFromTheReferencePitch) {
    EXPECT_EQ(frequencies(*makeDocument())[4], 261.0f);  // the fixed table until the first rebuild
    const std::vector<float> table = tuningTable(440);
    ASSERT_EQ(table.size(), 51u);
    // Within the table's whole-Hz rounding at every pitch index, sharps and flats alike.
    for (std::size_t i = 0; i < tables::freqArr.size(); ++i) {
        EXPECT_NEAR(table[i], tables::freqArr[i], 1.0f) << tables::noteArr[i];
    }
    EXPECT_EQ(table[1], table[2]);
    EXPECT_NEAR(table[4], 261.63f, 0.01f);

    // chgFreq reads the field's leading integer, writes it back and rebuilds every staff.
    for (const auto& [field, a1] : {std::pair{"442.7", 442}, {"  415Hz", 415}, {"abc", 0}}) {
        auto d = givenScore().referencePitch(field).build();
        DiagCapture diag;
        d->chgFreq();
        ASSERT_EQ(diag.lines.size(), 5u);  // "chgFreq" and one table line per staff
        EXPECT_EQ(diag.lines[1].substr(0, 1), "[");
        EXPECT_EQ(settings(*d).referencePitch, std::to_string(a1));
        ASSERT_EQ(frequencies(*d).size(), 51u);
        EXPECT_FLOAT_EQ(frequencies(*d)[17], static_cast<float>(a1));
        EXPECT_FLOAT_EQ(frequencies(*d)[34], 2.0f * static_cast<float>(a1));
        EXPECT_EQ(referenceHz(*d), a1);
    }
}

}  // namespace
}  // namespace sorvel
