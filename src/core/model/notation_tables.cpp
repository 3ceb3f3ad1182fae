#include "model/notation_tables.h"

namespace sorvel::tables {

std::optional<std::int64_t> codeDic(std::string_view root) {
    for (std::int64_t i = 0; i < kRootCount; ++i) {
        if (codeNames[static_cast<std::size_t>(i)] == root) return i;
    }
    return std::nullopt;
}

}  // namespace sorvel::tables
