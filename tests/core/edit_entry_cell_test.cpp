// The entry cell's operations: pitch steps with their tone, note values, triplets, ties and
// the other glyph family.
#include <gtest/gtest.h>

#include <cmath>

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

TEST(EntryCell, StepsStartFromTheCurrentPitchAndSoundTheEntryStaffsTable) {
    // Two steps in a row without any drawing in between: each starts from the pitch the
    // entry cell holds now.
    CapturingAudioOutput audio;
    auto doc = givenScore().entry({4, 5}).build(nullptr, &audio);  // C0
    doc->stepEntryPitch(1);
    doc->stepEntryPitch(1);
    EXPECT_EQ(entry(*doc).noteIndex, 10);  // E0
    EXPECT_EQ(entryPosition(*doc), 4);
    doc->stepEntryPitch(2);
    EXPECT_EQ(entry(*doc).noteIndex, 7);  // D0

    typeReferencePitch(*doc, "442");
    doc->chgFreq();
    setEntry(*doc, {16, 5});
    doc->stepEntryPitch(0);  // A1 at 442 Hz
    EXPECT_EQ(sample(audio.buffers.back(), 7, 442.0f), 0.0f);
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

TEST(EntryCell, TripletTieAndFormPairsSwapBothWaysAndLeaveOtherValues) {
    const std::vector<std::pair<std::int64_t, std::int64_t>> triplets = {
        {5, 41}, {7, 42}, {9, 43}, {17, 44}, {19, 45}, {21, 46}, {33, 47}, {35, 48}, {37, 49}};
    const std::vector<std::pair<std::int64_t, std::int64_t>> ties = {
        {1, 53},  {3, 54},  {5, 55},  {7, 56},  {9, 57},  {11, 58},
        {29, 59}, {31, 60}, {33, 61}, {35, 62}, {37, 63}, {39, 64}};
    // Notes, triplets and ties change family; blanks, rests and marks stay (a rest must not
    // turn into a triplet value).
    std::vector<std::pair<std::int64_t, std::int64_t>> forms;
    for (std::int64_t v = 1; v <= 12; ++v) forms.push_back({v, v + 28});
    for (std::int64_t v = 41; v <= 46; ++v) forms.push_back({v, v + 6});
    for (std::int64_t v = 53; v <= 58; ++v) forms.push_back({v, v + 6});
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
    for (const auto& [toggle, pairs] :
         {std::pair{&Document::toggleTriplet, triplets}, std::pair{&Document::toggleTie, ties},
          std::pair{&Document::swapEntryForm, forms}}) {
        for (std::int64_t v = -2; v <= 70; ++v) {
            std::int64_t expected = v;
            for (const auto& [a, b] : pairs) expected = v == a ? b : v == b ? a : expected;
            setEntry(*doc, {12, v});
            (doc.get()->*toggle)();
            EXPECT_EQ(entry(*doc), (ScoreCell{12, expected})) << v;
        }
    }
    // Every entry operation redraws the entry staff and records no undo step.
    EXPECT_EQ(redraws, 2 * 3 * 73);
    doc->stepEntryPitch(0);
    doc->setEntryValue(7, 7);
    EXPECT_EQ(redraws, 2 * 3 * 73 + 2);
    EXPECT_FALSE(undo.canUndo());
    doc->setObserver(nullptr);
}

}  // namespace
}  // namespace sorvel
