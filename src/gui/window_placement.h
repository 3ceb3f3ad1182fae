#pragma once

#include <QPoint>
#include <optional>

class QWidget;

namespace sorvel::gui {

// Shows a top-level window fully on its screen's available area (without the desktop's
// panels), its frame and title bar included: no larger than the area, at frameTopLeft when
// given (else where the window manager places it), raised and active. Once the window
// manager has framed it, a window that still reaches outside is moved back in.
void showOnScreen(QWidget* window, std::optional<QPoint> frameTopLeft = std::nullopt);

// Moves (and if need be shrinks) a shown window so that its frame lies on the screen.
void keepOnScreen(QWidget* window);

}  // namespace sorvel::gui
