#pragma once

// Documents as a score window sets them up, with a recording audio output and diagnostics.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/document.h"
#include "edit/undo_history.h"
#include "model/diagnostics.h"
#include "sound/audio_output.h"

namespace sorvel::testing {

// Records every call and every scheduled buffer, for checks of order and samples.
class CapturingAudioOutput : public AudioOutput {
  public:
    explicit CapturingAudioOutput(PcmFormat format = {}) : format_(format) {}

    PcmFormat outputFormat() const override { return format_; }
    void connect(const PcmFormat& format) override {
        calls.push_back("connect");
        connected.push_back(format);
    }
    void scheduleBuffer(PcmBuffer buffer) override {
        calls.push_back("schedule");
        buffers.push_back(std::move(buffer));
    }
    void playNow(PcmBuffer buffer) override {
        calls.push_back("now");
        buffers.push_back(std::move(buffer));
    }
    std::optional<std::string> start() override {
        calls.push_back("start");
        return startError;
    }
    void play() override { calls.push_back("play"); }

    void setFormat(PcmFormat format) { format_ = format; }

    std::vector<std::string> calls;
    std::vector<PcmFormat> connected;
    std::vector<PcmBuffer> buffers;
    // When set, start() fails with this text.
    std::optional<std::string> startError;

  private:
    PcmFormat format_;
};

// A score window's document, set up as the window does, with no set folder (an empty path
// never lists image sets, whatever folders the machine has).
inline std::unique_ptr<Document> makeDocument(UndoHistory* undo = nullptr,
                                              AudioOutput* audio = nullptr) {
    auto doc = std::make_unique<Document>(undo, audio);
    doc->windowControllerDidLoadNib(
        {{44, 26, 1200, 140}, {44, 198, 1200, 140}, {44, 370, 1200, 140}, {0, 0, 60, 140}}, "");
    return doc;
}

// A staff row (1..3) and 1-based column of the score window.
struct Pos {
    std::int64_t row, col;
    friend bool operator==(const Pos&, const Pos&) = default;
    friend std::ostream& operator<<(std::ostream& os, const Pos& p) {
        return os << "(" << p.row << "," << p.col << ")";
    }
};

// Cells with distinct, valid contents: pitch i % 39, quarter note or a value cycling
// through the note values.
inline std::vector<ScoreCell> distinctCells(std::int64_t n) {
    std::vector<ScoreCell> cells;
    for (std::int64_t i = 0; i < n; ++i) cells.push_back({i % 39, 1 + (i / 39) % 64});
    return cells;
}

// Gives the document a score and shows page 1 with the pointer on the first cell.
inline void loadScore(Document& doc, std::vector<ScoreCell> cells) {
    doc.score().musicData = std::move(cells);
    doc.setTopPage(1);
    doc.showPage(1);
    doc.selCell(1, 1);
}

// Every column of the three staves shows the score cell at its index (blank past the end).
inline void expectStavesShowScore(const Document& doc) {
    const auto count = static_cast<std::int64_t>(doc.score().musicData.size());
    for (std::int64_t row = 1; row <= 3; ++row) {
        const GosenView& staff = *doc.staffOfRow(row);
        for (std::int64_t c = 0; c < doc.gosenCellMax; ++c) {
            const std::int64_t index = doc.startCell() + (row - 1) * doc.gosenCellMax + c;
            const ScoreCell expected = index >= 0 && index < count
                                           ? doc.score().musicData[static_cast<std::size_t>(index)]
                                           : ScoreCell{};
            EXPECT_EQ(staff.cellAt(c + 1), expected)
                << "row " << row << " column " << c + 1 << " score index " << index;
        }
    }
}

// Collects diagnostic lines while it lives.
class DiagCapture {
  public:
    DiagCapture() {
        setDiagnosticSink([this](std::string_view line) { lines.emplace_back(line); });
    }
    ~DiagCapture() { setDiagnosticSink({}); }
    DiagCapture(const DiagCapture&) = delete;
    DiagCapture& operator=(const DiagCapture&) = delete;
    bool contains(const std::string& line) const {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
    std::vector<std::string> lines;
};

}  // namespace sorvel::testing
