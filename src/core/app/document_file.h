#pragma once

#include <string>

#include "model/score_file.h"

namespace sorvel {

class Document;

// The file text of a document: header, chord lines, cell lines, each ending in LF.
std::string writeScore(const Document& doc);

// What a save writes: stores the chord fields into codeData first, then writeScore.
std::string saveScore(Document& doc);

// Fills a document whose window set-up has run: cells, chord lines, page 1, settings.
void applyScore(Document& doc, const ScoreFile& file);

}  // namespace sorvel
