// The clipboard payload comes from any program: it decodes whole or not at all, every cell
// it gives is inside the tables, and what it accepts is exactly its own encoding.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "edit/clip_payload.h"
#include "fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const sorvel::ClipDecodeResult r = sorvel::decodeClipCells(bytes);
    if (!r.ok()) {
        if (!r.cells.empty()) std::abort();  // no half paste
        return 0;
    }
    abortUnlessInTables(r.cells);
    if (sorvel::encodeClipCells(r.cells) != bytes) std::abort();
    return 0;
}
