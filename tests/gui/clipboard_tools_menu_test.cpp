// The Edit menu's clipboard items and the Tools menu's tool windows in the whole
// application: cells copied in one window and pasted in another through the system
// clipboard, and the tuner and replace windows opened for the score in front.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QMimeData>

#include "app/app_delegate.h"
#include "qt_clipboard.h"
#include "replace_window.h"
#include "test_support.h"
#include "tuner_window.h"

namespace sorvel::test {
namespace {

using Cells = std::vector<ScoreCell>;

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
    static QAction* item(QMainWindow* w, const char* name) {
        return w->findChild<QAction*>(QString::fromLatin1(name));
    }
    // Lets the menu items catch up with the selection, focus and clipboard.
    static void settle() {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
    // A1 quarter, B1 half, then a quarter rest: three cells.
    static void writeThreeCells(ScoreWindow& w) {
        click(w, {"pitchMtx_4", "onpMtx1_0_2", "btnUPDate", "pitchMtx_0", "pitchMtx_0",
                  "pitchMtx_0", "onpMtx1_0_1", "btnADD", "onpMtx1_1_2", "btnADD"});
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
    ASSERT_TRUE(item(a, "menuCopy")->isEnabled());
    EXPECT_EQ(item(a, "menuCopy")->shortcut(), QKeySequence(QKeySequence::Copy));
    EXPECT_FALSE(item(a, "menuAdd")->shortcut().isEmpty()) << "Add shows its keys in the menu";
    item(a, "menuCopy")->trigger();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->hasFormat(gui::kCellsMimeType));
    EXPECT_FALSE(data->hasText()) << "a score copy puts no text on the clipboard";
    EXPECT_EQ(testing::cells(a->document()), written) << "copy leaves the score alone";

    // Pasted before the other window's one blank cell, as one undo step (the commands
    // themselves are the core's).
    ASSERT_TRUE(makeKey(b));
    selectColumns(*b, 1, 1);
    ASSERT_TRUE(item(b, "menuPaste")->isEnabled());
    item(b, "menuPaste")->trigger();
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
    auto* combo = b->findChild<QComboBox*>(QStringLiteral("imgCombo"));
    ASSERT_GT(combo->count(), 1);
    combo->setCurrentIndex(1);
    emit combo->activated(1);
    typeInto(*b, "A_Hz", "442");
    QTest::keyClick(b->findChild<QLineEdit*>(QStringLiteral("A_Hz")), Qt::Key_Return);
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
    typeInto(*b, "A_Hz", "445");
    QTest::keyClick(b->findChild<QLineEdit*>(QStringLiteral("A_Hz")), Qt::Key_Return);
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

}  // namespace
}  // namespace sorvel::test
