// Key release to entry staff drawn and tone queued.
#include <benchmark/benchmark.h>

#include "app/document.h"
#include "edit/undo_history.h"
#include "model/diagnostics.h"
#include "sound/audio_output.h"
#include "view/canvas.h"
#include "view/key_dispatch.h"

namespace sorvel {
namespace {

class DiscardingCanvas : public Canvas {
  public:
    void fillRect(const Rect& r, Color) override { benchmark::DoNotOptimize(r); }
    void strokeRect(const Rect& r, Color, double) override { benchmark::DoNotOptimize(r); }
    void line(Point from, Point, double, Color, std::optional<Dash>) override {
        benchmark::DoNotOptimize(from);
    }
    void image(const Rect&, const std::string& path) override {
        benchmark::DoNotOptimize(path.data());
    }
    void text(Point, const std::string& text, const std::string&, double, double, Color) override {
        benchmark::DoNotOptimize(text.data());
    }
};

class DiscardingAudio : public AudioOutput {
  public:
    PcmFormat outputFormat() const override { return {48000.0, 2}; }
    void connect(const PcmFormat&) override {}
    void scheduleBuffer(PcmBuffer buffer) override {
        benchmark::DoNotOptimize(buffer.channelData.data());
        ++queued;
    }
    std::optional<std::string> start() override { return std::nullopt; }
    void play() override {}
    std::int64_t queued = 0;
};

// Draws every staff the document asks to redraw, at once.
class DrawingObserver : public DocumentObserver {
  public:
    explicit DrawingObserver(const Document& d) : doc(d) {}
    void staffNeedsDisplay(const GosenView& staff) override {
        staff.draw(canvas, doc.imageSet());
        ++drawn;
    }
    void controlsChanged() override {}
    void endEditing() override {}
    const Document& doc;
    DiscardingCanvas canvas;
    std::int64_t drawn = 0;
};

struct Fixture {
    explicit Fixture(std::int64_t cells = 120) {
        setDiagnosticSink([](std::string_view) {});
        doc.setObserver(&observer);
        doc.windowControllerDidLoadNib(
            {{0, 400, 1200, 140}, {0, 240, 1200, 140}, {0, 80, 1200, 140}, {0, 0, 60, 140}},
            "/nonexistent");
        Score score = doc.score();
        score.musicData.assign(static_cast<std::size_t>(cells), ScoreCell{17, 5});
        doc.open(score);
        doc.selCell(5, 1);
    }
    ~Fixture() { setDiagnosticSink({}); }

    UndoHistory undo;
    DiscardingAudio audio;
    Document doc{&undo, &audio};
    DrawingObserver observer{doc};
    winCTL win{doc};
};

// Reports tones and staves per key; a key that queued no tone where one was due, or drew
// nothing, did not do the work timed.
void report(benchmark::State& state, const Fixture& f, bool tones) {
    if (f.observer.drawn == 0 || (tones && f.audio.queued == 0)) {
        state.SkipWithError("the key drew no staff or queued no tone");
    }
    state.counters["tones"] =
        benchmark::Counter(static_cast<double>(f.audio.queued), benchmark::Counter::kAvgIterations);
    state.counters["staves"] = benchmark::Counter(static_cast<double>(f.observer.drawn),
                                                  benchmark::Counter::kAvgIterations);
}

// A piano key: tone synthesized and queued, entry staff drawn.
void BM_KeyRelease_PianoKey(benchmark::State& state) {
    Fixture f;
    std::int64_t i = 0;
    for (auto _ : state) {
        f.win.keyUp(i++ % 2 ? 0 : 2, {}, FocusKind::Window);  // A, D
    }
    report(state, f, true);
}
BENCHMARK(BM_KeyRelease_PianoKey)->Unit(benchmark::kMicrosecond);

// A pitch step (Up arrow): the same through stepEntryPitch.
void BM_KeyRelease_PitchStep(benchmark::State& state) {
    Fixture f;
    for (auto _ : state) f.win.keyUp(126, {}, FocusKind::Window);
    report(state, f, true);
}
BENCHMARK(BM_KeyRelease_PitchStep)->Unit(benchmark::kMicrosecond);

// A note-value key: no tone, entry staff drawn.
void BM_KeyRelease_ValueKey(benchmark::State& state) {
    Fixture f;
    for (auto _ : state) f.win.keyUp(47, {}, FocusKind::Window);  // dot toggle
    report(state, f, false);
}
BENCHMARK(BM_KeyRelease_ValueKey)->Unit(benchmark::kMicrosecond);

// Return: the entry cell written into the score (one undo record), its staff drawn; in a
// score of 120 cells and of 100,000 (what the modified state compares grows with the score).
void BM_KeyRelease_Return(benchmark::State& state) {
    Fixture f(state.range(0));
    for (auto _ : state) f.win.keyUp(36, {}, FocusKind::Window);
    report(state, f, false);
}
BENCHMARK(BM_KeyRelease_Return)->Arg(120)->Arg(100000)->Unit(benchmark::kMicrosecond);

// Right arrow: the selection moves, the three staves and the entry staff are drawn.
void BM_KeyRelease_RightArrow(benchmark::State& state) {
    Fixture f;
    std::int64_t i = 0;
    for (auto _ : state) f.win.keyUp(i++ % 2 ? 123 : 124, {}, FocusKind::Window);
    report(state, f, false);
}
BENCHMARK(BM_KeyRelease_RightArrow)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace sorvel
