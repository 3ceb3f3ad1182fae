// The score window's fields and controls: what they let into the score and where the
// keyboard goes after them.
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QStatusBar>

#include "model/score_file.h"
#include "test_support.h"

namespace sorvel::test {
namespace {

using gui::StaffWidget;

// Pasted line breaks in a chord field become blanks. A chord field holds any line a file may
// hold; typing and pasting stop at the chord line's limit, take nothing and say so.
TEST(ScoreWindowFields, PastedLineBreaksBecomeBlanksAndEditsStopAtTheLineLimit) {
    auto [w, audio] = makeWindow();
    Document& d = w->document();
    auto* field = w->findChild<QLineEdit*>("cdText1");
    auto* second = w->findChild<QLineEdit*>("cdText2");
    ASSERT_TRUE(field && second);
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("C\n17,5"), QStringLiteral("C 17,5")},
        {QString::fromUtf8("Dm\xE2\x80\xA9G\xC2\x85"
                           "C"),
         QStringLiteral("Dm G C")},  // every kind of line break is the core's
    };
    for (const auto& [pasted, shown] : cases) {
        SCOPED_TRACE(shown.toStdString());
        QGuiApplication::clipboard()->setText(pasted);
        field->setFocus();
        field->selectAll();
        field->paste();
        EXPECT_EQ(field->text(), shown);
        EXPECT_EQ(testing::chordFields(d)[0], shown.toStdString());
    }
    w->scoreArea()->setFocus();
    EXPECT_EQ(testing::chordLines(d)[0], "Dm G C");

    testing::givenScore().chordLines({std::string(kMaxChordLineFileChars, 'C')}).applyTo(d);
    EXPECT_EQ(field->text().size(), static_cast<qsizetype>(kMaxChordLineFileChars));
    second->setFocus();
    second->selectAll();
    QGuiApplication::clipboard()->setText(QString(kMaxChordLineChars - 1, QLatin1Char('F')));
    second->paste();
    QTest::keyClicks(second, "xy");
    second->paste();
    EXPECT_EQ(second->text().size(), static_cast<qsizetype>(kMaxChordLineChars));
    EXPECT_TRUE(w->statusBar()->currentMessage().contains(QStringLiteral("line 2 longer")));
    EXPECT_EQ(testing::chordFields(d)[1].size(), kMaxChordLineChars);
}

// Where the keyboard ends up after each way of leaving a control.
TEST(ScoreWindowFocus, ChoicesEscapeAndStaffClicksGiveTheKeyboardBackToTheScore) {
    auto [w, audio] = makeWindow();
    QWidget* score = w->scoreArea();
    const char* const controls[] = {"cmbTempo", "cmbInKey", "cmbBeat",
                                    "imgCombo", "A_Hz",     "cdText2"};
    for (const char* name : controls) {
        SCOPED_TRACE(name);
        auto* control = w->findChild<QWidget*>(name);
        ASSERT_NE(control, nullptr);
        control->setFocus();
        ASSERT_TRUE(control->hasFocus());
        QTest::keyClick(control, Qt::Key_Escape);
        EXPECT_TRUE(score->hasFocus()) << "Escape";
        control->setFocus();
        QTest::mouseClick(w->staffWidget(0), Qt::LeftButton, {}, QPoint(15, 100));
        EXPECT_TRUE(score->hasFocus()) << "click on the entry staff";
    }
    Document& d = w->document();
    for (const char* name : {"cmbTempo", "cmbInKey", "cmbBeat", "imgCombo"}) {
        SCOPED_TRACE(name);
        w->findChild<QWidget*>(name)->setFocus();
        choose(*w, name, 2);
        EXPECT_TRUE(score->hasFocus());
    }
    // The arrow keys now step the entry pitch and leave the settings alone.
    const ScoreCell before = testing::entry(d);
    const auto shown = testing::settings(d);
    QTest::keyClick(score, Qt::Key_Up);
    EXPECT_NE(testing::entry(d).noteIndex, before.noteIndex);
    EXPECT_EQ(testing::settings(d), shown);
}

TEST(ScoreWindowFocus, TheReferencePitchAppliesWhenTheFieldIsLeft) {
    auto [w, audio] = makeWindow();
    Document& d = w->document();
    const std::pair<QString, int> cases[] = {{"445", 445}, {"430.5", 430}};
    for (const auto& [typed, hz] : cases) {
        SCOPED_TRACE(typed.toStdString());
        typeInto(*w, "A_Hz", typed);
        clickCell(*w, 1, 1);  // leaves the field by a click, no Return
        EXPECT_EQ(testing::settings(d).referencePitch, std::to_string(hz));
        EXPECT_EQ(w->findChild<QLineEdit*>("A_Hz")->text(), QString::number(hz));
        EXPECT_NEAR(testing::frequencies(d).at(17), static_cast<float>(hz), 0.01f);
    }
}

// Counts the paints a widget receives.
class PaintCounter : public QObject {
  public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++paints;
        return false;
    }
};

TEST(ScoreWindowPictures, TheEntryStaffRedrawsWithANewPictureSetAtOnce) {
    auto [w, audio] = makeWindow();
    const QString set = w->findChild<QComboBox*>("imgCombo")->itemText(1);
    QApplication::processEvents();
    PaintCounter counter;
    w->staffWidget(0)->installEventFilter(&counter);
    choose(*w, "imgCombo", 1);
    QTRY_VERIFY(counter.paints > 0);
    EXPECT_EQ(w->document().imageSet(), set.toStdString());
}

// Stems, flags and triplet marks of the highest pitches rise above the staff's band into
// its headroom.
TEST(ScoreWindowStaves, HighNotesDrawTheirStemsAndFlagsAboveTheBand) {
    auto [w, audio] = makeWindow();
    Document& d = w->document();
    StaffWidget* staff = w->staffWidget(1);
    ASSERT_EQ(staff->height(), ScoreLayout::kStaffHeight + ScoreLayout::kStaffHeadroom);
    // Eighth, thirty-second and triplet eighth at the top pitch, and a blank cell.
    testing::givenScore().cells({{38, 7}, {38, 11}, {38, 42}, {38, 0}}).applyTo(d);
    const QImage shot = staff->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const double dpr = shot.devicePixelRatio();
    auto inkAboveBand = [&](int column) {
        int dark = 0;
        for (int y = 0; y < qRound(ScoreLayout::kStaffHeadroom * dpr); ++y) {
            for (int x = qRound(column * 30 * dpr); x < qRound((column + 1) * 30 * dpr); ++x) {
                dark += qGray(shot.pixel(x, y)) < 96;
            }
        }
        return dark;
    };
    for (int column = 0; column < 3; ++column) EXPECT_GT(inkAboveBand(column), 4) << column;
    EXPECT_EQ(inkAboveBand(3), 0);
}

}  // namespace
}  // namespace sorvel::test
