#include "app/exchange_file.h"

#include <algorithm>
#include <cctype>

#include "exchange/audio_export.h"
#include "exchange/musicxml_archive.h"
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
    if (ext == "mxl") return ExportFormat::CompressedMusicXml;
    if (ext == "mid" || ext == "midi") return ExportFormat::Midi;
    if (ext == "wav") return ExportFormat::Wav;
    return {};
}

Result<std::string> exportBytes(const Score& score, ExportFormat format, const std::string& title,
                                const std::vector<float>& freqArr) {
    switch (format) {
        case ExportFormat::MusicXml:
            return writeMusicXml(score, title);
        case ExportFormat::CompressedMusicXml:
            return writeMusicXmlArchive(writeMusicXml(score, title));
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

bool isMusicXml(std::string_view bytes) {
    return recognizeMusicXml(bytes) != MusicXmlKind::None;
}

Result<ImportedScore> importScore(std::string_view bytes) {
    MusicXmlImport imported = importMusicXml(bytes);
    if (!imported.ok) return Result<ImportedScore>::failure(imported.error);
    return ImportedScore{std::move(imported.score), std::move(imported.title),
                         std::move(imported.notes)};
}

std::string fileNameOfTitle(std::string_view title) {
    std::string name;
    for (const char c : title) {
        const bool unsafe = static_cast<unsigned char>(c) < 0x20 || c == '/' || c == '\\' ||
                            c == ':' || c == '*' || c == '?' || c == '"' || c == '<' || c == '>' ||
                            c == '|';
        name += unsafe ? '-' : c;
    }
    const auto first = name.find_first_not_of(" .-");
    if (first == std::string::npos) return {};
    name = name.substr(first, name.find_last_not_of(' ') + 1 - first);
    return name.substr(0, 120) + ".txt";
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
