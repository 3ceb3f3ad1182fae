// Qt key events to the key codes of the score window's tables, and their modifiers.
#include "key_mapping.h"

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <optional>
#include <vector>

using sorvel::KeyModifiers;
using sorvel::gui::keyModifiers;
using sorvel::gui::macKeyCode;
using sorvel::gui::macKeyCodeFrom;

namespace {

QKeyEvent release(int key, Qt::KeyboardModifiers m = Qt::NoModifier) {
    return QKeyEvent(QEvent::KeyRelease, key, m, 0, 0, 0);
}

// Without a scan code (the offscreen platform, synthesized events) the key decides, as a US
// layout would type it; the characters themselves are the core's table.
TEST(KeyMapping, FallbackByQtKey) {
    const std::pair<int, std::int64_t> keys[] = {
        {Qt::Key_Enter, 36},  {Qt::Key_Backspace, 51}, {Qt::Key_Escape, 53}, {Qt::Key_Left, 123},
        {Qt::Key_Right, 124}, {Qt::Key_Down, 125},     {Qt::Key_Up, 126},    {Qt::Key_Exclam, 18},
    };
    for (const auto& [key, mac] : keys) EXPECT_EQ(macKeyCode(release(key)), mac) << key;
    for (int key : {int(Qt::Key_F1), int(Qt::Key_Shift), int(Qt::Key_Control), int(Qt::Key_Delete),
                    int(Qt::Key_unknown), int(Qt::Key_Eacute)}) {
        EXPECT_FALSE(macKeyCode(release(key)).has_value()) << key;
    }
}

// On X11 and Wayland the physical key decides, whatever the layout made of it; on macOS the
// virtual key is the code; elsewhere, and for synthesized events, the Qt key.
TEST(KeyMapping, ThePlatformChoosesScanCodeVirtualKeyOrQtKey) {
    const struct {
        const char* platform;
        quint32 scanCode, virtualKey;
        int key;
        std::optional<std::int64_t> mac;
    } events[] = {
        {"xcb", 38, 0, Qt::Key_Q, 0},   // AZERTY: the A position types Q
        {"xcb", 24, 0, Qt::Key_A, 12},  // and the Q position types A
        {"wayland-egl", 36, 0, Qt::Key_Return, 36},
        {"xcb", 67, 0, Qt::Key_F1, std::nullopt},
        {"xcb", 0, 0, Qt::Key_A, 0},          // synthesized: by key
        {"offscreen", 38, 0, Qt::Key_Q, 12},  // no X11 numbering: by key
        {"windows", 30, 0, Qt::Key_A, 0},
        {"cocoa", 0, 0, Qt::Key_Q, 0},  // key code 0 is a real key (A) there, not "none"
        {"cocoa", 0, 93, Qt::Key_yen, 93},
    };
    for (const auto& e : events) {
        EXPECT_EQ(macKeyCodeFrom(QString::fromLatin1(e.platform), e.scanCode, e.virtualKey, e.key),
                  e.mac)
            << e.platform << " " << e.scanCode;
    }
    const std::pair<Qt::KeyboardModifiers, KeyModifiers> modifiers[] = {
        {Qt::ShiftModifier | Qt::KeypadModifier, {.shift = true}},
        {Qt::ControlModifier, {.control = true}},
        {Qt::AltModifier | Qt::MetaModifier, {.alt = true, .meta = true}},
    };
    for (const auto& [qt, expected] : modifiers) {
        const KeyModifiers m = keyModifiers(release(Qt::Key_S, qt));
        EXPECT_EQ((std::vector{m.shift, m.control, m.alt, m.meta}),
                  (std::vector{expected.shift, expected.control, expected.alt, expected.meta}));
    }
}

}  // namespace
