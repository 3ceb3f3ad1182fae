#pragma once

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "model/score_cell.h"
#include "scaleedit/phrase_score.h"

namespace sorvel {

class Document;

// The tempo the score in the window is set to, in quarter-note beats per minute.
std::int64_t phraseTempo(const Document& doc);

// Queues the sounding cells one after the other on the document's audio output, each as long
// as its note value at the score's tempo, in the score's transposing key. Marks and cells
// that are no notes are left out. Nothing without an audio output.
void playPhraseCells(const Document& doc, const std::vector<ScoreCell>& cells);

// The phrase builder's score: the document the lookup gives at each call (the score last
// chosen by the application's commands), or none.
class DocumentPhraseScore final : public PhraseScore {
  public:
    explicit DocumentPhraseScore(std::function<Document*()> target) : target_(std::move(target)) {}

    bool appendCells(const std::vector<ScoreCell>& cells) override;
    void playCells(const std::vector<ScoreCell>& cells) override;

  private:
    std::function<Document*()> target_;
};

}  // namespace sorvel
