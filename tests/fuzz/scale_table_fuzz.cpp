// The pattern table: any UTF-8 text reads into rows of at most two fields, and what is
// written back reads again into the same rows, so a quit never changes the table by itself.
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
    return 0;
}
