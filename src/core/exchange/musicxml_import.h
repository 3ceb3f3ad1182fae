#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/score.h"

namespace sorvel::exchange {

struct MusicXmlImport {
    bool ok = false;
    // The tempo, beats and key become the nearest choices a score offers; each change is
    // one of the notes. No cells when the text was not read.
    Score score{{}, {}, {}};
    // The work or movement title, "" when there is none.
    std::string title;
    // What could not be carried over, one plain sentence each; empty when nothing was lost.
    std::vector<std::string> notes;
    // Why the text was not read at all (ok is false).
    std::string error;
};

// Limits on untrusted input.
inline constexpr std::size_t kMaxMusicXmlBytes = 32u * 1024u * 1024u;
inline constexpr std::size_t kMaxXmlDepth = 64;
inline constexpr std::size_t kMaxXmlElements = 1'000'000;
inline constexpr std::size_t kMaxImportedCells = 1'000'000;

// Reads an uncompressed MusicXML partwise document: the first part's first voice becomes the
// cells, measure boundaries become bar and repeat marks, harmony and text directions the chord
// lines. Entity declarations are refused and nothing outside the text is ever loaded.
MusicXmlImport importMusicXml(std::string_view text);

}  // namespace sorvel::exchange
