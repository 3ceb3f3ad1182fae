#pragma once

#include <vector>

#include "model/score_cell.h"

namespace sorvel {

// The score the phrase builder works for (the document last chosen by the application's
// routed commands). The score window object implements it.
class PhraseScore {
  public:
    virtual ~PhraseScore() = default;

    // Appends the cells at the end of the score as one step the user can undo, then shows
    // the score from its first line (line labels "1", "2", "3" and a page refresh), as after
    // opening a file. An empty list only shows the score from its first line. False when
    // there is no score to take them; nothing has changed then.
    virtual bool appendCells(const std::vector<ScoreCell>& cells) = 0;

    // Sounds the cells in order as the score's playback would, at the score's tempo.
    virtual void playCells(const std::vector<ScoreCell>& cells) = 0;
};

}  // namespace sorvel
