// Repaint of the score window's three staves of 40 cells, with pictures and glyphs.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFontDatabase>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>

#include "app/document.h"
#include "app_resources.h"
#include "qt_canvas.h"
#include "score_window.h"
#include "staff_widget.h"

namespace {

std::string setFolder() {
    const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/set");
    return beside.toStdString();
}

void BM_RepaintThreeStaves(benchmark::State& state) {
    sorvel::gui::ScoreWindow window(std::make_unique<sorvel::Document>(), setFolder());
    sorvel::Document& d = window.document();
    sorvel::Score score = d.score();
    score.musicData.clear();
    // Every cell a pitched note, a third of them with an accidental: the most drawing.
    for (int i = 0; i < 120; ++i)
        score.musicData.push_back(sorvel::ScoreCell{i % 39, 5 + (i % 3) * 2});
    d.open(score);
    d.selCell(3, 1);
    d.selCellTo(20, 2);
    QImage target(sorvel::gui::ScoreLayout::kStaffWidth, sorvel::gui::ScoreLayout::kStaffHeight,
                  QImage::Format_ARGB32_Premultiplied);
    // The pictures are decoded off the GUI thread on the first paint; measured once held.
    for (int row = 1; row <= 3; ++row) window.staffWidget(row)->render(&target);
    sorvel::gui::PictureCache::instance().waitForDecodes();
    for (auto _ : state) {
        for (int row = 1; row <= 3; ++row) {
            window.staffWidget(row)->render(&target);
        }
        benchmark::DoNotOptimize(target.constBits());
    }
    state.counters["imageSet"] = static_cast<double>(d.imageSets().size());
    // Staff lines are black: a target without a dark pixel means nothing was drawn.
    bool drawn = false;
    for (int y = 0; y < target.height() && !drawn; ++y) {
        for (int x = 0; x < target.width() && !drawn; ++x) drawn = qGray(target.pixel(x, y)) < 128;
    }
    if (!drawn) state.SkipWithError("the staves drew nothing");
}
BENCHMARK(BM_RepaintThreeStaves)->Unit(benchmark::kMillisecond);

// Takes the buffers a real output would queue, and drops them.
class DiscardingOutput : public sorvel::AudioOutput {
  public:
    sorvel::PcmFormat outputFormat() const override { return {48000.0, 2}; }
    void connect(const sorvel::PcmFormat&) override {}
    void scheduleBuffer(sorvel::PcmBuffer buffer) override {
        frames += buffer.frameLength;
        benchmark::DoNotOptimize(buffer.channelData.data());
    }
    std::optional<std::string> start() override { return std::nullopt; }
    void play() override {}
    std::int64_t frames = 0;
};

// A piano key released in the score window, through the window's key handling, until the
// entry staff is repainted and the tone is queued.
void BM_KeyReleaseToEntryRepaint(benchmark::State& state) {
    auto output = std::make_unique<DiscardingOutput>();
    DiscardingOutput* out = output.get();
    sorvel::gui::ScoreWindow window(std::make_unique<sorvel::Document>(), setFolder(),
                                    std::move(output));
    window.show();
    window.scoreArea()->setFocus();
    const int keys[] = {Qt::Key_D, Qt::Key_F, Qt::Key_G, Qt::Key_H};
    std::size_t i = 0;
    for (auto _ : state) {
        const int key = keys[i++ % 4];
        const QString text(QChar(key).toLower());
        // Only a key pressed in the score window acts when it is released.
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::sendEvent(window.scoreArea(), &press);
        QApplication::sendEvent(window.scoreArea(), &release);
        window.staffWidget(0)->repaint();
    }
    state.counters["tones"] =
        static_cast<double>(out->frames) / 24000.0 / static_cast<double>(state.iterations());
    if (out->frames == 0) state.SkipWithError("no key release reached the score: no tone queued");
}
BENCHMARK(BM_KeyReleaseToEntryRepaint)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    sorvel::gui::loadAppResources();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
