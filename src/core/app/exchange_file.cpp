#include "app/exchange_file.h"

#include <algorithm>
#include <cctype>

#include "exchange/audio_export.h"
#include "exchange/musicxml_export.h"
#include "exchange/musicxml_import.h"

namespace sorvel::exchange {

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

Result<std::string> exportBytes(const Score& score, ExportFormat format, const std::string& title,
                                const std::vector<float>& freqArr) {
    switch (format) {
        case ExportFormat::MusicXml:
            return writeMusicXml(score, title);
        case ExportFormat::Midi:
            return writeMidi(score, title);
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

Result<Score> importScore(std::string_view musicXml, std::vector<std::string>& notes) {
    MusicXmlImport imported = importMusicXml(musicXml);
    if (!imported.ok) return Result<Score>::failure(imported.error);
    notes = std::move(imported.notes);
    return std::move(imported.score);
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
