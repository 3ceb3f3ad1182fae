#include "key_mapping.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QString>

#include "view/key_codes.h"

namespace sorvel::gui {

std::optional<std::int64_t> macKeyCodeForQtKey(int qtKey) {
    switch (qtKey) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return mac_key::Return;
        case Qt::Key_Backspace:
            return mac_key::Delete;
        case Qt::Key_Escape:
            return mac_key::Escape;
        case Qt::Key_Tab:
            return mac_key::Tab;
        case Qt::Key_Left:
            return mac_key::LeftArrow;
        case Qt::Key_Right:
            return mac_key::RightArrow;
        case Qt::Key_Up:
            return mac_key::UpArrow;
        case Qt::Key_Down:
            return mac_key::DownArrow;
        default:
            break;
    }
    // Printable keys carry their Latin-1 character as Qt::Key (letters in upper case).
    if (qtKey >= Qt::Key_Space && qtKey <= Qt::Key_ydiaeresis) {
        return macKeyCodeForUsCharacter(static_cast<char32_t>(qtKey));
    }
    return std::nullopt;
}

std::optional<std::int64_t> macKeyCodeFrom(const QString& platform, std::uint32_t nativeScanCode,
                                           std::uint32_t nativeVirtualKey, int qtKey) {
    if (platform == QLatin1String("cocoa")) return static_cast<std::int64_t>(nativeVirtualKey);
    const bool xkb =
        platform == QLatin1String("xcb") || platform.startsWith(QLatin1String("wayland"));
    // Synthesized events carry no scan code.
    if (xkb && nativeScanCode != 0) return macKeyCodeFromX11ScanCode(nativeScanCode);
    return macKeyCodeForQtKey(qtKey);
}

std::optional<std::int64_t> macKeyCode(const QKeyEvent& event) {
    return macKeyCodeFrom(QGuiApplication::platformName(), event.nativeScanCode(),
                          event.nativeVirtualKey(), event.key());
}

KeyModifiers keyModifiers(const QKeyEvent& event) {
    const Qt::KeyboardModifiers m = event.modifiers();
    // On macOS Qt reports Command as Control and Control as Meta: both are shortcuts.
    return {.shift = m.testFlag(Qt::ShiftModifier),
            .control = m.testFlag(Qt::ControlModifier),
            .alt = m.testFlag(Qt::AltModifier),
            .meta = m.testFlag(Qt::MetaModifier)};
}

}  // namespace sorvel::gui
