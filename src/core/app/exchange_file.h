#pragma once

#include <string>
#include <vector>

#include "exchange/score_data.h"
#include "model/result.h"
#include "model/score_file.h"

namespace sorvel {
class Document;
}

namespace sorvel::exchange {

// A score file's content as exchange data: the combo-box indices become the tempo, key and
// beats they select (an index that selects nothing gives 120, "C" and 4).
ScoreData fromScoreFile(const ScoreFile& file, const std::string& title);

// Exchange data as a score file's content. The window offers fixed tempo and beat items, so a
// value it does not offer becomes the nearest one it does; each such change is added to notes
// as one plain sentence.
ScoreFile toScoreFile(const ScoreData& data, std::vector<std::string>& notes);

// The text of a score file holding file, as a save writes it.
std::string scoreFileText(const ScoreFile& file);

// The formats File > Export and the converter write.
enum class ExportFormat { MusicXml, Midi, Wav };

// The format a file name's extension asks for (.musicxml/.xml, .mid/.midi, .wav, any case),
// or nothing.
std::optional<ExportFormat> exportFormatOf(const std::string& path);

// The score in a window as exchange data: the chord fields are stored first, so what is typed
// counts; the reference pitch is the integer the pitch field applies.
ScoreData scoreDataOf(Document& doc, const std::string& title);

// The bytes of one export; WAV uses the pitch table given (empty: the default table). A
// failure is a sentence for the user.
Result<std::string> exportBytes(const ScoreData& score, ExportFormat format,
                                const std::vector<float>& freqArr = {});

// A MusicXML text as a score file's content: nothing and a reason when it is not MusicXML we
// read; otherwise the score and, in notes, every sentence about what was dropped or changed.
Result<ScoreFile> importScoreFile(std::string_view musicXml, std::vector<std::string>& notes);

// One alert text listing notes, or empty when there are none.
std::string importNotesText(const std::vector<std::string>& notes);

}  // namespace sorvel::exchange
