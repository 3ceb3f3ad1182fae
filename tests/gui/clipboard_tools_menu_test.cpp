// The Edit menu's clipboard items and the Tools menu's tool windows in the whole
// application: cells copied in one window and pasted in another through the system
// clipboard, the enabled states, and the tuner and replace windows opened for the score in
// front.
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

// When the items are enabled is the core's; here foreign data under our type and a chord
// field's text through the real clipboard.
TEST_F(ClipboardToolsMenu, ForeignDataPastesNothingAndAChordFieldCopiesItsText) {
    ScoreWindow* a = newWindow();
    ASSERT_TRUE(a && makeKey(a));
    writeThreeCells(*a);
    selectColumns(*a, 1, 2);
    auto* foreign = new QMimeData;
    foreign->setData(gui::kCellsMimeType, "not cells");
    QGuiApplication::clipboard()->setMimeData(foreign);
    settle();
    const Cells kept = testing::cells(a->document());
    item(a, "menuPaste")->trigger();
    EXPECT_EQ(testing::cells(a->document()), kept);
    ASSERT_EQ(alerts_.shown.size(), 1u);
    EXPECT_EQ(alerts_.shown[0].text, "The cells on the clipboard are damaged; nothing was pasted.");
    alerts_.shown.clear();

    // In a chord field the items work on its text and the score is left alone.
    auto* field = a->findChild<QLineEdit*>(QStringLiteral("cdText1"));
    ASSERT_NE(field, nullptr);
    field->setFocus();
    field->setText(QStringLiteral("C G7"));
    field->setSelection(2, 2);
    settle();
    ASSERT_TRUE(item(a, "menuCopy")->isEnabled());
    const Cells before = testing::cells(a->document());
    item(a, "menuCopy")->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "G7");
    EXPECT_EQ(testing::cells(a->document()), before);
}

TEST_F(ClipboardToolsMenu, ReplaceActsOnTheScoreInFront) {
    ScoreWindow* a = newWindow();
    ScoreWindow* b = newWindow();
    ASSERT_TRUE(a && b);
    writeThreeCells(*a);
    writeThreeCells(*b);
    const Cells written = testing::cells(a->document());
    ASSERT_EQ(written[0], (ScoreCell{17, 5}));

    ASSERT_TRUE(makeKey(b));
    trigger(b, "Replace");
    QList<gui::ReplaceWindow*> windows = topLevel<gui::ReplaceWindow>();
    ASSERT_EQ(windows.size(), 1);
    gui::ReplaceWindow* r = windows.front();
    EXPECT_TRUE(r->isVisible());
    EXPECT_EQ(r->imageSet(), b->document().imageSet());
    // A1 to A1#, pressed in the replace window.
    ASSERT_TRUE(makeKey(r));
    click(*r, {"rplcMtx2_0", "btnReplace"});
    EXPECT_EQ(testing::cells(b->document())[0], (ScoreCell{18, 5}));
    EXPECT_EQ(testing::cells(b->document())[1], written[1]);
    EXPECT_EQ(testing::cells(a->document()), written) << "the score behind is left alone";

    // The first score brought to front, then the same window: now it acts there.
    ASSERT_TRUE(makeKey(a));
    trigger(a, "Replace");
    EXPECT_EQ(topLevel<gui::ReplaceWindow>().size(), 1) << "one replace window";
    ASSERT_TRUE(makeKey(r));
    click(*r, {"btnReplace"});
    EXPECT_EQ(testing::cells(a->document())[0], (ScoreCell{18, 5}));
    EXPECT_TRUE(alerts_.shown.empty());
}

TEST_F(ClipboardToolsMenu, TunerOpensForTheScoreInFront) {
    ScoreWindow* a = newWindow();
    ScoreWindow* b = newWindow();
    ASSERT_TRUE(a && b);
    auto* combo = b->findChild<QComboBox*>(QStringLiteral("imgCombo"));
    ASSERT_NE(combo, nullptr);
    ASSERT_GT(combo->count(), 1);
    combo->setCurrentIndex(1);
    emit combo->activated(1);
    typeInto(*b, "A_Hz", "442");
    QTest::keyClick(b->findChild<QLineEdit*>(QStringLiteral("A_Hz")), Qt::Key_Return);
    ASSERT_NE(a->document().imageSet(), b->document().imageSet());

    // (Without a score window in front it asks for one: the core's routing.)
    ASSERT_TRUE(makeKey(b));
    trigger(b, "Tuner");
    QList<gui::TunerWindow*> tuners = topLevel<gui::TunerWindow>();
    ASSERT_EQ(tuners.size(), 1);
    gui::TunerWindow* t = tuners.front();
    EXPECT_EQ(t->imageSet(), b->document().imageSet());
    EXPECT_EQ(t->referencePitch(), 442);

    // The reference pitch edited in its score is followed.
    ASSERT_TRUE(makeKey(b));
    typeInto(*b, "A_Hz", "445");
    QTest::keyClick(b->findChild<QLineEdit*>(QStringLiteral("A_Hz")), Qt::Key_Return);
    ASSERT_TRUE(makeKey(t));
    EXPECT_EQ(t->referencePitch(), 445);

    // Opened again from the other score: the same window, with that score's pictures.
    ASSERT_TRUE(makeKey(a));
    trigger(a, "Tuner");
    EXPECT_EQ(topLevel<gui::TunerWindow>(), QList<gui::TunerWindow*>{t});
    EXPECT_EQ(t->imageSet(), a->document().imageSet());
    EXPECT_EQ(t->referencePitch(), 440);
    EXPECT_TRUE(alerts_.shown.empty());
}

}  // namespace
}  // namespace sorvel::test
