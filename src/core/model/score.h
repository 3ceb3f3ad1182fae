#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/score_cell.h"

namespace sorvel {

// The fixed item lists of the tempo, key and beat choices. Score files store indices into
// them, so they never change.
const std::vector<std::string>& tempoItems();
const std::vector<std::string>& inKeyItems();
const std::vector<std::string>& beatItems();

// The settings a score file stores with its cells. The choices are indices into the lists
// above (the image set into the set folder's sorted sub-folders); -1 is no choice.
struct ScoreSettings {
    std::int64_t imageSet = -1;
    std::int64_t tempo = 3;
    std::int64_t key = 0;
    std::int64_t beat = 0;
    // The pitch of A in Hz that the tuning table is built from.
    std::int64_t referencePitch = 440;

    // The chosen item's text, or "" for no choice.
    std::string tempoText() const;
    std::string keyText() const;
    std::string beatText() const;

    // What the choices stand for, as exchange files and recordings write them: quarter notes
    // per minute, the transposing key and beats per bar; 120, "C" and 4 where nothing is
    // chosen.
    std::int64_t tempoValue() const;
    std::string keyValue() const;
    std::int64_t beatValue() const;

    bool operator==(const ScoreSettings&) const = default;
};

// One score: its cells, its chord lines (one per page) and its settings. This is what the
// score file holds and what save, print, export and playback read.
struct Score {
    std::vector<ScoreCell> musicData{ScoreCell{}};
    std::vector<std::string> codeData;
    ScoreSettings settings;

    std::int64_t cellCount() const { return static_cast<std::int64_t>(musicData.size()); }
};

// The frequencies of the pitch table (indexed by a cell's noteIndex) for A = referencePitch
// Hz, in equal temperament; one table serves every staff and the sound of a window.
std::vector<float> tuningTable(std::int64_t referencePitch);
// The table as its diagnostic line: "[220, 233.082, ...]".
std::string tableLine(const std::vector<float>& table);

// The item at index, or "" when index names none.
std::string itemText(const std::vector<std::string>& items, std::int64_t index);

}  // namespace sorvel
