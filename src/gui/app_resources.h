#pragma once

namespace sorvel::gui {

// Registers the compiled-in resources and the notation font; false when the font could
// not be loaded (notes are then drawn with a fallback font).
bool loadAppResources();

}  // namespace sorvel::gui
