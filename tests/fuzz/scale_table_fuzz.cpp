// The pattern table: any UTF-8 text reads into rows of at most two fields, and what is
// written back reads again into the same rows, so a quit never changes the table by itself.
// Merging with another copy's changes: with none it gives our rows, with none of ours theirs.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "model/score_file.h"
#include "scaleedit/scale_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (sorvel::firstInvalidUtf8(text)) return 0;
    const std::vector<sorvel::ScaleRow> rows = sorvel::parseScaleRows(text);
    for (const sorvel::ScaleRow& row : rows) {
        if (row.empty() || row.size() > 2) std::abort();
    }
    const std::string written = sorvel::scaleRowsText(rows);
    std::vector<sorvel::ScaleRow> again = sorvel::parseScaleRows(written);
    // A row without offsets is written with an empty second field.
    std::vector<sorvel::ScaleRow> expected = rows;
    for (sorvel::ScaleRow& row : expected) row.resize(2);
    for (sorvel::ScaleRow& row : again) row.resize(2);
    // Rows whose name and offsets are both empty come back as ",": kept as a row.
    if (again != expected) std::abort();
    if (sorvel::scaleRowsText(again) != written) std::abort();

    // The text in three parts at "|": the table read, ours at quit, the file at quit.
    const std::size_t a = text.find('|'), b = a == text.npos ? a : text.find('|', a + 1);
    if (b == text.npos) return 0;
    const auto base = sorvel::parseScaleRows(text.substr(0, a));
    const auto ours = sorvel::parseScaleRows(text.substr(a + 1, b - a - 1));
    const auto theirs = sorvel::parseScaleRows(text.substr(b + 1));
    auto sorted = [](std::vector<sorvel::ScaleRow> rows) {
        for (sorvel::ScaleRow& row : rows) row.resize(2);
        std::sort(rows.begin(), rows.end());
        return rows;
    };
    std::vector<sorvel::ScaleRow> oursTwo = ours;
    for (sorvel::ScaleRow& row : oursTwo) row.resize(2);
    if (sorvel::mergeScaleRows(base, ours, base) != oursTwo) std::abort();
    if (sorted(sorvel::mergeScaleRows(base, base, theirs)) != sorted(theirs)) std::abort();
    if (sorvel::mergeScaleRows(base, ours, theirs).size() > ours.size() + theirs.size()) {
        std::abort();
    }
    return 0;
}
