#pragma once

#include "model/score.h"

namespace sorvel {

class Document;

// Fills a document whose window set-up has run: cells, chord lines, page 1, settings.
void applyScore(Document& doc, const Score& score);

}  // namespace sorvel
