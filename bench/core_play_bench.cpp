// The play list of a long score, built once at every start of playback, and WAV export of a
// ten-minute score against a plain write of as many bytes.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "exchange/audio_export.h"
#include "model/diagnostics.h"
#include "model/notation_tables.h"
#include "model/score.h"
#include "sound/play_list.h"
#include "sound/play_program.h"

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
BENCHMARK(BM_BuildPlayList)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// What a start of playback does before the first sound: the play list with its diagnostic
// lines written out (to /dev/null, as a terminal or log file would take them) and the program.
void BM_StartOfALongScore(benchmark::State& state) {
    std::FILE* sink = std::fopen("/dev/null", "w");
    setDiagnosticSink([sink](std::string_view text) {
        std::fwrite(text.data(), 1, text.size(), sink);
        std::fputc('\n', sink);
        std::fflush(sink);
    });
    const auto cells = longScore(state.range(0));
    const std::vector<float> table(tables::freqArr.begin(), tables::freqArr.end());
    for (auto _ : state) {
        std::vector<std::int64_t> entryCells;
        const auto list = buildPlayList(cells, -1, table, {.tempo = 120}, &entryCells);
        const PlayProgram program(list, {}, std::move(entryCells));
        benchmark::DoNotOptimize(program.length());
    }
    setDiagnosticSink({});
    std::fclose(sink);
}
BENCHMARK(BM_StartOfALongScore)->Arg(1000000)->Unit(benchmark::kMillisecond);

// Ten minutes of quarter notes at 120 (a new score's tempo).
Score tenMinutes() {
    Score score;
    score.musicData.clear();
    for (int i = 0; i < 1200; ++i) score.musicData.push_back({10 + i % 12, 5});
    return score;
}

std::string benchFile() {
    return (std::filesystem::temp_directory_path() / "sorvel-bench.wav").string();
}

void BM_WavExport(benchmark::State& state) {
    setDiagnosticSink([](std::string_view) {});
    const auto score = tenMinutes();
    for (auto _ : state) {
        const auto error = exchange::writeWavFile(score, {}, benchFile());
        if (error) state.SkipWithError(error->c_str());
    }
    state.counters["MB"] = static_cast<double>(std::filesystem::file_size(benchFile())) / 1e6;
    std::filesystem::remove(benchFile());
    setDiagnosticSink({});
}
BENCHMARK(BM_WavExport)->Unit(benchmark::kMillisecond);

// The same number of bytes written in the same pieces, nothing computed.
void BM_PlainWriteOfAWavsBytes(benchmark::State& state) {
    const std::size_t total = 44 + 2 * 24000 * 1200;
    const std::string piece(1 << 16, '\x55');
    for (auto _ : state) {
        std::FILE* f = std::fopen(benchFile().c_str(), "wb");
        for (std::size_t done = 0; done < total; done += piece.size())
            std::fwrite(piece.data(), 1, std::min(piece.size(), total - done), f);
        std::fclose(f);
    }
    std::filesystem::remove(benchFile());
}
BENCHMARK(BM_PlainWriteOfAWavsBytes)->Unit(benchmark::kMillisecond);

}  // namespace
