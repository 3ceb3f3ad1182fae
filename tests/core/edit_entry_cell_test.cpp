// The entry cell's operations: pitch steps with their tone, note values, triplets, ties and
// the other glyph family.
#include <gtest/gtest.h>

#include "fakes.h"
#include "given.h"
#include "model/notation_tables.h"
#include "sound/tone.h"

namespace sorvel {
namespace {

using namespace sorvel::testing;

float sample(const PcmBuffer& b, std::size_t i, float f) {
    EXPECT_EQ(b.frameLength, 22050u);
    return b.channelData.at(0).at(i) - synthesizeTone(b.format, f, 0.5f).channelData.at(0).at(i);
}

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
        EXPECT_EQ(sample(audio.buffers[0], 100, f), 0.0f);
    }
}

TEST(EntryCell, SetEntryValueTable) {
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
    auto doc = makeDocument();
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
}

// The pairs themselves are the note-value table's (NoteValues.PartnersPairUp...); here the
// entry cell swaps along them both ways and leaves a value without a partner alone.
TEST(EntryCell, TripletTieAndFormSwapBothWaysAndRedrawWithoutAnUndoStep) {
    UndoHistory undo;
    auto doc = makeDocument(&undo);
    int redraws = 0;
    struct Redraws : DocumentObserver {
        int& n;
        explicit Redraws(int& count) : n(count) {}
        void staffNeedsDisplay(const GosenView& s) override { n += s.identifier() == "gosenE"; }
        void controlsChanged() override {}
        void endEditing() override {}
    } observer(redraws);
    doc->setObserver(&observer);
    using Toggle = void (Document::*)();
    const struct {
        Toggle toggle;
        std::int64_t from, to;
    } cases[] = {
        {&Document::toggleTriplet, 5, 41},  {&Document::toggleTriplet, 13, 13},  // no partner
        {&Document::toggleTie, 64, 39},     {&Document::swapEntryForm, 5, 33},
        {&Document::swapEntryForm, 17, 17},  // a rest
        {&Document::swapEntryForm, -2, -2}, {&Document::toggleTie, 70, 70},
    };
    for (const auto& c : cases) {
        setEntry(*doc, {12, c.from});
        (doc.get()->*c.toggle)();
        EXPECT_EQ(entry(*doc), (ScoreCell{12, c.to})) << c.from;
    }
    // Every entry operation redraws the entry staff and records no undo step.
    doc->stepEntryPitch(0);
    doc->setEntryValue(7, 7);
    EXPECT_EQ(redraws, 2 * static_cast<int>(std::size(cases)) + 2);  // each set-up redraws too
    EXPECT_FALSE(undo.canUndo());
    doc->setObserver(nullptr);
}

}  // namespace
}  // namespace sorvel
