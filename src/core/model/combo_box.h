#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sorvel {

// The state of a combo box: its items and the selected index (-1 for none).
struct ComboBox {
    std::vector<std::string> items;
    std::int64_t selected = -1;

    // Selects index when it names an item; anything else clears the selection.
    void select(std::int64_t index) {
        selected = (index >= 0 && index < static_cast<std::int64_t>(items.size())) ? index : -1;
    }
    std::string text() const {
        return selected >= 0 ? items[static_cast<std::size_t>(selected)] : std::string();
    }
};

}  // namespace sorvel
