// The Edit menu's clipboard items and the Tools menu's tool windows in the whole
// application: cells copied in one window and pasted in another through the system
// clipboard, and the tuner, replace and phrase builder windows opened for the score in front.
#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include "app/app_delegate.h"
#include "phrase_builder_window.h"
#include "qt_clipboard.h"
#include "replace_window.h"
#include "test_support.h"
#include "tuner_window.h"

namespace sorvel::test {
namespace {

template <typename W>
QList<W*> topLevel() {
    QList<W*> out;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* t = qobject_cast<W*>(w)) out << t;
    }
    return out;
}

class ClipboardToolsMenu : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        QGuiApplication::clipboard()->clear();
    }
    // Lets the menu items catch up with the selection, focus and clipboard.
    static void settle() {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
    static void selectColumns(ScoreWindow& w, int from, int to) {
        clickCell(w, 1, from);
        clickCell(w, 1, to, true);
        w.scoreArea()->setFocus();
        settle();
    }
};

TEST_F(ClipboardToolsMenu, CellsCopiedInOneWindowArePastedInAnother) {
    // given two windows, three cells written in the first and two of them copied
    ScoreWindow* a = newWindow();
    ScoreWindow* b = newWindow();
    ASSERT_TRUE(a && b);
    ASSERT_TRUE(makeKey(a));
    writeThreeCells(*a);
    const Cells written = testing::cells(a->document());
    ASSERT_EQ(written.size(), 3u);
    selectColumns(*a, 2, 3);
    ASSERT_TRUE(action(a, "menuCopy")->isEnabled());
    EXPECT_EQ(action(a, "menuCopy")->shortcut(), QKeySequence(QKeySequence::Copy));
    EXPECT_FALSE(action(a, "menuAdd")->shortcut().isEmpty()) << "Add shows its keys in the menu";
    action(a, "menuCopy")->trigger();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->hasFormat(gui::kCellsMimeType));
    EXPECT_FALSE(data->hasText()) << "a score copy puts no text on the clipboard";
    EXPECT_EQ(testing::cells(a->document()), written) << "copy leaves the score alone";

    // Pasted before the other window's one blank cell, as one undo step (the commands
    // themselves are the core's).
    ASSERT_TRUE(makeKey(b));
    selectColumns(*b, 1, 1);
    ASSERT_TRUE(action(b, "menuPaste")->isEnabled());
    action(b, "menuPaste")->trigger();
    EXPECT_EQ(testing::cells(b->document()), (Cells{written[1], written[2], {0, 0}}));
    EXPECT_EQ(testing::staffMismatch(b->document()), "");
    trigger(b, "Undo");
    EXPECT_EQ(testing::cells(b->document()), (Cells{{0, 0}}));
    EXPECT_TRUE(alerts_.shown.empty());
}

// Replace and Tuner open one window each, for the score in front, and follow the score
// they were last opened from. (Without a score window in front they ask for one: the core's
// routing.)
TEST_F(ClipboardToolsMenu, ToolWindowsActOnTheScoreInFront) {
    ScoreWindow* a = newWindow();
    ScoreWindow* b = newWindow();
    ASSERT_TRUE(a && b);
    writeThreeCells(*a);
    writeThreeCells(*b);
    const Cells written = testing::cells(a->document());
    ASSERT_EQ(written[0], (ScoreCell{17, 5}));
    choose(*b, "imgCombo", 1);
    typeInto(*b, "A_Hz", "442", true);
    ASSERT_NE(a->document().imageSet(), b->document().imageSet());

    ASSERT_TRUE(makeKey(b));
    trigger(b, "Replace");
    ASSERT_EQ(topLevel<gui::ReplaceWindow>().size(), 1);
    gui::ReplaceWindow* r = topLevel<gui::ReplaceWindow>().front();
    EXPECT_EQ(r->imageSet(), b->document().imageSet());
    // A1 to A1#, pressed in the replace window.
    ASSERT_TRUE(makeKey(r));
    click(*r, {"rplcMtx2_0", "btnReplace"});
    EXPECT_EQ(testing::cells(b->document())[0], (ScoreCell{18, 5}));
    EXPECT_EQ(testing::cells(b->document())[1], written[1]);
    EXPECT_EQ(testing::cells(a->document()), written) << "the score behind is left alone";

    ASSERT_TRUE(makeKey(b));
    trigger(b, "Tuner");
    ASSERT_EQ(topLevel<gui::TunerWindow>().size(), 1);
    gui::TunerWindow* t = topLevel<gui::TunerWindow>().front();
    EXPECT_EQ(t->imageSet(), b->document().imageSet());
    EXPECT_EQ(t->referencePitch(), 442);
    // The reference pitch edited in its score is followed.
    ASSERT_TRUE(makeKey(b));
    typeInto(*b, "A_Hz", "445", true);
    ASSERT_TRUE(makeKey(t));
    EXPECT_EQ(t->referencePitch(), 445);

    // Opened again from the first score: the same windows, acting there now.
    ASSERT_TRUE(makeKey(a));
    trigger(a, "Replace");
    trigger(a, "Tuner");
    EXPECT_EQ(topLevel<gui::ReplaceWindow>(), QList<gui::ReplaceWindow*>{r});
    EXPECT_EQ(topLevel<gui::TunerWindow>(), QList<gui::TunerWindow*>{t});
    EXPECT_EQ(t->imageSet(), a->document().imageSet());
    EXPECT_EQ(t->referencePitch(), 440);
    ASSERT_TRUE(makeKey(r));
    click(*r, {"btnReplace"});
    EXPECT_EQ(testing::cells(a->document())[0], (ScoreCell{18, 5}));
    EXPECT_TRUE(alerts_.shown.empty());
}

// Tools > Phrase Builder works for the score in front, sends its line there, and refuses to
// run without a score (appending the line and showing line one are the core's).
class PhraseMenu : public AppWithWindow {
  protected:
    // Opens the builder from the window's Tools menu.
    gui::PhraseBuilderWindow* openBuilder(ScoreWindow* from) {
        EXPECT_TRUE(makeKey(from));
        trigger(from, "Phrase Builder");
        gui::PhraseBuilderWindow* b = app_->phraseBuilderWindow();
        EXPECT_NE(b, nullptr);
        EXPECT_TRUE(b && b->isVisible());
        return b;
    }
};

TEST_F(PhraseMenu, OneWindowFollowsTheScoreItWasLastOpenedFor) {
    ScoreWindow* second = newWindow();
    ASSERT_NE(second, nullptr);
    ASSERT_TRUE(makeKey(second));  // its activation is over before another window takes over
    const Cells firstBefore = testing::cells(window_->document());
    const Cells secondBefore = testing::cells(second->document());

    gui::PhraseBuilderWindow* fromFirst = openBuilder(window_);
    fromFirst->close();
    gui::PhraseBuilderWindow* b = openBuilder(second);
    EXPECT_EQ(b, fromFirst);  // the same window, kept with its fields
    click(*b, {"note_A0", "addBtn", "setMain"});
    Cells expected = secondBefore;
    expected.push_back({17, 5});
    EXPECT_EQ(testing::cells(second->document()), expected);
    EXPECT_EQ(testing::cells(window_->document()), firstBefore);

    // The score's window goes away while the builder is open: nothing is sent anywhere.
    b = openBuilder(second);
    questions_.saveAnswers = {SaveChoice::Discard};
    second->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    click(*b, {"setMain"});
    EXPECT_TRUE(b->isVisible());
    EXPECT_FALSE(b->findChild<QLabel*>("message")->text().isEmpty());
    EXPECT_EQ(testing::cells(window_->document()), firstBefore);
}

TEST_F(PhraseMenu, WithoutAScoreInFrontTheUserIsToldSo) {
    ScoreWindow* second = newWindow();
    ASSERT_NE(second, nullptr);
    ASSERT_TRUE(makeKey(second));  // its activation is over before another window takes over
    gui::PhraseBuilderWindow* b = openBuilder(window_);
    ASSERT_NE(b, nullptr);
    // The builder itself in front is no score window: the builder keeps its score.
    ASSERT_TRUE(makeKey(b));
    trigger(second, "Phrase Builder");
    ASSERT_EQ(alerts_.shown.size(), 1u);
    EXPECT_EQ(alerts_.shown[0].text, "Please open or select the main window and try again");
    EXPECT_EQ(app_->delegate().rootDocument(), &window_->document());
    const Cells secondBefore = testing::cells(second->document());
    click(*b, {"note_D0", "addBtn", "setMain"});
    EXPECT_EQ(testing::cells(window_->document()).back(), (ScoreCell{7, 5}));
    EXPECT_EQ(testing::cells(second->document()), secondBefore);
}

}  // namespace
}  // namespace sorvel::test
