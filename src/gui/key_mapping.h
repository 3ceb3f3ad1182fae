#pragma once

#include <cstdint>
#include <optional>

#include "view/key_dispatch.h"

class QKeyEvent;
class QString;

namespace sorvel::gui {

// The macOS virtual key code of the physical key of a key event, which is what the score
// window's key tables are written in. By position, so the piano keys stay on the same keys
// under any layout: X11 and Wayland give the scan code, macOS the virtual key itself; other
// platforms (and synthesized events without a scan code) fall back to the key as a US
// layout would produce it. Nothing for keys without a code the tables could use.
std::optional<std::int64_t> macKeyCode(const QKeyEvent& event);

// The same decision from the event's parts; platform is QGuiApplication::platformName().
std::optional<std::int64_t> macKeyCodeFrom(const QString& platform, std::uint32_t nativeScanCode,
                                           std::uint32_t nativeVirtualKey, int qtKey);

// The fallback by Qt::Key.
std::optional<std::int64_t> macKeyCodeForQtKey(int qtKey);

// Shift, and the modifiers that make a key a menu shortcut.
KeyModifiers keyModifiers(const QKeyEvent& event);

}  // namespace sorvel::gui
