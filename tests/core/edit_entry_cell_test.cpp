#include <gtest/gtest.h>

#include <cmath>

#include "edit_test_document.h"
#include "model/notation_tables.h"

namespace sorvel {
namespace {

using testing::CapturingAudioOutput;
using testing::DiagCapture;
using testing::makeDocument;

struct PitchStep {
    std::int64_t from;
    std::int64_t row;
    std::int64_t to;
};

TEST(EntryCell, StepEntryPitchTable) {
    const PitchStep steps[] = {
        {38, 0, 0},  {5, 0, 6},   {0, 0, 1},                // chromatic up, wrapping at C2
        {0, 3, 38},  {6, 3, 5},                             // chromatic down, wrapping at A0
        {21, 4, 38}, {22, 4, 5},  {0, 4, 17}, {38, 4, 21},  // octave
        {9, 1, 11},  {5, 1, 7},   {38, 1, 0}, {37, 1, 38}, {33, 1, 37},  // natural up
        {0, 2, 38},  {11, 2, 10}, {3, 2, 0},  {38, 2, 37},               // natural down
        {2, 2, 0},                                                       // B0b sits above A0
        {1, 2, 38},               // A0# has no position below it: wraps like A0
        {5, 5, 5},   {5, -1, 5},  // other rows change nothing
    };
    for (const PitchStep& s : steps) {
        CapturingAudioOutput audio;
        auto doc = makeDocument(nullptr, &audio);
        doc->entryCell() = {s.from, 5};
        DiagCapture diag;
        doc->stepEntryPitch(s.row);
        EXPECT_EQ(doc->entryCell(), (ScoreCell{s.to, 5})) << "from " << s.from << " row " << s.row;
        ASSERT_FALSE(diag.lines.empty());
        EXPECT_EQ(diag.lines.front(), std::to_string(s.row));
        // The pitch is sounded for every row, also when nothing changed.
        ASSERT_EQ(audio.buffers.size(), 1u);
        const PcmBuffer& b = audio.buffers.front();
        EXPECT_EQ(b.frameLength, 22050u);
        const float f = tables::freqArr[static_cast<std::size_t>(s.to)];
        EXPECT_EQ(b.channelData[0][100], std::sin((f * 6.2831855f) * 100.0f / 44100.0f));
    }
}

TEST(EntryCell, NaturalStepsFollowThePitchNotALateRedraw) {
    // Two steps in a row without any drawing in between: each starts from the pitch the
    // entry cell holds now.
    auto doc = makeDocument();
    doc->entryCell() = {4, 5};  // C0
    doc->stepEntryPitch(1);
    doc->stepEntryPitch(1);
    EXPECT_EQ(doc->entryCell().noteIndex, 10);  // E0
    EXPECT_EQ(doc->gosenE.selLocate, 4);
    doc->stepEntryPitch(2);
    EXPECT_EQ(doc->entryCell().noteIndex, 7);  // D0
}

TEST(EntryCell, StrayPitchIsSteppedIntoTheTable) {
    auto doc = makeDocument();
    for (std::int64_t row = 0; row <= 4; ++row) {
        for (std::int64_t stray : {-7, 39, 1000}) {
            doc->entryCell() = {stray, 5};
            doc->stepEntryPitch(row);
            EXPECT_TRUE(tables::validPitch(doc->entryCell().noteIndex))
                << "row " << row << " from " << stray;
        }
    }
    // An unknown row leaves a stray pitch alone and sounds silence.
    CapturingAudioOutput audio;
    doc->setAudioOutput(&audio);
    doc->entryCell() = {1000, 5};
    doc->stepEntryPitch(9);
    EXPECT_EQ(doc->entryCell().noteIndex, 1000);
    ASSERT_EQ(audio.buffers.size(), 1u);
    for (float sample : audio.buffers[0].channelData[0]) ASSERT_EQ(sample, 0.0f);
}

TEST(EntryCell, StepSoundsTheEntryStaffsOwnTable) {
    CapturingAudioOutput audio;
    auto doc = makeDocument(nullptr, &audio);
    doc->A_Hz = "442";
    doc->chgFreq();
    doc->entryCell() = {16, 5};
    doc->stepEntryPitch(0);  // A1 at 442 Hz
    ASSERT_EQ(audio.buffers.size(), 1u);
    const float f = doc->gosenE.freqArr[17];
    EXPECT_FLOAT_EQ(f, 442.0f);
    EXPECT_EQ(audio.buffers[0].channelData[0][7], std::sin((f * 6.2831855f) * 7.0f / 44100.0f));
}

struct ValueCase {
    ScoreCell before;
    std::int64_t row, column;
    ScoreCell after;
};

TEST(EntryCell, SetEntryValueTable) {
    const ValueCase cases[] = {
        {{4, 9}, 0, 0, {4, 1}},     {{4, 9}, 0, 2, {4, 5}},     {{4, 9}, 0, 5, {4, 11}},
        {{4, 9}, 1, 0, {17, 13}},   {{4, 9}, 1, 2, {17, 17}},   {{30, 9}, 1, 5, {17, 23}},
        {{4, 9}, 2, 0, {4, 0}},                              // blank keeps the pitch
        {{4, 5}, 2, 1, {4, 6}},     {{4, 6}, 2, 1, {4, 5}},  // dot toggle
        {{17, 13}, 2, 1, {17, 14}}, {{17, 25}, 2, 1, {17, 26}}, {{4, 64}, 2, 1, {4, 63}},
        {{4, 0}, 2, 1, {4, 0}},                                // a blank has no dotted form
        {{4, 70}, 2, 1, {4, 70}},   {{4, -3}, 2, 1, {4, -3}},  // stray values stay
        {{4, 9}, 2, 2, {17, 25}},   {{4, 9}, 2, 5, {17, 28}},  // marks
        {{4, 9}, 0, 6, {4, 9}},     {{4, 9}, 1, -1, {4, 9}},    {{4, 9}, 2, 6, {4, 9}},
        {{4, 9}, 3, 0, {4, 9}},     {{4, 9}, -1, 1, {4, 9}},
    };
    auto doc = makeDocument();
    for (const ValueCase& c : cases) {
        doc->entryCell() = c.before;
        doc->setEntryValue(c.row, c.column);
        EXPECT_EQ(doc->entryCell(), c.after)
            << "(" << c.before.noteIndex << ", " << c.before.onpIndex << ") row " << c.row
            << " column " << c.column;
    }
}

TEST(EntryCell, TripletAndTiePairs) {
    const std::pair<std::int64_t, std::int64_t> triplets[] = {
        {5, 41}, {7, 42}, {9, 43}, {17, 44}, {19, 45}, {21, 46}, {33, 47}, {35, 48}, {37, 49}};
    const std::pair<std::int64_t, std::int64_t> ties[] = {{1, 53},  {3, 54},  {5, 55},  {7, 56},
                                                          {9, 57},  {11, 58}, {29, 59}, {31, 60},
                                                          {33, 61}, {35, 62}, {37, 63}, {39, 64}};
    auto doc = makeDocument();
    auto check = [&](auto toggle, const auto& pairs, const char* what) {
        for (std::int64_t v = -2; v <= 70; ++v) {
            std::int64_t expected = v;
            for (const auto& [a, b] : pairs) {
                if (v == a) expected = b;
                if (v == b) expected = a;
            }
            doc->entryCell() = {12, v};
            toggle();
            EXPECT_EQ(doc->entryCell(), (ScoreCell{12, expected})) << what << " " << v;
        }
    };
    check([&] { doc->toggleTriplet(); }, triplets, "triplet");
    check([&] { doc->toggleTie(); }, ties, "tie");
    doc->entryCell() = {12, 6};
    doc->toggleTriplet();
    EXPECT_EQ(doc->entryCell().onpIndex, 6);
    doc->entryCell() = {12, 2};
    doc->toggleTie();
    EXPECT_EQ(doc->entryCell().onpIndex, 2);
}

TEST(EntryCell, OperationsRedrawTheEntryStaffAndRecordNothing) {
    UndoHistory undo;
    auto doc = makeDocument(&undo);
    int redraws = 0;
    doc->gosenE.onNeedsDisplay = [&](const GosenView&) { ++redraws; };
    doc->stepEntryPitch(0);
    doc->setEntryValue(0, 2);
    doc->setEntryValue(7, 7);
    doc->toggleTriplet();
    doc->toggleTie();
    EXPECT_EQ(redraws, 5);
    EXPECT_FALSE(undo.canUndo());
}

}  // namespace
}  // namespace sorvel
