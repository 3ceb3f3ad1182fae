// The tuner window driven through its buttons, and the clipboard adapter on the real
// QClipboard (the replace window is the menu test's).
#include <gtest/gtest.h>

#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <memory>
#include <string>

#include "../core/fakes.h"
#include "app/clipboard_commands.h"
#include "qt_clipboard.h"
#include "test_support.h"
#include "tuner_window.h"

namespace sorvel::test {
namespace {

TEST(TunerWindow, ButtonsDriveTheTone) {
    testing::OutputLog sink;
    gui::TunerWindow window("set",
                            [&] { return std::make_unique<testing::CapturingAudioOutput>(sink); });
    window.setSetFolder("/elsewhere");
    EXPECT_EQ(window.tuner().gosen.imgFol, "/elsewhere");
    window.show();
    auto* play = window.findChild<QPushButton*>(QStringLiteral("btnPlay"));
    ASSERT_NE(play, nullptr);
    play->click();
    EXPECT_EQ(play->text(), gui::TunerWindow::kStopTitle);
    EXPECT_EQ(labelText(window, "lblHz"), QStringLiteral("440.0Hz"));
    ASSERT_EQ(sink.nowPrograms.size(), 1u);

    click(window, {"tunerMtx_4", "tunerMtx_0"});  // octave up, then up to A2#
    EXPECT_EQ(window.tuner().note(), 35);
    EXPECT_EQ(labelText(window, "lblHz"), QStringLiteral("440.0Hz"));
    play->click();
    EXPECT_EQ(play->text(), gui::TunerWindow::kPlayTitle);
    EXPECT_EQ(sink.closed, 1);
    play->click();
    EXPECT_EQ(labelText(window, "lblHz"), QStringLiteral("932.0Hz"));
    window.close();
    EXPECT_EQ(sink.closed, 2) << "closing the window stops the tone";

    // A failed start does not claim a tone.
    sink.startError = "no device";
    play->click();
    EXPECT_EQ(play->text(), gui::TunerWindow::kPlayTitle);
    EXPECT_EQ(labelText(window, "tunerStatus"), QStringLiteral("no device"));
}

TEST(QtClipboard, CutAndAddInALineEdit) {
    QLineEdit field;
    field.setText(QStringLiteral("Am C7"));
    field.setSelection(0, 3);
    gui::QtClipboard clipboard;
    testing::FakeAlerts alerts;
    ClipboardCommands commands(clipboard, alerts);
    auto text = gui::textEditingFor(&field);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(gui::textEditingFor(nullptr), nullptr);
    commands.menuCut({ClipFocus::TextField, text.get(), nullptr});
    EXPECT_EQ(field.text(), QStringLiteral("C7"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("Am "));
    field.setCursorPosition(2);
    QGuiApplication::clipboard()->setText(QStringLiteral("\nG7\n"));
    commands.menuAdd({ClipFocus::TextField, text.get(), nullptr});
    EXPECT_EQ(field.text(), QStringLiteral("C7 G7 "));
}

TEST(QtClipboard, TargetFollowsTheKeyWindowAndItsFocus) {
    auto doc = testing::makeDocument();
    EditableScore& score = *doc;
    QWidget scoreWindow, toolWindow;
    auto* field = new QLineEdit(&scoreWindow);
    auto* other = new QPushButton(&scoreWindow);
    auto* toolField = new QLineEdit(&toolWindow);
    const gui::ScoreOfWindow scoreOf = [&](QWidget* w, QWidget* focus) -> EditableScore* {
        return w == &scoreWindow && (!focus || focus == &scoreWindow) ? &score : nullptr;
    };
    const struct {
        QWidget *key, *focus;
        ClipFocus expected;
    } cases[] = {
        {nullptr, nullptr, ClipFocus::NoKeyWindow},
        {&scoreWindow, nullptr, ClipFocus::Score},
        {&scoreWindow, &scoreWindow, ClipFocus::Score},
        {&scoreWindow, field, ClipFocus::TextField},
        {&scoreWindow, other, ClipFocus::Other},
        {&toolWindow, toolField, ClipFocus::TextField},
        {&toolWindow, nullptr, ClipFocus::Other},
        {&toolWindow, field, ClipFocus::Other},  // a field of a window that is not key
    };
    for (const auto& c : cases) {
        std::unique_ptr<TextEditing> holder;
        const ClipTarget t = gui::clipTargetFor(c.key, c.focus, scoreOf, holder);
        EXPECT_EQ(t.focus, c.expected);
        EXPECT_EQ(t.score != nullptr, c.expected == ClipFocus::Score);
        EXPECT_EQ(t.text != nullptr, c.expected == ClipFocus::TextField);
    }
}

}  // namespace
}  // namespace sorvel::test
