// The score reader takes any bytes: a file is accepted whole with every index inside the
// tables, or rejected with a reason; it never crashes, hangs or half-reads. Open, save, open,
// save: a score it accepts is saved so that it opens again, and the second save writes exactly
// the bytes of the first.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "../core/given.h"
#include "fuzz_checks.h"
#include "model/score_file.h"

namespace {

std::string openAndSave(std::string_view bytes) {
    const sorvel::ScoreParseResult r = sorvel::parseScore(bytes);
    if (!r.score) {
        if (r.error.empty() || r.rejection == sorvel::ScoreRejection::None) std::abort();
        if (r.rejection == sorvel::ScoreRejection::UnknownFormat &&
            sorvel::rejectionDetail(r).empty()) {
            std::abort();
        }
        return {};
    }
    abortUnlessInTables(r.score->musicData);
    for (const std::string& line : r.score->codeData) {
        if (sorvel::firstInvalidUtf8(line)) std::abort();
        if (sorvel::countCharacters(line) > sorvel::kMaxChordLineFileChars) std::abort();
    }
    auto doc = sorvel::testing::makeDocument();
    doc->open(*r.score);
    const std::string saved = sorvel::testing::saveText(*doc);
    if (sorvel::testing::cells(*doc) != r.score->musicData) std::abort();
    return saved;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string first = openAndSave({reinterpret_cast<const char*>(data), size});
    if (first.empty()) return 0;
    const std::string second = openAndSave(first);
    if (second.empty()) std::abort();  // our own file was refused
    if (second != first) std::abort();
    return 0;
}
