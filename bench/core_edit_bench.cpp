// From a pitch step on the entry cell to the entry staff drawn and the tone queued.
#include <benchmark/benchmark.h>

#include "app/document.h"
#include "edit/undo_history.h"
#include "model/diagnostics.h"
#include "sound/audio_output.h"
#include "view/canvas.h"

namespace {

using namespace sorvel;

class NullCanvas : public Canvas {
  public:
    void fillRect(const Rect&, Color) override { ++calls; }
    void strokeRect(const Rect&, Color, double) override { ++calls; }
    void line(Point, Point, double, Color, std::optional<Dash>) override { ++calls; }
    void image(const Rect&, const std::string&) override { ++calls; }
    void text(Point, const std::string&, const std::string&, double, double, Color) override {
        ++calls;
    }
    std::int64_t calls = 0;
};

class DiscardingAudioOutput : public AudioOutput {
  public:
    PcmFormat outputFormat() const override { return {48000, 2}; }
    void connect(const PcmFormat&) override {}
    void scheduleBuffer(PcmBuffer buffer) override {
        frames += buffer.frameLength;
        benchmark::DoNotOptimize(buffer.channelData.data());
    }
    std::optional<std::string> start() override { return std::nullopt; }
    void play() override {}
    std::uint64_t frames = 0;
};

// Draws a staff as soon as it asks for a redraw, as the window's paint would.
class DrawingObserver : public DocumentObserver {
  public:
    explicit DrawingObserver(Document& d) : doc(d) {}
    void staffNeedsDisplay(const GosenView& staff) override { staff.draw(canvas, doc.imageSet()); }
    void controlsChanged() override {}
    void endEditing() override {}
    Document& doc;
    NullCanvas canvas;
};

void BM_PitchStepToStaffAndTone(benchmark::State& state) {
    setDiagnosticSink([](std::string_view) {});
    UndoHistory undo;
    DiscardingAudioOutput audio;
    Document doc(&undo, &audio);
    DocumentLayout layout;
    layout.gosen1 = {0, 300, 1200, 140};
    layout.gosen2 = {0, 150, 1200, 140};
    layout.gosen3 = {0, 0, 1200, 140};
    layout.gosenE = {0, 0, 30, 140};
    doc.windowControllerDidLoadNib(layout, "/nonexistent");
    DrawingObserver observer(doc);
    doc.setObserver(&observer);
    doc.entryCell() = {17, 5};
    std::int64_t row = 0;
    for (auto _ : state) {
        doc.stepEntryPitch(row);
        row = (row + 1) % 4;
    }
    benchmark::DoNotOptimize(observer.canvas.calls);
    state.counters["frames/step"] =
        static_cast<double>(audio.frames) / static_cast<double>(state.iterations());
    if (audio.frames == 0 || observer.canvas.calls == 0) {
        state.SkipWithError("the steps queued no tone or drew nothing");
    }
    doc.setObserver(nullptr);
    setDiagnosticSink({});
}
BENCHMARK(BM_PitchStepToStaffAndTone)->Unit(benchmark::kMicrosecond);

}  // namespace
