// A fuzzed score, then fuzzed commands: keys, clicks, buttons, paging, transposition, undo
// and redo. Whatever the order, every cell stays inside the tables, the pointer stays on the
// staves, and a save opens again with the same cells.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "../core/given.h"
#include "edit/undo_history.h"
#include "fuzz_checks.h"

using namespace sorvel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::size_t split = bytes.find('\0');
    UndoHistory undo;
    auto doc = testing::makeDocument(&undo);
    if (split != std::string_view::npos) {
        if (const ScoreParseResult r = parseScore(bytes.substr(0, split)); r.score) {
            doc->open(*r.score);
        }
    }
    winCTL keys(*doc);
    const std::string_view script =
        split == std::string_view::npos ? bytes : bytes.substr(split + 1);
    for (std::size_t i = 0; i + 2 < script.size() && i < 3 * 400; i += 3) {
        const auto op = static_cast<unsigned char>(script[i]);
        const auto a = static_cast<unsigned char>(script[i + 1]);
        const auto b = static_cast<unsigned char>(script[i + 2]);
        switch (op % 12) {
            case 0:
                keys.keyDown(a % 128, {});
                keys.keyUp(a % 128, {(b & 1) != 0, false, false, false},
                           b & 2 ? FocusKind::TextField : FocusKind::Window);
                break;
            case 1:
                keys.staffMouseUp(a % 4, b % 42, a & 0x80);
                break;
            case 2:
                doc->btnIns();
                break;
            case 3:
                doc->btnADD();
                break;
            case 4:
                doc->btnDel();
                break;
            case 5:
                doc->btnUPDate();
                break;
            case 6:
                undo.undo();
                break;
            case 7:
                undo.redo();
                break;
            case 8:
                (a & 1) ? doc->btnPageUp() : doc->btnPageDown();
                break;
            case 9:
                doc->btnAllUpDown(a % 5);
                break;
            case 10:
                doc->setEntryValue(a % 4, b % 13);
                break;
            case 11:
                (a & 1) ? doc->toggleTriplet() : doc->toggleTie();
                break;
        }
    }
    abortUnlessInTables(testing::cells(*doc));
    const ScoreParseResult again = parseScore(testing::saveText(*doc));
    if (!again.score || again.score->musicData != testing::cells(*doc)) std::abort();
    return 0;
}
