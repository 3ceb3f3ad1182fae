// The score reader takes any bytes: a file is accepted whole with every index inside the
// tables, or rejected with a reason; it never crashes, hangs or half-reads.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "model/notation_tables.h"
#include "model/note_values.h"
#include "model/score_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const sorvel::ScoreParseResult r = sorvel::parseScore(bytes);
    if (!r.score) {
        if (r.error.empty() || r.rejection == sorvel::ScoreRejection::None) std::abort();
        if (r.rejection == sorvel::ScoreRejection::UnknownFormat &&
            sorvel::rejectionDetail(r).empty()) {
            std::abort();
        }
        return 0;
    }
    for (const sorvel::ScoreCell& cell : r.score->musicData) {
        if (!sorvel::tables::validPitch(cell.noteIndex) ||
            !sorvel::validValue(cell.onpIndex)) {
            std::abort();
        }
    }
    for (const std::string& line : r.score->codeData) {
        if (sorvel::firstInvalidUtf8(line)) std::abort();
        if (sorvel::countCharacters(line) > sorvel::kMaxChordLineFileChars) std::abort();
    }
    return 0;
}
