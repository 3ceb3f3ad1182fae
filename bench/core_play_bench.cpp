// The play list of a long score, built once at every start of playback.
#include <benchmark/benchmark.h>

#include <vector>

#include "model/diagnostics.h"
#include "model/notation_tables.h"
#include "sound/play_list.h"

namespace {

using namespace sorvel;

// Bars of eighths, ties, rests and triplets, with a repeat and a first ending every 40 cells.
std::vector<ScoreCell> longScore(std::int64_t n) {
    std::vector<ScoreCell> cells;
    for (std::int64_t i = 0; static_cast<std::int64_t>(cells.size()) < n; ++i) {
        switch (i % 40) {
            case 0:
                cells.push_back({0, 26});
                break;
            case 30:
                cells.push_back({0, 28});
                break;
            case 38:
                cells.push_back({0, 27});
                break;
            case 5:
                cells.push_back({17, 55});
                break;
            case 9:
                cells.push_back({0, 19});
                break;
            case 20:
                cells.push_back({20, 42});
                break;
            default:
                cells.push_back({i % 39, 7});
                break;
        }
    }
    return cells;
}

void BM_BuildPlayList(benchmark::State& state) {
    setDiagnosticSink([](std::string_view) {});
    const auto cells = longScore(state.range(0));
    const std::vector<float> table(tables::freqArr.begin(), tables::freqArr.end());
    for (auto _ : state) {
        auto list = buildPlayList(cells, -1, table, {.tempo = 120, .key = "Bb"});
        benchmark::DoNotOptimize(list.data());
    }
    setDiagnosticSink({});
}
BENCHMARK(BM_BuildPlayList)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
