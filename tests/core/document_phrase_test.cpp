// The phrase builder's line on a real document (one undoable step, shown from line 1), and its
// phrase played through the document's sound.
#include "app/document_phrase.h"

#include <gtest/gtest.h>

#include "fakes.h"
#include "given.h"
#include "sound/tone.h"

namespace sorvel {
namespace {

using namespace sorvel::testing;
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
