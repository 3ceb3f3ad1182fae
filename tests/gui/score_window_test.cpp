// The real score window: its controls mirror the document, and clicks, buttons, fields and
// combo boxes reach it.
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QKeyEvent>

#include "test_support.h"

namespace sorvel::test {
namespace {

using Cells = std::vector<ScoreCell>;

using namespace sorvel::testing;
using testing::Selection;  // the test builder's, not the key logic's

TEST(ScoreWindow, ItsControlsMirrorTheNewDocument) {
    auto [w, audio] = makeWindow();
    QString labels;
    for (const char* name : {"pGosen1", "pGosen2", "pGosen3", "allP", "gosenRaw", "gosenCol",
                             "gosenRawTo", "gosenColTo"}) {
        labels += labelText(*w, name);
    }
    EXPECT_EQ(labels, "12311111");
    EXPECT_EQ(w->findChild<QLineEdit*>("A_Hz")->text(), "440");
    EXPECT_EQ(w->findChild<QLineEdit*>("cdText2")->text(), QString(7, ' '));
    EXPECT_EQ(w->findChild<QComboBox*>("cmbTempo")->currentText(), "120");
    EXPECT_EQ(w->findChild<QComboBox*>("cmbInKey")->currentText(), "C");
    EXPECT_EQ(w->findChild<QComboBox*>("cmbBeat")->currentText(), "4");
    auto* images = w->findChild<QComboBox*>("imgCombo");
    ASSERT_GE(images->count(), 2) << "image sets of the set folder";
    EXPECT_EQ(images->currentText().toStdString(), w->document().imageSet());
    const QRect pointer = w->findChild<QWidget*>("celPointer")->geometry();
    EXPECT_EQ(pointer, QRect(w->staffWidget(1)->geometry().topLeft(),
                             QSize(30, 140 + ScoreLayout::kStaffHeadroom)));
}

TEST(ScoreWindow, ClicksSelectCellsThatArePaintedYellowAndPagesMoveOneStaff) {
    auto [w, audio] = makeWindow();
    Document& d = w->document();
    Cells score;
    for (int i = 0; i < 81; ++i) score.push_back({i % 5, 1 + i % 12});  // low glyphs
    givenScore().cells(score).applyTo(d);
    EXPECT_EQ(labelText(*w, "allP"), "3");

    clickCell(*w, 2, 5);
    EXPECT_EQ(selection(d).from, (Pos{2, 5}));
    EXPECT_EQ(labelText(*w, "gosenRaw") + labelText(*w, "gosenCol"), "25");
    EXPECT_EQ(entry(d), score[44]);
    EXPECT_EQ(w->findChild<QWidget*>("celPointer")->geometry().topLeft(),
              w->staffWidget(2)->geometry().topLeft() + QPoint(4 * 30, 0));
    // A Shift-click extends the selection (where its ends go is the core's).
    clickCell(*w, 2, 9, true);
    EXPECT_EQ(labelText(*w, "gosenColTo"), "9");

    auto colourAt = [&](int row, int column) {
        const QImage shot = w->staffWidget(row)->grab().toImage();
        const double dpr = shot.devicePixelRatio();
        return shot.pixelColor(qRound(((column - 1) * 30 + 2) * dpr), qRound(4 * dpr));
    };
    EXPECT_EQ(colourAt(2, 4), QColor(Qt::white));
    EXPECT_EQ(colourAt(2, 5), QColor(Qt::yellow));
    EXPECT_EQ(colourAt(2, 9), QColor(Qt::yellow));
    EXPECT_EQ(colourAt(2, 10), QColor(Qt::white));

    click(*w, {"btnPageDown"});
    EXPECT_EQ(labelText(*w, "pGosen1") + labelText(*w, "pGosen3"), "24");
    EXPECT_EQ(staffCells(d, 1)[0], score[40]);
    click(*w, {"btnPageUp"});
    EXPECT_EQ(labelText(*w, "pGosen1"), "1");
}

TEST(ScoreWindow, ButtonsDriveTheEntryCellAndTheScore) {
    const struct {
        std::vector<const char*> clicks;
        ScoreCell entry;
        Cells score;
        std::int64_t column;  // selected, start and end
        bool sounds;
    } steps[] = {
        // One button of each family, from a new score: one blank cell, the entry (0, 0), the
        // pointer on (1, 1). What each row and column does is the core's.
        {{"pitchMtx_4"}, {17, 0}, {{0, 0}}, 1, true},  // octave up
        {{"onpMtx1_0_2"}, {17, 5}, {{0, 0}}, 1, false},
        {{"Triplet"}, {17, 41}, {{0, 0}}, 1, false},
        {{"Triplet", "tie"}, {17, 55}, {{0, 0}}, 1, false},
        {{"tie", "btnUPDate"}, {17, 5}, {{17, 5}}, 1, false},
        // Add writes after the selected cell and selects it; Insert writes before it.
        {{"onpMtx1_0_1", "btnADD"}, {17, 3}, {{17, 5}, {17, 3}}, 2, false},
        {{"onpMtx1_1_0", "btnIns"}, {17, 13}, {{17, 5}, {17, 13}, {17, 3}}, 2, false},
        {{"btnDel"}, {17, 3}, {{17, 5}, {17, 3}}, 2, false},  // the next cell moves up
    };
    auto [w, audio] = makeWindow();
    Document& d = w->document();
    int n = 0;
    for (const auto& s : steps) {
        SCOPED_TRACE("step " + std::to_string(++n));
        const std::size_t tones = audio->buffers.size();
        for (const char* name : s.clicks) click(*w, {name});
        EXPECT_EQ(entry(d), s.entry);
        EXPECT_EQ(staffCells(d, 0)[0], s.entry) << "the entry staff shows it";
        EXPECT_EQ(cells(d), s.score);
        EXPECT_EQ(selection(d), (testing::Selection{{1, s.column}, {1, s.column}}));
        const QString column = QString::number(s.column);
        EXPECT_EQ(labelText(*w, "gosenCol") + labelText(*w, "gosenColTo"), column + column);
        EXPECT_EQ(staffMismatch(d), "");
        // Only steps sound (at which frequency is the core's).
        EXPECT_EQ(audio->buffers.size(), tones + (s.sounds ? 1 : 0));
    }
}

TEST(ScoreWindow, ChordFieldsAndTranspositionReachTheDocument) {
    auto [w, audio] = makeWindow();
    Document& d = w->document();
    givenScore().cells({{38, 5}, {1, 5}, {17, 17}}).applyTo(d);
    auto field = [&](int i) { return w->findChild<QLineEdit*>(QStringLiteral("cdText%1").arg(i)); };

    typeInto(*w, "cdText2", "Bb7");
    EXPECT_EQ(chordFields(d)[1], "Bb7");
    w->scoreArea()->setFocus();  // editing ends: the line is stored
    EXPECT_EQ(chordLines(d)[1], "Bb7");
    // cdText1 still has the keyboard when the transposition button is clicked: what is
    // typed there counts.
    typeInto(*w, "cdText1", "C G7");
    ASSERT_TRUE(field(1)->hasFocus());
    w->findChild<QCheckBox*>("withCode")->click();
    ASSERT_TRUE(chordsTransposeAlong(d));
    click(*w, {"transposeMtx_0"});
    const std::vector<std::string> chordsUp = {"C# G#7 ", "B7 ", std::string(8, ' ')};
    EXPECT_EQ(chordLines(d), chordsUp);
    EXPECT_EQ(field(1)->text() + "|" + field(2)->text(), "C# G#7 |B7 ");
    EXPECT_EQ(cells(d), (Cells{{5, 5}, {3, 5}, {17, 17}}));
    EXPECT_EQ(staffMismatch(d), "");
    // Without withCode the chords stay.
    w->findChild<QCheckBox*>("withCode")->click();
    click(*w, {"transposeMtx_1"});
    EXPECT_EQ(chordLines(d), chordsUp);
    EXPECT_EQ(cells(d), (Cells{{4, 5}, {2, 5}, {17, 17}}));

    // The settings' combo boxes and the reference pitch are the saving and focus tests'.
}

// A key acts on its release only when it was pressed in the score window: the Return that
// closed a dialog, or a letter that chose a menu item, arrives here as a lone release.
TEST(ScoreWindow, OnlyKeysPressedInTheWindowActOnRelease) {
    auto [w, audio] = makeWindow();
    w->scoreArea()->setFocus();
    Document& d = w->document();

    QKeyEvent loneRelease(QEvent::KeyRelease, Qt::Key_G, Qt::NoModifier, QStringLiteral("g"));
    QApplication::sendEvent(w->scoreArea(), &loneRelease);
    EXPECT_EQ(entry(d), (ScoreCell{0, 0}));

    QTest::keyClick(w->scoreArea(), Qt::Key_G);  // press and release here: E0
    EXPECT_EQ(entry(d).noteIndex, 10);
    QKeyEvent loneReturn(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(w->scoreArea(), &loneReturn);
    EXPECT_EQ(cells(d).front(), (ScoreCell{0, 0}));
    QTest::keyClick(w->scoreArea(), Qt::Key_Return);
    EXPECT_EQ(cells(d).front(), (ScoreCell{10, 0}));
}

}  // namespace
}  // namespace sorvel::test
