#include "key_mapping.h"

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QTest>
#include <QWidget>
#include <optional>
#include <string_view>
#include <vector>

using sorvel::KeyModifiers;
using sorvel::gui::keyModifiers;
using sorvel::gui::macKeyCode;
using sorvel::gui::macKeyCodeFrom;

namespace {

QKeyEvent release(int key, Qt::KeyboardModifiers m = Qt::NoModifier, quint32 scanCode = 0,
                  quint32 virtualKey = 0) {
    return QKeyEvent(QEvent::KeyRelease, key, m, scanCode, virtualKey, 0);
}

// Without a scan code (the offscreen platform, synthesized events) the key decides, as a US
// layout would type it; the characters themselves are the core's table.
TEST(KeyMapping, FallbackByQtKey) {
    const std::pair<int, std::int64_t> keys[] = {
        {Qt::Key_Return, 36},     {Qt::Key_Enter, 36},       {Qt::Key_Backspace, 51},
        {Qt::Key_Escape, 53},     {Qt::Key_Left, 123},       {Qt::Key_Right, 124},
        {Qt::Key_Down, 125},      {Qt::Key_Up, 126},         {Qt::Key_A, 0},
        {Qt::Key_Exclam, 18},     {Qt::Key_BracketLeft, 33}, {Qt::Key_yen, 93},
        {Qt::Key_Underscore, 94},
    };
    for (const auto& [key, mac] : keys) EXPECT_EQ(macKeyCode(release(key)), mac) << key;
    for (int key : {int(Qt::Key_F1), int(Qt::Key_Shift), int(Qt::Key_Control), int(Qt::Key_Delete),
                    int(Qt::Key_unknown), int(Qt::Key_Eacute)}) {
        EXPECT_FALSE(macKeyCode(release(key)).has_value()) << key;
    }
}

// On X11 and Wayland the physical key decides, whatever the layout made of it.
TEST(KeyMapping, ScanCodeWinsOverTheLayout) {
    const struct {
        const char* platform;
        quint32 scanCode;
        int key;
        std::optional<std::int64_t> mac;  // for cocoa the scan code column is the virtual key
    } events[] = {
        {"xcb", 38, Qt::Key_Q, 0},            // AZERTY: the A position types Q
        {"xcb", 24, Qt::Key_A, 12},           // AZERTY: the Q position types A
        {"xcb", 52, Qt::Key_Y, 6},            // QWERTZ: the Z position types Y
        {"xcb", 47, Qt::Key_Odiaeresis, 41},  // QWERTZ: the ; position
        {"xcb", 34, Qt::Key_At, 33},          // JIS: @ sits where ANSI has [
        {"xcb", 48, Qt::Key_Colon, 39},       // JIS: : sits where ANSI has '
        {"xcb", 132, Qt::Key_yen, 93},        // JIS yen
        {"xcb", 97, Qt::Key_Backslash, 94},   // JIS ro key types a backslash
        {"wayland", 38, Qt::Key_Q, 0},
        {"wayland-egl", 36, Qt::Key_Return, 36},
        {"xcb", 67, Qt::Key_F1, std::nullopt},
        {"xcb", 87, Qt::Key_1, std::nullopt},  // keypad 1 is not the digit row
        {"xcb", 0, Qt::Key_A, 0},              // synthesized: by key
        {"offscreen", 38, Qt::Key_Q, 12},      // no X11 numbering: by key
        {"windows", 30, Qt::Key_A, 0},
        // On macOS the virtual key is the code; 0 is a real key (A) there, not "none".
        {"cocoa", 0, Qt::Key_Q, 0},
        {"cocoa", 93, Qt::Key_yen, 93},
    };
    for (const auto& e : events) {
        const bool mac = std::string_view(e.platform) == "cocoa";
        EXPECT_EQ(macKeyCodeFrom(QString::fromLatin1(e.platform), mac ? 0 : e.scanCode,
                                 mac ? e.scanCode : 0, e.key),
                  e.mac)
            << e.platform << " " << e.scanCode;
    }
}

TEST(KeyMapping, Modifiers) {
    const struct {
        Qt::KeyboardModifiers m;
        bool shift, menu;
    } cases[] = {
        {Qt::NoModifier, false, false},
        {Qt::ShiftModifier, true, false},
        {Qt::KeypadModifier, false, false},
        {Qt::ControlModifier, false, true},
        {Qt::AltModifier, false, true},
        {Qt::MetaModifier, false, true},
        {Qt::ShiftModifier | Qt::ControlModifier, true, true},
    };
    for (const auto& c : cases) {
        const KeyModifiers m = keyModifiers(release(Qt::Key_S, c.m));
        EXPECT_EQ(m.shift, c.shift) << c.m.toInt();
        EXPECT_EQ(m.menuShortcut(), c.menu) << c.m.toInt();
    }
}

// A key release as Qt delivers it to a widget.
class ReleaseRecorder : public QWidget {
  public:
    struct Seen {
        std::optional<std::int64_t> code;
        bool shift;
    };
    std::vector<Seen> seen;

  protected:
    void keyReleaseEvent(QKeyEvent* event) override {
        seen.push_back({macKeyCode(*event), keyModifiers(*event).shift});
    }
};

TEST(KeyMapping, DeliveredReleases) {
    ReleaseRecorder w;
    QTest::keyRelease(&w, Qt::Key_A, Qt::ShiftModifier);  // A, then Shift itself
    QTest::keyRelease(&w, Qt::Key_Return);
    QTest::keyRelease(&w, Qt::Key_yen);
    ASSERT_EQ(w.seen.size(), 4u);
    EXPECT_EQ(w.seen[0].code, 0);
    EXPECT_TRUE(w.seen[0].shift);
    EXPECT_EQ(w.seen[1].code, std::nullopt);
    EXPECT_EQ(w.seen[2].code, 36);
    EXPECT_FALSE(w.seen[2].shift);
    EXPECT_EQ(w.seen[3].code, 93);
}

}  // namespace
