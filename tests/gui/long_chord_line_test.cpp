// A chord field holds what a file held and a save writes it whole; typing and pasting stop at
// the chord line's limit, take nothing and say so.
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QStatusBar>

#include "app/document_file.h"
#include "test_support.h"

namespace sorvel::test {
namespace {

TEST(LongChordLine, FileLinesAreHeldWholeAndEditsStopAtTheLimit) {
    auto [w, audio] = makeWindow();
    Document& d = w->document();
    const std::string line(kMaxChordLineFileChars, 'C');
    ScoreFile file;
    file.codeData = {line, ""};
    file.musicData = {{17, 5}};
    applyScore(d, file);
    auto* first = w->findChild<QLineEdit*>("cdText1");
    auto* second = w->findChild<QLineEdit*>("cdText2");
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->text().size(), static_cast<qsizetype>(line.size()));

    // A paste onto the long line is refused; the line, shortened, is still saved whole.
    first->setFocus();
    first->end(false);
    QGuiApplication::clipboard()->setText(QString(100000, QLatin1Char('G')));
    first->paste();
    EXPECT_EQ(first->text().size(), static_cast<qsizetype>(line.size()));
    EXPECT_TRUE(w->statusBar()->currentMessage().contains(QStringLiteral("line 1 longer")))
        << w->statusBar()->currentMessage().toStdString();
    QTest::keyClick(first, Qt::Key_Backspace);

    // Typing and pasting up to the limit are taken, one character more is not.
    second->setFocus();
    QGuiApplication::clipboard()->setText(QString(kMaxChordLineChars - 1, QLatin1Char('F')));
    second->paste();
    QTest::keyClicks(second, "x");
    w->statusBar()->clearMessage();
    QTest::keyClicks(second, "y");
    EXPECT_TRUE(w->statusBar()->currentMessage().contains(QStringLiteral("line 2 longer")));
    w->scoreArea()->setFocus();
    std::string lines(1, '#');
    lines.append(line, 1);
    lines += "\n#";
    lines.append(kMaxChordLineChars - 1, 'F');
    lines += "x\n";
    EXPECT_NE(saveScore(d).find(lines), std::string::npos);
}

}  // namespace
}  // namespace sorvel::test
