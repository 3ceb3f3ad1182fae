#pragma once

namespace sorvel::gui {

// Registers the compiled-in resources and the notation font; false when the font could
// not be loaded (notes are then drawn with a fallback font).
bool loadAppResources();

// With SORVEL_PALETTE=dark in the environment, the Fusion style in dark colours, for desktops
// whose theme does not reach Qt applications; any other value is ignored.
void applyPaletteChoice();

}  // namespace sorvel::gui
