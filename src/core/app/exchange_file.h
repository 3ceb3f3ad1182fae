#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/result.h"
#include "model/score.h"

namespace sorvel::exchange {

// The formats File > Export and the converter write.
enum class ExportFormat { MusicXml, Midi, Wav };

// The format a file name's extension asks for (.musicxml/.xml, .mid/.midi, .wav, any case),
// or nothing.
std::optional<ExportFormat> exportFormatOf(const std::string& path);

// The bytes of one export of a score; title names it inside the file ("" for none), and WAV
// sounds it with the pitch table given (empty: the default table). A failure is a sentence
// for the user.
Result<std::string> exportBytes(const Score& score, ExportFormat format, const std::string& title,
                                const std::vector<float>& freqArr = {});

// A MusicXML text as a score: nothing and a reason when it is not MusicXML we read; otherwise
// the score and, in notes, every sentence about what was dropped or changed.
Result<Score> importScore(std::string_view musicXml, std::vector<std::string>& notes);

// One alert text listing notes, or empty when there are none.
std::string importNotesText(const std::vector<std::string>& notes);

}  // namespace sorvel::exchange
