// The tuner window driven through its buttons and listening, fed from a scripted sound input
// (the real sound is the end-to-end test's), and the clipboard adapter on the real QClipboard
// (the replace window is the menu test's).
#include <QClipboard>

#include "../core/test_signals.h"
#include "app/clipboard_commands.h"
#include "cents_meter.h"
#include "qt_canvas.h"
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

using testing::Wave;

struct ListenRig {
    testing::InputLog log;
    testing::ScriptedInput* input = nullptr;
    bool haveInput = true;
    gui::TunerWindow window{setFolder(), {}, [this]() -> std::unique_ptr<AudioInput> {
                                if (!haveInput) return nullptr;
                                auto in = std::make_unique<testing::ScriptedInput>(log, 48000.0);
                                input = in.get();
                                return in;
                            }};
    QPushButton* listen() { return window.findChild<QPushButton*>(QStringLiteral("btnListen")); }
    gui::CentsMeter* meter() {
        return window.findChild<gui::CentsMeter*>(QStringLiteral("centsMeter"));
    }
    QString text(const char* name) { return labelText(window, name); }
    // Feeds the input and lets the window pick the reading up on its own timer.
    void feed(const std::vector<float>& samples) {
        ASSERT_NE(input, nullptr);
        input->deliver(samples);
        QTest::qWait(gui::TunerWindow::kListenPollMs * 3);
    }
    void play(double hz, double seconds) {
        feed(testing::tone(Wave::Sawtooth, hz, seconds, 48000.0, 0.3));
    }
};

TEST(TunerListen, ShowsThePlayedNoteAgainstTheScoresReference) {
    ListenRig rig;
    rig.window.setImageSet("names");
    rig.window.show();
    ASSERT_NE(rig.listen(), nullptr);
    ASSERT_NE(rig.meter(), nullptr);
    rig.listen()->click();
    EXPECT_TRUE(rig.listen()->isChecked());
    EXPECT_EQ(rig.listen()->text(), gui::TunerWindow::kListeningTitle);

    // The readings themselves are the core's.
    const QString line = QStringLiteral("A1 (A4) +16 cents 446.0 Hz");
    rig.window.setReferencePitch(442);
    EXPECT_EQ(rig.text("lblReference"), QStringLiteral("A = 442 Hz"));
    rig.play(446.0, 0.3);
    EXPECT_EQ(
        rig.text("lblListenNote") + " " + rig.text("lblCents") + " " + rig.text("lblListenHz"),
        line);
    EXPECT_EQ(rig.window.readingText(), line);
    EXPECT_EQ(rig.meter()->accessibleDescription(), line);
    // The needle stands where the cents say, on a scale from -50 to +50.
    ASSERT_TRUE(rig.meter()->cents().has_value());
    const double x = rig.meter()->xOf(*rig.meter()->cents());
    const double left = rig.meter()->xOf(-50), right = rig.meter()->xOf(50);
    EXPECT_NEAR((x - left) / (right - left), (*rig.meter()->cents() + 50) / 100, 1e-6);
    gui::PictureCache::instance().waitForDecodes();
    auto* picture = rig.window.findChild<QLabel*>(QStringLiteral("imgListenNote"));
    ASSERT_NE(picture, nullptr);
    EXPECT_FALSE(picture->pixmap().isNull());

    // Silence: the note goes away, the needle and the picture with it.
    rig.feed(std::vector<float>(48000 / 2, 0.0f));
    EXPECT_EQ(rig.window.readingText(), QStringLiteral("No note"));
    EXPECT_FALSE(rig.meter()->cents().has_value());
    EXPECT_TRUE(picture->pixmap().isNull());

    rig.listen()->click();
    EXPECT_FALSE(rig.listen()->isChecked());
    EXPECT_EQ(rig.log.closed, 1);
    // Closing the window while listening stops the input.
    rig.listen()->click();
    rig.window.close();
    EXPECT_EQ(rig.log.stopped, 2);
    EXPECT_FALSE(rig.window.listening());
}

TEST(TunerListen, WithoutAMicrophoneTheWindowSaysSo) {
    ListenRig rig;
    rig.haveInput = false;
    rig.listen()->click();
    EXPECT_FALSE(rig.listen()->isChecked()) << "must not claim to listen";
    EXPECT_EQ(rig.text("listenStatus"), QStringLiteral("No microphone"));

    // An input that fails after starting (no server, device gone) is reported the same way.
    ListenRig lost;
    lost.listen()->click();
    lost.play(440.0, 0.2);
    EXPECT_EQ(lost.window.readingText(), QStringLiteral("A1 (A4) 0 cents 440.0 Hz"));
    lost.input->fail("Connection refused");
    QTest::qWait(gui::TunerWindow::kListenPollMs * 3);
    EXPECT_EQ(lost.text("listenStatus"), QStringLiteral("No microphone: Connection refused"));
    EXPECT_EQ(lost.window.readingText(), QStringLiteral("No note"));
    EXPECT_FALSE(lost.listen()->isChecked());
    EXPECT_EQ(lost.log.stopped, 1);
}

}  // namespace
}  // namespace sorvel::test
