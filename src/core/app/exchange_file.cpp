#include "app/exchange_file.h"

#include <cstdlib>

#include "app/document.h"

namespace sorvel::exchange {
namespace {

std::string itemAt(const std::vector<std::string>& items, std::int64_t index,
                   const std::string& fallback) {
    if (index < 0 || index >= static_cast<std::int64_t>(items.size())) return fallback;
    return items[static_cast<std::size_t>(index)];
}

std::int64_t numberAt(const std::vector<std::string>& items, std::int64_t index,
                      std::int64_t fallback) {
    const auto value = parseDecimal(itemAt(items, index, ""));
    return value ? *value : fallback;
}

// The item nearest to a number; ties go to the first.
std::int64_t nearestItem(const std::vector<std::string>& items, std::int64_t value) {
    std::int64_t best = 0, bestGap = -1;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const auto v = parseDecimal(items[i]);
        if (!v) continue;
        const std::int64_t gap = std::llabs(*v - value);
        if (bestGap < 0 || gap < bestGap) {
            best = static_cast<std::int64_t>(i);
            bestGap = gap;
        }
    }
    return best;
}

}  // namespace

ScoreData fromScoreFile(const ScoreFile& file, const std::string& title) {
    ScoreData d;
    d.cells = file.musicData;
    d.chordLines = file.codeData;
    d.tempo = numberAt(tempoItems(), file.tempo, 120);
    d.key = itemAt(inKeyItems(), file.key, "C");
    d.beats = numberAt(beatItems(), file.beat, 4);
    d.referenceHz = file.aHz;
    d.title = title;
    return d;
}

ScoreFile toScoreFile(const ScoreData& data, std::vector<std::string>& notes) {
    ScoreFile f;
    f.musicData = data.cells;
    f.codeData = data.chordLines;
    f.aHz = data.referenceHz;
    f.tempo = nearestItem(tempoItems(), data.tempo);
    if (numberAt(tempoItems(), f.tempo, 0) != data.tempo) {
        notes.push_back("The tempo " + std::to_string(data.tempo) + " was set to " +
                        tempoItems()[static_cast<std::size_t>(f.tempo)] +
                        ", the nearest tempo a score offers.");
    }
    f.beat = nearestItem(beatItems(), data.beats);
    if (numberAt(beatItems(), f.beat, 0) != data.beats) {
        notes.push_back(std::to_string(data.beats) + " beats to the bar were set to " +
                        beatItems()[static_cast<std::size_t>(f.beat)] +
                        ", the nearest a score offers.");
    }
    f.key = 0;
    for (std::size_t i = 0; i < inKeyItems().size(); ++i) {
        if (inKeyItems()[i] == data.key) f.key = static_cast<std::int64_t>(i);
    }
    return f;
}

}  // namespace sorvel::exchange
