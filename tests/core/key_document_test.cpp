// The key dispatcher on a real document: keys and clicks through DocumentCommands.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "diagnostics.h"
#include "edit/undo_history.h"
#include "model/document.h"
#include "sound/audio_output.h"
#include "view/key_dispatch.h"

namespace sorvel {
namespace {

class CapturingAudio : public AudioOutput {
  public:
    PcmFormat outputFormat() const override { return {44100.0, 2}; }
    void connect(const PcmFormat&) override {}
    void scheduleBuffer(PcmBuffer buffer) override { buffers.push_back(std::move(buffer)); }
    std::optional<std::string> start() override { return std::nullopt; }
    void play() override {}
    std::vector<PcmBuffer> buffers;
};

class Observer : public DocumentObserver {
  public:
    void staffNeedsDisplay(const GosenView& staff) override {
        redrawn.push_back(staff.identifier());
    }
    void controlsChanged() override {}
    void endEditing() override { ++endEditingCount; }
    std::vector<std::string> redrawn;
    int endEditingCount = 0;
};

// The frequency a buffer was synthesized at, from its second sample.
float toneFrequency(const PcmBuffer& b) {
    return std::asin(b.channelData.at(0).at(1)) * static_cast<float>(b.format.sampleRate) /
           6.2831855f;
}

class KeyDocument : public ::testing::Test {
  protected:
    void SetUp() override {
        setDiagnosticSink([](std::string_view) {});
        doc.setObserver(&observer);
        doc.windowControllerDidLoadNib(
            {{0, 400, 800, 100}, {0, 280, 800, 100}, {0, 160, 800, 100}, {0, 20, 40, 100}}, "");
        doc.musicData.clear();
        for (std::int64_t i = 0; i < 50; ++i) doc.musicData.push_back({i % 39, 1 + i % 12});
        doc.showPage(1);
        doc.selCell(1, 1);
        observer.redrawn.clear();
        observer.endEditingCount = 0;
    }
    void TearDown() override { setDiagnosticSink({}); }

    void release(std::int64_t code, bool shift = false) {
        win.keyUp(code, {.shift = shift}, FocusKind::Window);
    }

    UndoHistory undo;
    CapturingAudio audio;
    Observer observer;
    Document doc{&undo, &audio};
    DocumentCommands commands{doc};
    winCTL win{commands};
};

TEST_F(KeyDocument, OneEditFromKeyToScore) {
    doc.selCell(3, 1);
    release(2);   // D: C0
    release(20);  // 3: quarter note
    EXPECT_EQ(doc.entryCell(), (ScoreCell{4, 5}));
    ASSERT_EQ(audio.buffers.size(), 1u);
    EXPECT_EQ(audio.buffers[0].frameLength, 22050u);
    EXPECT_NEAR(toneFrequency(audio.buffers[0]), 261.0f, 0.5f);
    EXPECT_EQ(observer.redrawn.back(), "gosenE");

    const ScoreCell before = doc.musicData[2];
    release(36);  // Return
    EXPECT_EQ(doc.musicData[2], (ScoreCell{4, 5}));
    EXPECT_EQ(doc.gosen1.musicData[2], (ScoreCell{4, 5}));
    undo.undo();
    EXPECT_EQ(doc.musicData[2], before);
}

TEST_F(KeyDocument, EntryCellKeys) {
    release(0, true);  // Shift+A: A1, 440 Hz
    EXPECT_EQ(doc.entryCell().noteIndex, 17);
    EXPECT_NEAR(toneFrequency(audio.buffers.back()), 440.0f, 0.5f);

    const std::size_t tones = audio.buffers.size();
    const ScoreCell kept = doc.entryCell();
    release(33, true);
    release(39, true);
    EXPECT_EQ(doc.entryCell(), kept);
    EXPECT_EQ(audio.buffers.size(), tones);

    release(20);
    EXPECT_EQ(doc.entryCell().onpIndex, 5);
    release(47);
    EXPECT_EQ(doc.entryCell().onpIndex, 6);
    release(47);
    EXPECT_EQ(doc.entryCell().onpIndex, 5);
    release(42);
    EXPECT_EQ(doc.entryCell().onpIndex, 33);
    release(25);  // 9: triplet
    EXPECT_EQ(doc.entryCell().onpIndex, 47);

    release(21, true);  // Shift+4: eighth rest, pitch A1
    EXPECT_EQ(doc.entryCell(), (ScoreCell{17, 19}));
    release(42);
    EXPECT_EQ(doc.entryCell(), (ScoreCell{17, 19}));

    release(126);  // Up: next natural above A1
    EXPECT_EQ(doc.entryCell().noteIndex, 20);
}

TEST_F(KeyDocument, SelectionKeysAndClicks) {
    release(124);
    EXPECT_EQ(doc.selCol, 2);
    EXPECT_EQ(doc.entryCell(), doc.musicData[1]);
    release(124, true);
    EXPECT_EQ(doc.selCol, 2);
    EXPECT_EQ(doc.selColTo, 3);
    release(123, true);
    EXPECT_EQ(doc.selCol, 1);
    EXPECT_EQ(doc.selColTo, 3);

    // Shift-click before the start swaps the range ends.
    doc.selCell(10, 1);
    win.staffMouseUp(1, 4, true);
    EXPECT_EQ(doc.selCol, 4);
    EXPECT_EQ(doc.selColTo, 10);
    EXPECT_EQ(doc.gosen1.selectedCell, 4);

    // 50 cells: gosen2 ends at column 10.
    win.staffMouseUp(2, 11, false);
    EXPECT_EQ(doc.selRow, 1);
    win.staffMouseUp(2, 10, false);
    EXPECT_EQ(doc.selRow, 2);
    EXPECT_EQ(doc.selCol, 10);
    EXPECT_EQ(doc.entryCell(), doc.musicData[49]);
}

TEST_F(KeyDocument, EscapeAndClicksEndEditing) {
    win.makeFirstResponder(true);
    const ScoreCell kept = doc.musicData[0];
    release(36);
    EXPECT_EQ(doc.musicData[0], kept);
    EXPECT_EQ(observer.endEditingCount, 0);
    release(53);
    EXPECT_EQ(observer.endEditingCount, 1);
    EXPECT_FALSE(win.textMode);

    win.makeFirstResponder(true);
    win.staffMouseUp(0, 1, false);
    EXPECT_EQ(observer.endEditingCount, 2);
    EXPECT_FALSE(win.textMode);
}

}  // namespace
}  // namespace sorvel
