// Chord transposition: valid UTF-8 in, valid UTF-8 out, the same number of lines, and
// every blank-separated token kept in its place.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "edit/chord_lines.h"
#include "fuzz_checks.h"
#include "model/score_file.h"

namespace {

std::size_t lineCount(std::string_view text) {
    std::size_t n = 0;
    sorvel::TextLines lines(text);
    while (lines.next()) ++n;
    return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const bool up = data[0] & 1;
    const std::string_view line(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (sorvel::firstInvalidUtf8(line)) return 0;
    const std::string moved = sorvel::transposeChordLine(line, up);
    if (sorvel::firstInvalidUtf8(moved)) std::abort();
    if (lineCount(moved) != lineCount(line)) std::abort();
    if (std::ranges::count(moved, ' ') != std::ranges::count(line, ' ') + 1) std::abort();
    return 0;
}
