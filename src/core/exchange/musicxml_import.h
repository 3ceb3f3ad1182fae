#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "exchange/xml_tree.h"
#include "model/score.h"

namespace sorvel::exchange {

struct MusicXmlImport {
    bool ok = false;
    // The tempo, beats and key become the nearest choices a score offers; each change is
    // one of the notes. No cells when the text was not read.
    Score score{{}, {}, {}};
    // The work or movement title, "" when there is none.
    std::string title;
    // What was dropped or changed, one plain sentence each with its count (and bars where
    // durations changed); empty when nothing was.
    std::vector<std::string> notes;
    // Why the file was not read at all (ok is false).
    std::string error;
};

inline constexpr std::size_t kMaxImportedCells = 1'000'000;

enum class MusicXmlKind { None, Plain, Compressed };

// What the bytes are by their content alone, whatever the file is called: a partwise or
// timewise MusicXML document, a compressed MusicXML archive (.mxl), or neither.
MusicXmlKind recognizeMusicXml(std::string_view bytes);

// Reads a partwise MusicXML document, plain or compressed. The first part's first voice
// becomes the cells, each note at its time: durations come from the file, a value with no
// cell of its own becomes tied cells of the same length, one no cells can hold is rounded,
// and a stretch where the voice is silent becomes rests. Measure boundaries become bar and
// repeat marks; harmony and text directions stand in the chord line of their staff line at
// the column of the cell they belong to.
MusicXmlImport importMusicXml(std::string_view bytes);

}  // namespace sorvel::exchange
