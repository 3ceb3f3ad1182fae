// A chord field holds any line a file may hold; typing and pasting stop at the chord line's
// limit, take nothing and say so.
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QStatusBar>

#include "model/score_file.h"
#include "test_support.h"

namespace sorvel::test {
namespace {

TEST(LongChordLine, FieldHoldsAFilesLineAndEditsStopAtTheLimit) {
    auto [w, audio] = makeWindow();
    testing::givenScore()
        .chordLines({std::string(kMaxChordLineFileChars, 'C')})
        .applyTo(w->document());
    auto* first = w->findChild<QLineEdit*>("cdText1");
    auto* second = w->findChild<QLineEdit*>("cdText2");
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->text().size(), static_cast<qsizetype>(kMaxChordLineFileChars));

    second->setFocus();
    second->selectAll();
    QGuiApplication::clipboard()->setText(QString(kMaxChordLineChars - 1, QLatin1Char('F')));
    second->paste();
    QTest::keyClicks(second, "xy");
    second->paste();
    EXPECT_EQ(second->text().size(), static_cast<qsizetype>(kMaxChordLineChars));
    EXPECT_TRUE(w->statusBar()->currentMessage().contains(QStringLiteral("line 2 longer")));
    EXPECT_EQ(testing::chordFields(w->document())[1].size(), kMaxChordLineChars);
}

}  // namespace
}  // namespace sorvel::test
