#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QTest>

#include "score_window.h"
#include "test_support.h"

using sorvel::Document;
using sorvel::ScoreCell;
using sorvel::gui::ScoreWindow;

// A key acts on its release only when it was pressed in the score window: the Return that
// closed a dialog, or a letter that chose a menu item, arrives here as a lone release.
TEST(ScoreWindowKeys, OnlyKeysPressedInTheWindowActOnRelease) {
    ScoreWindow w(std::make_unique<Document>(), sorvel::test::setFolder());
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    w.scoreArea()->setFocus();
    Document& d = w.document();

    QKeyEvent loneRelease(QEvent::KeyRelease, Qt::Key_G, Qt::NoModifier, QStringLiteral("g"));
    QApplication::sendEvent(w.scoreArea(), &loneRelease);
    EXPECT_EQ(d.entryCell(), (ScoreCell{0, 0}));

    QTest::keyClick(w.scoreArea(), Qt::Key_G);  // press and release here: E0
    EXPECT_EQ(d.entryCell().noteIndex, 10);
    QKeyEvent loneReturn(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(w.scoreArea(), &loneReturn);
    EXPECT_EQ(d.musicData.front(), (ScoreCell{0, 0}));
    QTest::keyClick(w.scoreArea(), Qt::Key_Return);
    EXPECT_EQ(d.musicData.front(), (ScoreCell{10, 0}));
}
