#pragma once

#include <string>
#include <vector>

#include "exchange/score_data.h"
#include "model/score_file.h"

namespace sorvel::exchange {

// A score file's content as exchange data: the combo-box indices become the tempo, key and
// beats they select (an index that selects nothing gives 120, "C" and 4).
ScoreData fromScoreFile(const ScoreFile& file, const std::string& title);

// Exchange data as a score file's content. The window offers fixed tempo and beat items, so a
// value it does not offer becomes the nearest one it does; each such change is added to notes
// as one plain sentence.
ScoreFile toScoreFile(const ScoreData& data, std::vector<std::string>& notes);

}  // namespace sorvel::exchange
