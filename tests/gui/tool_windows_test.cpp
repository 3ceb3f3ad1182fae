// The tuner and replace windows driven through their buttons, and the clipboard adapter on
// the real QClipboard.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <memory>
#include <optional>
#include <string>

#include "../core/cell_editor_fake.h"
#include "edit/clip_payload.h"
#include "app/clipboard_commands.h"
#include "qt_clipboard.h"
#include "replace_window.h"
#include "staff_widget.h"
#include "tuner_window.h"

namespace sorvel::test {
namespace {

struct Sink {
    int opened = 0;
    int closed = 0;
    int buffers = 0;
    std::optional<std::string> startError;
};

class RecordingOutput : public AudioOutput {
  public:
    explicit RecordingOutput(Sink& sink) : sink_(sink) { ++sink_.opened; }
    ~RecordingOutput() override { ++sink_.closed; }
    PcmFormat outputFormat() const override { return {48000.0, 2}; }
    void connect(const PcmFormat&) override {}
    void scheduleBuffer(PcmBuffer) override { ++sink_.buffers; }
    std::optional<std::string> start() override { return sink_.startError; }
    void play() override {}

  private:
    Sink& sink_;
};

QPushButton* button(QWidget& w, const QString& name) {
    auto* b = w.findChild<QPushButton*>(name);
    EXPECT_NE(b, nullptr) << name.toStdString();
    return b;
}

QString label(QWidget& w, const char* name) {
    auto* l = w.findChild<QLabel*>(QString::fromLatin1(name));
    return l ? l->text() : QStringLiteral("<missing>");
}

TEST(TunerWindow, ButtonsDriveTheTone) {
    Sink sink;
    gui::TunerWindow window("set", [&] { return std::make_unique<RecordingOutput>(sink); });
    window.setImageSet("standard");
    window.setSetFolder("/elsewhere");
    EXPECT_EQ(window.tuner().gosen.imgFol, "/elsewhere");
    window.show();
    ASSERT_NE(window.findChild<gui::StaffWidget*>(QStringLiteral("gosenT")), nullptr);
    QPushButton* play = button(window, QStringLiteral("btnPlay"));
    ASSERT_NE(play, nullptr);
    EXPECT_EQ(play->text(), gui::TunerWindow::kPlayTitle);

    play->click();
    EXPECT_EQ(play->text(), gui::TunerWindow::kStopTitle);
    EXPECT_EQ(label(window, "lblHz"), QStringLiteral("440.0Hz"));
    EXPECT_GT(sink.buffers, 0);

    // The steady tone is topped up by the window's timer.
    const int scheduled = sink.buffers;
    QTest::qWait(400);
    EXPECT_GT(sink.buffers, scheduled);

    button(window, QStringLiteral("tunerMtx_4"))->click();  // octave up
    button(window, QStringLiteral("tunerMtx_0"))->click();  // A2#
    EXPECT_EQ(window.tuner().note(), 35);
    EXPECT_EQ(label(window, "lblHz"), QStringLiteral("440.0Hz"));
    play->click();
    EXPECT_EQ(play->text(), gui::TunerWindow::kPlayTitle);
    EXPECT_EQ(sink.closed, 1);
    play->click();
    EXPECT_EQ(label(window, "lblHz"), QStringLiteral("932.0Hz"));

    // Closing the window stops the tone.
    window.close();
    EXPECT_EQ(sink.closed, 2);
    EXPECT_FALSE(window.tuner().nowPlaying());
}

TEST(TunerWindow, AFailedStartDoesNotClaimATone) {
    Sink sink;
    sink.startError = "no device";
    gui::TunerWindow window("set", [&] { return std::make_unique<RecordingOutput>(sink); });
    QPushButton* play = button(window, QStringLiteral("btnPlay"));
    ASSERT_NE(play, nullptr);
    play->click();
    EXPECT_EQ(play->text(), gui::TunerWindow::kPlayTitle);
    EXPECT_EQ(label(window, "tunerStatus"), QStringLiteral("no device"));
}

TEST(ReplaceWindow, ButtonsReplaceInTheTargetScore) {
    UndoHistory undo;
    fakes::FakeScore score(&undo, {{17, 5}, {0, 17}, {34, 1}, {3, 5}});
    fakes::FakeScore* target = &score;
    gui::ReplaceWindow window("set", [&]() -> CellEditor* { return target; });
    window.setImageSet("standard");
    window.setSetFolder("/elsewhere");
    EXPECT_EQ(window.replacer().gosen2.imgFol, "/elsewhere");
    window.show();
    ASSERT_NE(window.findChild<gui::StaffWidget*>(QStringLiteral("gosenR1")), nullptr);
    ASSERT_NE(window.findChild<gui::StaffWidget*>(QStringLiteral("gosenR2")), nullptr);

    button(window, QStringLiteral("rplcMtx2_1"))->click();  // replacement A1 -> B1
    EXPECT_EQ(window.replacer().replacementPitch(), 20);
    button(window, QStringLiteral("btnReplace"))->click();
    EXPECT_EQ(score.data, (std::vector<ScoreCell>{{20, 5}, {3, 17}, {37, 1}, {3, 5}}));
    EXPECT_EQ(score.firstPageShows, 1);
    EXPECT_FALSE(undo.canUndo());

    // Find steps: A1 -> A1# -> B1b; nothing of that pitch is left to replace.
    button(window, QStringLiteral("rplcMtx1_0"))->click();
    button(window, QStringLiteral("rplcMtx1_0"))->click();
    EXPECT_EQ(window.replacer().findPitch(), 19);
    button(window, QStringLiteral("btnReplace"))->click();
    EXPECT_EQ(score.data[0], (ScoreCell{20, 5}));

    // No score in front: the press does nothing.
    target = nullptr;
    button(window, QStringLiteral("btnReplace"))->click();
    EXPECT_EQ(score.firstPageShows, 2);
}

TEST(QtClipboard, CellsTravelUnderThePrivateTypeOnly) {
    gui::QtClipboard writer;
    gui::QtClipboard reader;
    writer.setPlainText("Am7");
    EXPECT_EQ(reader.plainText(), std::optional<std::string>("Am7"));
    EXPECT_FALSE(reader.cellData().has_value());

    const std::string bytes = encodeClipCells({{17, 5}, {4, 3}});
    writer.setCellData(bytes);
    EXPECT_EQ(reader.cellData(), std::optional<std::string>(bytes));
    EXPECT_FALSE(reader.plainText().has_value()) << "no plain text from a score copy";
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->formats(), QStringList{gui::kCellsMimeType});
}

TEST(QtClipboard, CopyInOneScorePasteInAnother) {
    UndoHistory undo;
    gui::QtClipboard clipboard;
    fakes::FakeAlerts alerts;
    ClipboardCommands commands(clipboard, alerts);
    fakes::FakeScore first(&undo, {{0, 1}, {17, 5}, {20, 7}, {3, 3}});
    fakes::FakeScore second(&undo, {{38, 1}});
    first.select(2, 3);
    commands.menuCopy({ClipFocus::Score, nullptr, &first});
    commands.menuPaste({ClipFocus::Score, nullptr, &second});
    EXPECT_EQ(second.data, (std::vector<ScoreCell>{{17, 5}, {20, 7}, {38, 1}}));
    EXPECT_TRUE(alerts.shown.empty());

    // Foreign data under our type pastes nothing and says why.
    auto* foreign = new QMimeData;
    foreign->setData(gui::kCellsMimeType, "SORVELCELLS 1 1 99,5\n");
    QGuiApplication::clipboard()->setMimeData(foreign);
    commands.menuPaste({ClipFocus::Score, nullptr, &second});
    EXPECT_EQ(second.data.size(), 3u);
    EXPECT_EQ(alerts.shown.size(), 1u);
}

TEST(QtClipboard, LineEditTextCase) {
    QLineEdit field;
    field.setText(QStringLiteral("Am C7"));
    field.setSelection(0, 3);
    gui::QtClipboard clipboard;
    fakes::FakeAlerts alerts;
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
    UndoHistory undo;
    fakes::FakeScore score(&undo, {{17, 5}});
    QWidget scoreWindow;
    auto* field = new QLineEdit(&scoreWindow);
    auto* other = new QPushButton(&scoreWindow);
    QWidget toolWindow;
    auto* toolField = new QLineEdit(&toolWindow);
    const gui::ScoreOfWindow scoreOf = [&](QWidget* w, QWidget* focus) -> CellEditor* {
        return w == &scoreWindow && (!focus || focus == &scoreWindow) ? &score : nullptr;
    };
    struct Case {
        QWidget* key;
        QWidget* focus;
        ClipFocus expected;
    };
    const std::vector<Case> cases = {
        {nullptr, nullptr, ClipFocus::NoKeyWindow},
        {&scoreWindow, nullptr, ClipFocus::Score},
        {&scoreWindow, &scoreWindow, ClipFocus::Score},
        {&scoreWindow, field, ClipFocus::TextField},
        {&scoreWindow, other, ClipFocus::Other},
        {&toolWindow, toolField, ClipFocus::TextField},
        {&toolWindow, nullptr, ClipFocus::Other},
        {&toolWindow, field, ClipFocus::Other},  // a field of a window that is not key
    };
    for (const Case& c : cases) {
        std::unique_ptr<TextEditing> holder;
        const ClipTarget t = gui::clipTargetFor(c.key, c.focus, scoreOf, holder);
        EXPECT_EQ(t.focus, c.expected);
        EXPECT_EQ(t.score != nullptr, c.expected == ClipFocus::Score);
        EXPECT_EQ(t.text != nullptr, c.expected == ClipFocus::TextField);
    }
}

}  // namespace
}  // namespace sorvel::test
