// Saving and opening a score of 100,000 cells: in memory and through a real file.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "app/document.h"
#include "model/diagnostics.h"
#include "model/score_file.h"

namespace {

using namespace sorvel;

constexpr std::int64_t kCells = 100000;

std::unique_ptr<Document> windowDocument() {
    setDiagnosticSink([](std::string_view) {});
    auto doc = std::make_unique<Document>();
    doc->windowControllerDidLoadNib(
        DocumentLayout{{0, 0, 1200, 140}, {0, 0, 1200, 140}, {0, 0, 1200, 140}, {0, 0, 30, 140}},
        "/nonexistent");
    setDiagnosticSink({});
    return doc;
}

// A window showing a score of kCells cells with a chord line per page.
std::unique_ptr<Document> bigScore() {
    Score score;
    score.musicData.clear();
    score.musicData.reserve(kCells);
    for (std::int64_t i = 0; i < kCells; ++i) {
        score.musicData.push_back({(i * 7) % 39, 1 + (i * 5) % 64});
    }
    score.codeData.assign(static_cast<std::size_t>(kCells / 40), "Am7  D7/F#");
    auto doc = windowDocument();
    doc->open(score);
    return doc;
}

// What a save writes.
std::string saveScore(Document& doc) {
    return scoreFileText(doc.snapshot().score);
}

std::string benchFile() {
    return (std::filesystem::temp_directory_path() /
            ("sorvel_file_bench_" + std::to_string(::getpid()) + ".txt"))
        .string();
}

// The atomic save the application does: a temporary file renamed over the target.
bool writeAtomically(const std::string& path, const std::string& text) {
    const std::string temp = path + ".part";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        out.flush();
        if (!out) return false;
    }
    return std::rename(temp.c_str(), path.c_str()) == 0;
}

void BM_SaveScoreText(benchmark::State& state) {
    auto doc = bigScore();
    for (auto _ : state) {
        std::string text = saveScore(*doc);
        benchmark::DoNotOptimize(text.data());
    }
    state.counters["bytes"] = static_cast<double>(saveScore(*doc).size());
    if (saveScore(*doc).empty()) state.SkipWithError("nothing written");
}
BENCHMARK(BM_SaveScoreText)->Unit(benchmark::kMillisecond);

void BM_ParseAndApplyScore(benchmark::State& state) {
    const std::string text = saveScore(*bigScore());
    auto target = windowDocument();
    for (auto _ : state) {
        const ScoreParseResult r = parseScore(text);
        if (!r.score) state.SkipWithError("parse failed");
        target->open(*r.score);
        benchmark::DoNotOptimize(target->score().musicData.data());
    }
    if (target->score().musicData.size() < 2) state.SkipWithError("no cells applied");
}
BENCHMARK(BM_ParseAndApplyScore)->Unit(benchmark::kMillisecond);

void BM_SaveScoreToFile(benchmark::State& state) {
    auto doc = bigScore();
    const std::string path = benchFile();
    for (auto _ : state) {
        if (!writeAtomically(path, saveScore(*doc))) state.SkipWithError("write failed");
    }
    std::error_code ec;
    if (std::filesystem::file_size(path, ec) == 0 || ec) state.SkipWithError("nothing saved");
    std::filesystem::remove(path);
}
BENCHMARK(BM_SaveScoreToFile)->Unit(benchmark::kMillisecond);

void BM_OpenScoreFromFile(benchmark::State& state) {
    const std::string path = benchFile();
    if (!writeAtomically(path, saveScore(*bigScore()))) state.SkipWithError("write failed");
    auto target = windowDocument();
    for (auto _ : state) {
        const ScoreParseResult r = loadScoreFile(path);
        if (!r.score) {
            state.SkipWithError("open failed");
            break;
        }
        target->open(*r.score);
        benchmark::DoNotOptimize(target->score().musicData.data());
    }
    if (target->score().musicData.size() < 2) state.SkipWithError("no cells applied");
    std::filesystem::remove(path);
}
BENCHMARK(BM_OpenScoreFromFile)->Unit(benchmark::kMillisecond);

}  // namespace
