// The entry cell's operations: pitch steps with their tone, note values, triplets, ties and
// the other glyph family; the steps of the one-cell staves, and replacing one pitch by another
// in every octave.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/replace.h"
#include "fakes.h"
#include "given.h"
#include "model/notation_tables.h"
#include "sound/tone.h"
#include "view/pitch_step.h"

namespace sorvel {
namespace {

using namespace sorvel::testing;

// The steps themselves are PitchStep's table; here the document applies one and sounds it.
TEST(EntryCell, StepEntryPitchSoundsThePitchForEveryRow) {
    // {from, row, to}
    const std::int64_t steps[][3] = {
        {5, 0, 6}, {1000, 0, 0},    {38, 4, 21},  // a stray pitch is brought into the table
        {5, 5, 5}, {1000, 9, 1000},               // other rows change nothing
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(::testing::Message() << "from " << s[0] << " row " << s[1]);
        CapturingAudioOutput audio;
        auto doc = givenScore().entry({s[0], 5}).build(nullptr, &audio);
        DiagCapture diag;
        doc->stepEntryPitch(s[1]);
        EXPECT_EQ(entry(*doc), (ScoreCell{s[2], 5}));
        ASSERT_FALSE(diag.lines.empty());
        EXPECT_EQ(diag.lines.front(), std::to_string(s[1]));
        // The pitch is sounded for every row, also when nothing changed; silence off the table.
        ASSERT_EQ(audio.buffers.size(), 1u);
        const float f =
            tables::validPitch(s[2]) ? tables::freqArr[static_cast<std::size_t>(s[2])] : 0.0f;
        const PcmBuffer& b = audio.buffers[0];
        EXPECT_EQ(b.frameLength, 22050u);
        EXPECT_EQ(b.channelData.at(0).at(100),
                  synthesizeTone(b.format, f, 0.5f).channelData.at(0).at(100));
    }
}

// Note values, then the triplet, tie and form partners: the pairs themselves are the note-value
// table's (NoteValues.PartnersPairUp...); here the entry cell swaps along them both ways and
// leaves a value without a partner alone.
TEST(EntryCell, ValuesAndPartnersBothWaysRedrawWithoutAnUndoStep) {
    const struct {
        ScoreCell before;
        std::int64_t row, column;
        ScoreCell after;
    } cases[] = {
        {{4, 9}, 0, 0, {4, 1}},     {{4, 9}, 0, 2, {4, 5}},   {{4, 9}, 0, 5, {4, 11}},
        {{4, 9}, 1, 0, {17, 13}},   {{4, 9}, 1, 2, {17, 17}}, {{30, 9}, 1, 5, {17, 23}},
        {{4, 9}, 2, 0, {4, 0}},                                // blank keeps the pitch
        {{4, 5}, 2, 1, {4, 6}},     {{4, 6}, 2, 1, {4, 5}},    // dot toggle
        {{17, 13}, 2, 1, {17, 14}}, {{4, 29}, 2, 1, {4, 30}},  // rests and alternate notes
        {{4, 9}, 2, 2, {17, 25}},   {{4, 9}, 2, 5, {17, 28}},  // marks
        {{4, 9}, 0, 6, {4, 9}},     {{4, 9}, 1, -1, {4, 9}},  {{4, 9}, 2, 6, {4, 9}},
        {{4, 9}, 3, 0, {4, 9}},     {{4, 9}, -1, 1, {4, 9}},
    };
    UndoHistory undo;
    auto doc = makeDocument(&undo);
    // Values without a dotted form stay under the dot, as a blank does: marks, triplets,
    // ties, and stray values.
    for (std::int64_t v : {25, 26, 28, 41, 44, 52, 53, 64, 0, 70, -3}) {
        setEntry(*doc, {4, v});
        doc->setEntryValue(2, 1);
        EXPECT_EQ(entry(*doc), (ScoreCell{4, v}));
    }
    for (const auto& c : cases) {
        setEntry(*doc, c.before);
        doc->setEntryValue(c.row, c.column);
        EXPECT_EQ(entry(*doc), c.after) << "(" << c.before.noteIndex << ", " << c.before.onpIndex
                                        << ") row " << c.row << " column " << c.column;
    }
    struct Redraws : DocumentObserver {
        int n = 0;
        void staffNeedsDisplay(const GosenView& s) override { n += s.identifier() == "gosenE"; }
        void controlsChanged() override {}
        void endEditing() override {}
    } observer;
    doc->setObserver(&observer);
    const struct {
        void (Document::*toggle)();
        std::int64_t from, to;
    } toggles[] = {
        {&Document::toggleTriplet, 5, 41},  {&Document::toggleTriplet, 13, 13},  // no partner
        {&Document::toggleTie, 64, 39},     {&Document::swapEntryForm, 5, 33},
        {&Document::swapEntryForm, 17, 17},  // a rest
        {&Document::swapEntryForm, -2, -2}, {&Document::toggleTie, 70, 70},
    };
    for (const auto& c : toggles) {
        setEntry(*doc, {12, c.from});
        (doc.get()->*c.toggle)();
        EXPECT_EQ(entry(*doc), (ScoreCell{12, c.to})) << c.from;
    }
    // Every entry operation redraws the entry staff and records no undo step.
    doc->stepEntryPitch(0);
    doc->setEntryValue(7, 7);
    EXPECT_EQ(observer.n, 2 * static_cast<int>(std::size(toggles)) + 2);  // each set-up redraws too
    EXPECT_FALSE(undo.canUndo());
    doc->setObserver(nullptr);
}

TEST(PitchStep, StepsAndWraps) {
    // {pitch, row, after}: the wraps at both ends, the naturals, the octave; stray pitches are
    // brought into the table first, other rows change nothing.
    const std::int64_t cases[][3] = {
        {37, 0, 38}, {38, 0, 0},  {38, 1, 0},   {0, 1, 3},  {16, 1, 20}, {3, 2, 0},
        {0, 2, 38},  {17, 2, 14}, {0, 3, 38},   {1, 3, 0},  {21, 4, 38}, {22, 4, 5},
        {0, 4, 17},  {17, 5, 17}, {17, -1, 17}, {99, 0, 0}, {-5, 3, 38}, {1000, 4, 21},
    };
    for (const auto& c : cases) EXPECT_EQ(stepPitch(c[0], c[1]), c[2]) << c[0] << " row " << c[1];
}

TEST(PitchStep, StaffKeepsItsPositionAndRedraws) {
    GosenView staff("gosenT");
    std::vector<ScoreCell> cell;
    setUpOneCellStaff({staff, cell}, 17, 1);
    int redraws = 0;
    staff.onNeedsDisplay = [&](const GosenView&) { ++redraws; };
    stepStaffPitch({staff, cell}, 1);  // A1 -> B1
    EXPECT_EQ(staff.cellAt(1), (ScoreCell{20, 1}));
    EXPECT_EQ(staff.selLocate, tables::locateArr[20]);
    EXPECT_EQ(redraws, 1);
    stepStaffPitch({staff, cell}, 9);
    EXPECT_EQ(staff.cellAt(1).noteIndex, 20);
}

TEST(Replace, ScoreCases) {
    struct Case {
        const char* name;
        std::int64_t a, b;
        std::vector<ScoreCell> before, after;
    };
    // clang-format off
    const std::vector<Case> cases = {
        {"A1 to C1#", 17, 22, {{0, 5}, {17, 5}, {34, 7}, {3, 5}},
         {{5, 5}, {22, 5}, {5, 7}, {3, 5}}},
        {"C2 to A0", 38, 0, {{38, 1}, {21, 1}, {4, 1}, {5, 1}}, {{0, 1}, {17, 1}, {0, 1}, {5, 1}}},
        {"other spelling untouched", 1, 10, {{1, 5}, {2, 5}, {18, 5}}, {{10, 5}, {2, 5}, {27, 5}}},
        {"same pitch", 17, 17, {{17, 5}, {0, 5}}, {{17, 5}, {0, 5}}},
        // No chaining: A0 -> A1 and A1 -> A2 happen side by side, the new A1 stays.
        {"no chaining", 0, 17, {{0, 5}, {17, 5}, {34, 5}}, {{17, 5}, {34, 5}, {17, 5}}},
        {"rests and marks by their pitch", 17, 20, {{17, 17}, {17, 27}, {17, 0}, {4, 17}},
         {{20, 17}, {20, 27}, {20, 0}, {4, 17}}},
        {"find outside the table", -1, 3, {{17, 5}, {0, 5}}, {{17, 5}, {0, 5}}},
        {"find past the table", 39, 3, {{17, 5}, {0, 5}}, {{17, 5}, {0, 5}}},
        {"replacement outside the table", 17, -1, {{17, 5}}, {{17, 5}}},
        {"replacement past the table", 17, 39, {{17, 5}}, {{17, 5}}},
    };
    // clang-format on
    for (const Case& c : cases) {
        std::vector<ScoreCell> cells = c.before;
        const std::int64_t changed = replacePitches(cells, c.a, c.b);
        EXPECT_EQ(cells, c.after) << c.name;
        std::int64_t differ = 0;
        for (std::size_t i = 0; i < cells.size(); ++i) differ += cells[i] != c.before[i];
        EXPECT_EQ(changed, differ) << c.name;
    }
}

TEST(Replace, WindowActsOnTheScoreWithoutUndoAndShowsPageOne) {
    testing::DiagCapture quiet;
    UndoHistory undo;
    auto doc = testing::givenScore().cells({{17, 5}, {3, 5}, {0, 1}}).build(&undo);
    doc->deleteCells(1, 1);  // an edit before the replacement
    testing::setTopPage(*doc, 2);

    PitchReplacer replacer;
    EXPECT_EQ(replacer.findPitch(), 17);
    EXPECT_EQ(replacer.replacementPitch(), 17);
    replacer.btnUpDwn2(1);  // A1 -> B1
    EXPECT_EQ(replacer.btnReplace(*doc), 2);
    EXPECT_EQ(doc->score().musicData, (std::vector<ScoreCell>{{20, 5}, {3, 1}}));
    EXPECT_EQ(testing::topPage(*doc), 1);
    EXPECT_EQ(testing::staffMismatch(*doc), "");
    // Undo takes back the deletion made before, not the replacement.
    EXPECT_EQ(undo.undoStepCount(), 1u);
    undo.undo();
    EXPECT_EQ(doc->score().musicData, (std::vector<ScoreCell>{{20, 5}, {3, 5}, {3, 1}}));

    // The same pitch twice: unchanged, still shown from page 1; an empty score is left alone.
    testing::setTopPage(*doc, 2);
    replacer.btnUpDwn1(1);
    EXPECT_EQ(replacer.btnReplace(*doc), 0);
    EXPECT_EQ(testing::topPage(*doc), 1);
    auto empty = testing::givenScore().cells({}).build(&undo);
    testing::setTopPage(*empty, 2);
    replacer.btnUpDwn2(0);
    EXPECT_EQ(replacer.btnReplace(*empty), 0);
    EXPECT_EQ(testing::topPage(*empty), 2);
}

}  // namespace
}  // namespace sorvel
