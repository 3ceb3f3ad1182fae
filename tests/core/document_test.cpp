// The score document's pages, selection and chord fields, and a staff's drawing, click
// columns and frequency table; the phrase builder's line on a real document (one undoable
// step, shown from line 1), and its phrase played through the document's sound.
#include <gtest/gtest.h>

#include "app/document_phrase.h"
#include "fakes.h"
#include "given.h"
#include "golden.h"
#include "model/notation_tables.h"
#include "model/note_values.h"
#include "sound/tone.h"

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

// A command that rewrites the page would otherwise write the stored chord lines back over
// what is being typed in the fields.
TEST(Document, EveryCommandThatRefreshesThePageKeepsTheChordTextBeingTyped) {
    UndoHistory undo;
    using Command = void (*)(Document&, UndoHistory&);
    const Command commands[] = {
        [](Document& d, UndoHistory&) { d.btnIns(); },
        [](Document& d, UndoHistory&) { d.btnADD(); },
        [](Document& d, UndoHistory&) { d.btnDel(); },
        [](Document& d, UndoHistory&) { d.btnUPDate(); },
        [](Document& d, UndoHistory&) { d.cmbImage(); },
        [](Document& d, UndoHistory&) { d.btnAllUpDown(0); },
        [](Document& d, UndoHistory&) { d.btnPageDown(); },
        [](Document& d, UndoHistory& u) {  // the undo of an insert
            const std::string typed = chordFields(d)[1];
            d.btnIns();
            typeChordField(d, 1, typed);  // typed again after the insert
            u.undo();
        },
    };
    for (std::size_t k = 0; k < std::size(commands); ++k) {
        SCOPED_TRACE(k);
        auto d = givenScore().cells(distinctCells(130)).selected({1, 3}).build(&undo);
        typeChordFields(*d, {"C", "G7", "Am"});  // typed, editing not ended
        commands[k](*d, undo);
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

// Every value on the middle of the staff, every pitch as a dotted quarter, every dotted value
// after a sharp and a flat, a blank and stray cells; columns 2 and 3 selected.
TEST(GosenView, DrawsEveryCellAsTheGoldenStaff) {
    std::vector<ScoreCell> cells;
    for (std::int64_t v = 0; v < kValueCount; ++v) cells.push_back({17, v});
    for (std::int64_t p = 0; p < tables::kPitchCount; ++p) cells.push_back({p, 6});
    for (std::int64_t v = 0; v < kValueCount; ++v)
        if (isDottedNote(v)) cells.insert(cells.end(), {{18, v}, {19, v}});
    cells.insert(cells.end(), {{25, 0}, {39, 5}, {-1, 5}, {17, 65}, {17, -3}});
    GosenView staff("gosen1");  // it keeps a pointer to the cells, which outlive it
    staff.cellMax = static_cast<std::int64_t>(cells.size());
    staff.setFrame({44, 26, 30.0 * static_cast<double>(cells.size()), 140});  // staff spacing 7
    staff.imgFol = "/sets";
    staff.showCells(&cells);
    staff.selRow = 1;
    staff.selCol = 2;
    staff.selColTo = 3;
    RecordingCanvas canvas;
    staff.draw(canvas, "names");
    expectGolden("staff.txt", canvas.recorded());
}

using Cells = std::vector<ScoreCell>;

TEST(DocumentPhrase, AppendsAtTheEndAsOneStepAndShowsLineOne) {
    const struct {
        const char* name;
        std::int64_t scoreCells;  // cells before
        std::int64_t topPage;     // page shown before
        Cells appended;
    } cases[] = {
        {"short score", 3, 1, {{4, 5}, {17, 25}, {17, 26}, {17, 5}, {17, 27}}},
        {"long score, later page", 250, 4, {{21, 5}, {17, 25}}},
        {"nothing to append", 130, 3, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        UndoHistory undo;
        const Cells before = distinctCells(c.scoreCells);
        auto doc = givenScore().cells(before).onPage(c.topPage).build(&undo);
        ASSERT_EQ(firstShownCell(*doc), (c.topPage - 1) * cellsPerStaff(*doc));
        const std::size_t steps = undo.undoStepCount();

        DocumentPhraseScore score([&] { return doc.get(); });
        ASSERT_TRUE(score.appendCells(c.appended));

        Cells expected = before;
        expected.insert(expected.end(), c.appended.begin(), c.appended.end());
        EXPECT_EQ(cells(*doc), expected);
        EXPECT_EQ(topPage(*doc), 1);
        EXPECT_EQ(firstShownCell(*doc), 0);
        EXPECT_EQ(staffMismatch(*doc), "");
        EXPECT_EQ(undo.undoStepCount(), steps + (c.appended.empty() ? 0 : 1));
        if (c.appended.empty()) continue;
        undo.undo();
        EXPECT_EQ(cells(*doc), before);
        undo.redo();
        EXPECT_EQ(cells(*doc), expected);
    }
}

TEST(DocumentPhrase, PlaysTheNotesInSequenceAtTheScoresTempoAndKey) {
    const PcmFormat format{8000.0, 1};
    const struct {
        const char* name;
        std::int64_t tempo;
        const char* key;
        Cells cells;
        std::vector<std::pair<float, float>> tones;  // Hz, seconds
    } cases[] = {
        {"120, C: quarters, marks left out",
         120,
         "C",
         {{17, 5}, {17, 25}, {4, 5}, {17, 26}, {21, 5}},
         {{440.0f, 0.5f}, {261.0f, 0.5f}, {523.0f, 0.5f}}},
        {"60, Bb", 60, "Bb", {{17, 5}}, {{440.0f * 0.8908986f, 1.0f}}},
        {"240, Eb", 240, "Eb", {{4, 5}, {99, 5}, {-1, 5}}, {{261.0f * 1.1892073f, 0.25f}}},
        {"marks only", 120, "C", {{17, 25}, {17, 27}}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CapturingAudioOutput audio(format);
        auto doc = givenScore().tempo(c.tempo).key(c.key).build(nullptr, &audio);
        DocumentPhraseScore score([&] { return doc.get(); });
        score.playCells(c.cells);

        ASSERT_EQ(audio.buffers.size(), c.tones.size());
        // Queued one behind the other, never cutting each other short.
        EXPECT_EQ(std::count(audio.calls.begin(), audio.calls.end(), "now"), 0);
        for (std::size_t i = 0; i < c.tones.size(); ++i) {
            const PcmBuffer want = synthesizeTone(format, c.tones[i].first, c.tones[i].second);
            EXPECT_EQ(audio.buffers[i].frameLength, want.frameLength) << i;
            EXPECT_EQ(audio.buffers[i].channelData, want.channelData) << i;
        }
    }
}

TEST(DocumentPhrase, WithoutAScoreOrAUsableOutputNothingHappens) {
    DocumentPhraseScore none([]() -> Document* { return nullptr; });
    EXPECT_FALSE(none.appendCells({{4, 5}}));
    none.playCells({{4, 5}});  // no document, no sound, no crash
    DocumentPhraseScore empty({});
    EXPECT_FALSE(empty.appendCells({{4, 5}}));

    auto silent = makeDocument();
    playPhraseCells(*silent, {{17, 5}});  // no output at all

    CapturingAudioOutput broken(PcmFormat{0.0, 2});
    auto doc = makeDocument(nullptr, &broken);
    playPhraseCells(*doc, {{17, 5}});
    EXPECT_TRUE(broken.calls.empty());
}

}  // namespace
}  // namespace sorvel
