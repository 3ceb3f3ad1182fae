#include "app/exchange_file.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "app/document.h"
#include "edit/chord_lines.h"
#include "exchange/audio_export.h"
#include "exchange/musicxml_export.h"
#include "exchange/musicxml_import.h"

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

std::string scoreFileText(const ScoreFile& file) {
    std::string out = "<,sorvel2," + std::to_string(file.imageSet) + ',' +
                      std::to_string(file.tempo) + ',' + std::to_string(file.aHz) + ',' +
                      std::to_string(file.key) + ',' + std::to_string(file.beat) + '\n';
    for (const std::string& line : file.codeData) out += '#' + chordTextOnOneLine(line) + '\n';
    for (const ScoreCell& cell : file.musicData) {
        out += std::to_string(cell.noteIndex) + ',' + std::to_string(cell.onpIndex) + '\n';
    }
    return out;
}

std::optional<ExportFormat> exportFormatOf(const std::string& path) {
    const auto dot = path.find_last_of('.');
    const auto slash = path.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    std::string ext = path.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ext == "musicxml" || ext == "xml") return ExportFormat::MusicXml;
    if (ext == "mid" || ext == "midi") return ExportFormat::Midi;
    if (ext == "wav") return ExportFormat::Wav;
    return {};
}

ScoreData scoreDataOf(Document& doc, const std::string& title) {
    doc.storeChordFields();
    ScoreData d;
    const Score& score = doc.score();
    d.cells = score.musicData;
    d.chordLines = score.codeData;
    d.tempo = numberAt(tempoItems(), score.settings.tempo, 120);
    d.key = itemAt(inKeyItems(), score.settings.key, "C");
    d.beats = numberAt(beatItems(), score.settings.beat, 4);
    d.referenceHz = score.settings.referencePitch;
    d.title = title;
    return d;
}

Result<std::string> exportBytes(const ScoreData& score, ExportFormat format,
                                const std::vector<float>& freqArr) {
    switch (format) {
        case ExportFormat::MusicXml:
            return writeMusicXml(score);
        case ExportFormat::Midi:
            return writeMidi(score);
        case ExportFormat::Wav: {
            WavOptions options;
            options.freqArr = freqArr;
            WavResult wav = writeWav(score, options);
            if (!wav.ok) return Result<std::string>::failure(wav.error);
            return std::move(wav.bytes);
        }
    }
    return Result<std::string>::failure("Unknown export format.");
}

Result<ScoreFile> importScoreFile(std::string_view musicXml, std::vector<std::string>& notes) {
    MusicXmlImport imported = importMusicXml(musicXml);
    if (!imported.ok) return Result<ScoreFile>::failure(imported.error);
    notes = std::move(imported.notes);
    return toScoreFile(imported.score, notes);
}

std::string importNotesText(const std::vector<std::string>& notes) {
    std::string text;
    for (const std::string& note : notes) {
        if (!text.empty()) text += '\n';
        text += "\u2022 " + note;
    }
    return text;
}

}  // namespace sorvel::exchange
