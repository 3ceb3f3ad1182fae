#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/result.h"
#include "model/score.h"

namespace sorvel::exchange {

// The formats File > Export and the converter write.
enum class ExportFormat { MusicXml, CompressedMusicXml, Midi, Wav };

// The format a file name's extension asks for (.musicxml/.xml, .mxl, .mid/.midi, .wav, any
// case), or nothing.
std::optional<ExportFormat> exportFormatOf(const std::string& path);

// The bytes of one export of a score; title names it inside the file ("" for none), and WAV
// sounds it with the pitch table given (empty: the default table). A failure is a sentence
// for the user.
Result<std::string> exportBytes(const Score& score, ExportFormat format, const std::string& title,
                                const std::vector<float>& freqArr = {});

// True when the bytes are MusicXML, plain or compressed, whatever the file is called.
bool isMusicXml(std::string_view bytes);

struct ImportedScore {
    Score score;
    std::string title;               // the file's title, "" when it has none
    std::vector<std::string> notes;  // every sentence about what was dropped or changed
};

// A MusicXML file, plain or compressed, as a score: nothing and a reason when it is not
// MusicXML we read.
Result<ImportedScore> importScore(std::string_view bytes);

// A file name for a title: its characters, with those a file name cannot hold as "-", and
// ".txt"; "" for a title of nothing but blanks.
std::string fileNameOfTitle(std::string_view title);

// One alert text listing notes, or empty when there are none.
std::string importNotesText(const std::vector<std::string>& notes);

}  // namespace sorvel::exchange
