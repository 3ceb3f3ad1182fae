// Cut, Copy, Paste and Add on the text being edited or on the selected cells of a score, and
// the byte form the cells take on the clipboard.
#include "app/clipboard_commands.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "edit/clip_payload.h"
#include "edit/undo_history.h"
#include "fakes.h"
#include "given.h"

namespace sorvel {
namespace {

using namespace sorvel::testing;
using Cells = std::vector<ScoreCell>;
using E = ClipPayloadError;
constexpr auto kCut = ClipAction::Cut, kCopy = ClipAction::Copy, kPaste = ClipAction::Paste,
               kAdd = ClipAction::Add;

// Cells [from, to) of v, followed by the cells of each further range.
Cells pick(const Cells& v, std::initializer_list<std::pair<std::size_t, std::size_t>> ranges) {
    Cells out;
    for (auto [from, to] : ranges)
        out.insert(out.end(), v.begin() + std::ptrdiff_t(from), v.begin() + std::ptrdiff_t(to));
    return out;
}

// A score of `cells` distinct cells on one staff, columns from..to selected as the window
// left them (also past the score, as a cut leaves it).
struct Rig {
    DiagCapture quiet;
    UndoHistory undo;
    FakeClipboard clipboard;
    FakeAlerts alerts;
    ClipboardCommands commands{clipboard, alerts};
    std::unique_ptr<Document> doc;
    EditableScore* reached = nullptr;  // the score a command last acted on
    Rig(std::int64_t cells, std::int64_t from, std::int64_t to)
        : doc(givenScore()
                  .cells(distinctCells(cells))
                  .forcedSelection({1, from}, {1, to})
                  .build(&undo)) {
        commands.setScoreReached([this](EditableScore& s) { reached = &s; });
    }
    const Cells& score() const { return doc->score().musicData; }
    void select(std::int64_t from, std::int64_t to) {
        doc->selCell(from, 1);
        doc->selCellTo(to, 1);
    }
    void act(ClipAction a) { commands.perform(a, target()); }
    bool can(ClipAction a) { return commands.canPerform(a, target()); }
    ClipTarget target() { return {ClipFocus::Score, nullptr, doc.get()}; }
};

TEST(ClipboardCommands, CopyCutPasteAndAddMoveTheSelectionInOneStepEach) {
    const struct {
        ClipAction action;
        std::int64_t selectedColumn;  // one cell selected
        std::size_t insertedAt;       // score index of the first pasted cell
        std::int64_t selectedColumnAfter;
    } cases[] = {{kPaste, 1, 0, 2}, {kPaste, 7, 6, 8}, {kAdd, 1, 1, 1}, {kAdd, 8, 8, 8}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.selectedColumn);
        Rig rig(8, 3, 5);
        const Cells original = rig.score();
        rig.act(kCopy);
        EXPECT_EQ(rig.reached, rig.doc.get());
        EXPECT_FALSE(rig.undo.canUndo()) << "a copy is not an edit";
        EXPECT_FALSE(rig.clipboard.text.has_value()) << "no plain text from a score copy";

        rig.select(c.selectedColumn, c.selectedColumn);
        rig.act(c.action);
        const Cells pasted = pick(original, {{0, c.insertedAt}, {2, 5}, {c.insertedAt, 8}});
        EXPECT_EQ(rig.score(), pasted);
        EXPECT_EQ(selection(*rig.doc).from.col, c.selectedColumnAfter);
        rig.undo.undo();
        EXPECT_EQ(rig.score(), original);
        EXPECT_FALSE(rig.undo.canUndo());
        rig.undo.redo();
        EXPECT_EQ(rig.score(), pasted);
    }
    // A cut takes the cells onto the clipboard and out of the score as one step.
    Rig rig(6, 2, 4);
    const Cells original = rig.score();
    rig.act(kCut);
    EXPECT_EQ(rig.score(), pick(original, {{0, 1}, {4, 6}}));
    EXPECT_EQ(decodeClipCells(*rig.clipboard.cells).cells, pick(original, {{1, 4}}));
    EXPECT_EQ(rig.undo.undoStepCount(), 1u);
    rig.select(2, 2);
    rig.act(kPaste);
    EXPECT_EQ(rig.score(), original);
}

TEST(ClipboardCommands, SmallScoresAndBadSelections) {
    const std::string bad = "範囲指定が不正です。";
    const struct {
        const char* name;
        std::int64_t cells, from, to;
        ClipAction action;
        std::size_t cellsAfter;
        bool clipboardWritten, alert;
    } cases[] = {
        {"cut of one cell", 1, 1, 1, kCut, 1, false, false},
        {"cut of an empty score", 0, 1, 1, kCut, 0, false, false},
        {"end beyond the score", 4, 2, 9, kCut, 4, false, true},
        {"start beyond the score", 4, 6, 6, kCopy, 4, false, true},
        {"end before start", 4, 3, 2, kCut, 4, false, true},
        {"cut of every cell", 4, 1, 4, kCut, 0, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig(c.cells, c.from, c.to);
        EXPECT_EQ(rig.can(kCopy), c.cells > 1 && !c.alert);
        rig.act(c.action);
        EXPECT_EQ(rig.score().size(), c.cellsAfter);
        EXPECT_EQ(rig.clipboard.writes > 0, c.clipboardWritten);
        EXPECT_EQ(rig.alerts.texts(), c.alert ? std::vector{bad} : std::vector<std::string>{});
    }
}

TEST(ClipboardCommands, PasteIntoOneCellAndIntoAnEmptyScore) {
    for (const std::int64_t n : {1, 0}) {
        for (const ClipAction action : {kPaste, kAdd}) {
            Rig rig(n, 1, 1);
            rig.clipboard.cells = encodeClipCells({{3, 4}, {5, 6}});
            const Cells before = rig.score();
            ASSERT_TRUE(rig.can(action));
            rig.act(action);
            Cells expected = {{3, 4}, {5, 6}};
            expected.insert(action == kPaste ? expected.end() : expected.begin(), before.begin(),
                            before.end());
            EXPECT_EQ(rig.score(), expected) << n;
            EXPECT_GE(rig.doc->selStart(), 0) << "the selection stays inside the score";
            rig.undo.undo();
            EXPECT_EQ(rig.score(), before) << n;
        }
    }
}

TEST(ClipboardCommands, BadClipboardContentOrPlacePastesNothing) {
    const struct {
        std::optional<std::string> cells;
        std::int64_t column;
        const char* alert;  // nullptr for none
    } cases[] = {
        // Only foreign plain text on the clipboard.
        {std::nullopt, 2, "The clipboard holds no score cells; nothing was pasted."},
        {std::string(""), 2, "The clipboard holds no cells."},
        {std::string("SORVELCELLS 1 2 17,5 39,5\n"), 2, "The cells on the clipboard hold a pitch"},
        {std::string("SORVELCELLS 1 1 17,5"), 2, "The cells on the clipboard are damaged"},
        {encodeClipCells({{17, 5}}), 9, nullptr},  // the selection outside the score
    };
    for (const auto& c : cases) {
        for (const ClipAction action : {kPaste, kAdd}) {
            SCOPED_TRACE(c.cells.value_or("-"));
            Rig rig(4, c.column, c.column);
            rig.clipboard.text = "Am";
            rig.clipboard.cells = c.cells;
            // Enabled, so that choosing it says why nothing is pasted.
            EXPECT_EQ(rig.can(action), c.column == 2);
            rig.act(action);
            EXPECT_EQ(rig.score(), distinctCells(4));
            EXPECT_FALSE(rig.undo.canUndo());
            ASSERT_EQ(rig.alerts.shown.size(), c.alert ? 1u : 0u);
            if (c.alert) {
                EXPECT_TRUE(rig.alerts.shown[0].text.starts_with(c.alert));
            }
        }
    }
}

// The byte form of copied cells: every kind of damage, and every cut-off payload, rejected
// whole (random damage is left to tests/fuzz/clip_payload_fuzz.cpp).
TEST(ClipPayload, RejectsDamagedAndCutOffPayloadsWhole) {
    struct Case {
        std::string bytes;
        ClipPayloadError error;
    };
    const std::vector<Case> cases = {
        {"", E::Empty},
        {"sorvelcells 1 1 0,0\n", E::BadHeader},
        {"SORVELCELLS  1 1 0,0\n", E::NotNumeric},
        {"ONPU 1 1 0,0\n", E::BadHeader},
        {"SORVELCELLS 2 1 0,0\n", E::UnsupportedVersion},
        {"SORVELCELLS x 1 0,0\n", E::NotNumeric},
        {"SORVELCELLS 1 0\n", E::BadCount},
        {"SORVELCELLS 1 1000001 0,0\n", E::BadCount},
        {"SORVELCELLS 1 99999999999999999999 0,0\n", E::NotNumeric},
        {"SORVELCELLS 1 1000000 0,0\n", E::CountMismatch},  // a lying count
        {"SORVELCELLS 1 2 0,0\n", E::CountMismatch},
        {"SORVELCELLS 1 1 0,0\nX", E::CountMismatch},
        {"SORVELCELLS 1 2 17,5 4\n", E::OddCount},
        {"SORVELCELLS 1 1 17,\n", E::OddCount},
        {"SORVELCELLS 1 1 17,5", E::Truncated},
        {"SORVELCELLS 1 1 a,5\n", E::NotNumeric},
        {"SORVELCELLS 1 1 17;5\n", E::NotNumeric},
        {"SORVELCELLS 1 1 +1,5\n", E::NotNumeric},
        {"SORVELCELLS 1 1 07,5\n", E::NotNumeric},
        {"SORVELCELLS 1 1 -0,5\n", E::NotNumeric},
        {"SORVELCELLS 1 1 1.5,5\n", E::NotNumeric},
        {"SORVELCELLS 1 1 17,5\r\n", E::NotNumeric},
        {"SORVELCELLS 1 1 39,5\n", E::PitchOutOfRange},
        {"SORVELCELLS 1 1 9223372036854775807,5\n", E::PitchOutOfRange},
        {"SORVELCELLS 1 1 9223372036854775808,5\n", E::NotNumeric},
        {"SORVELCELLS 1 1 17,65\n", E::ValueOutOfRange},
        {"SORVELCELLS 1 2 17,5 17,65\n", E::ValueOutOfRange},  // a good cell before a bad one
        {std::string("SORVELCELLS 1 1 1\0,5\n", 21), E::NotNumeric},
        {std::string(kMaxClipBytes + 1, ' '), E::TooLarge},
    };
    for (const Case& c : cases) {
        const ClipDecodeResult r = decodeClipCells(c.bytes);
        EXPECT_EQ(r.error, c.error) << c.bytes.substr(0, 60);
        EXPECT_TRUE(r.cells.empty()) << c.bytes.substr(0, 60);
        EXPECT_FALSE(describeClipError(r.error).empty());
    }
    const std::string full = encodeClipCells({{17, 12}, {38, 64}, {0, 1}});
    for (std::size_t n = 0; n < full.size(); ++n) {
        const ClipDecodeResult r = decodeClipCells(full.substr(0, n));
        EXPECT_FALSE(r.ok()) << n << ": " << full.substr(0, n);
        EXPECT_TRUE(r.cells.empty());
    }
}

}  // namespace
}  // namespace sorvel
