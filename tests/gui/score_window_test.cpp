#include "score_window.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "staff_widget.h"
#include "test_support.h"

using sorvel::Document;
using sorvel::ScoreCell;
using sorvel::gui::ScoreLayout;
using sorvel::gui::ScoreWindow;
using sorvel::test::labelText;

namespace {

std::unique_ptr<ScoreWindow> makeWindow() {
    auto w = std::make_unique<ScoreWindow>(std::make_unique<Document>(), sorvel::test::setFolder());
    w->show();
    w->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
    return w;
}

// Centre of a cell of a staff row in the staff widget's coordinates.
QPoint cellCentre(int column) {
    return {(column - 1) * ScoreLayout::kStaffWidth / 40 + 15, ScoreLayout::kStaffHeight / 2};
}

void fillScore(Document& d, int cells) {
    d.musicData.clear();
    for (int i = 0; i < cells; ++i) d.musicData.push_back(ScoreCell{17 + i % 5, 5});
    d.showPage(1);
}

}  // namespace

TEST(ScoreWindow, EveryControlExistsAndMirrorsTheNewDocument) {
    auto w = makeWindow();
    for (const char* name : {"gosen1", "gosen2", "gosen3", "gosenE", "celPointer", "pGosen1",
                             "pGosen2", "pGosen3", "allP", "gosenRaw", "gosenCol", "gosenRawTo",
                             "gosenColTo", "cdText1", "cdText2", "cdText3", "A_Hz", "imgCombo",
                             "cmbTempo", "cmbInKey", "cmbBeat", "onpMtx1", "pitchMtx",
                             "transposeMtx", "withCode", "playBtn", "btnUPDate", "btnIns",
                             "btnADD", "btnDel", "btnPageUp", "btnPageDown", "Triplet", "tie"}) {
        EXPECT_NE(w->findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
    }
    EXPECT_EQ(labelText(*w, "pGosen1"), "1");
    EXPECT_EQ(labelText(*w, "pGosen3"), "3");
    EXPECT_EQ(labelText(*w, "allP"), "1");
    for (const char* name : {"gosenRaw", "gosenCol", "gosenRawTo", "gosenColTo"}) {
        EXPECT_EQ(labelText(*w, name), "1") << name;
    }
    EXPECT_EQ(w->findChild<QLineEdit*>("A_Hz")->text(), "440");
    EXPECT_EQ(w->findChild<QLineEdit*>("cdText2")->text(), QString(7, ' '));
    EXPECT_EQ(w->findChild<QComboBox*>("cmbTempo")->currentText(), "120");
    EXPECT_EQ(w->findChild<QComboBox*>("cmbInKey")->currentText(), "C");
    EXPECT_EQ(w->findChild<QComboBox*>("cmbBeat")->currentText(), "4");
    auto* images = w->findChild<QComboBox*>("imgCombo");
    ASSERT_GE(images->count(), 2) << "image sets of the set folder";
    EXPECT_EQ(images->currentIndex(), 0);
    EXPECT_EQ(images->currentText().toStdString(), w->document().imageSet());
    // The onpMtx1 matrix has three rows of six.
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 6; ++c) {
            EXPECT_NE(w->findChild<QPushButton*>(QStringLiteral("onpMtx1_%1_%2").arg(r).arg(c)),
                      nullptr);
        }
    }
    // The entry cell is the score's first cell, the pointer sits on cell (1, 1).
    EXPECT_EQ(w->document().entryCell(), (ScoreCell{0, 0}));
    const QRect pointer = w->findChild<QWidget*>("celPointer")->geometry();
    EXPECT_EQ(pointer, w->staffWidget(1)->geometry().adjusted(0, 0, 30 - ScoreLayout::kStaffWidth, 0));
}

TEST(ScoreWindow, ClicksMoveThePointerAndShiftClicksSelect) {
    auto w = makeWindow();
    Document& d = w->document();
    fillScore(d, 81);
    EXPECT_EQ(labelText(*w, "allP"), "3");

    QTest::mouseClick(w->staffWidget(2), Qt::LeftButton, {}, cellCentre(5));
    EXPECT_EQ(d.selRow, 2);
    EXPECT_EQ(d.selCol, 5);
    EXPECT_EQ(labelText(*w, "gosenRaw"), "2");
    EXPECT_EQ(labelText(*w, "gosenCol"), "5");
    EXPECT_EQ(d.entryCell(), d.musicData[44]);
    EXPECT_EQ(w->findChild<QWidget*>("celPointer")->geometry().topLeft(),
              w->staffWidget(2)->geometry().topLeft() + QPoint(4 * 30, 0));

    // Shift-click after the start extends the selection ...
    QTest::mouseClick(w->staffWidget(2), Qt::LeftButton, Qt::ShiftModifier, cellCentre(9));
    EXPECT_EQ(d.selColTo, 9);
    EXPECT_EQ(labelText(*w, "gosenColTo"), "9");
    // ... and before it swaps: the clicked cell becomes the start, the old start the end.
    QTest::mouseClick(w->staffWidget(1), Qt::LeftButton, Qt::ShiftModifier, cellCentre(38));
    EXPECT_EQ(d.selRow, 1);
    EXPECT_EQ(d.selCol, 38);
    EXPECT_EQ(d.selRowTo, 2);
    EXPECT_EQ(d.selColTo, 5);

    // A click past the end of the score does nothing.
    QTest::mouseClick(w->staffWidget(3), Qt::LeftButton, {}, cellCentre(2));
    EXPECT_EQ(d.selRow, 1);
    EXPECT_EQ(d.selCol, 38);
}

TEST(ScoreWindow, SelectionIsPaintedYellowAndPagesMoveOneStaff) {
    auto w = makeWindow();
    Document& d = w->document();
    fillScore(d, 200);
    d.selCell(3, 1);
    d.selCellTo(5, 1);
    const QImage shot = w->staffWidget(1)->grab().toImage();
    const double dpr = shot.devicePixelRatio();
    auto colourAt = [&](int column) {
        return shot.pixelColor(qRound(((column - 1) * 30 + 2) * dpr), qRound(4 * dpr));
    };
    EXPECT_EQ(colourAt(2), QColor(Qt::white));
    EXPECT_EQ(colourAt(3), QColor(Qt::yellow));
    EXPECT_EQ(colourAt(5), QColor(Qt::yellow));
    EXPECT_EQ(colourAt(6), QColor(Qt::white));

    w->findChild<QPushButton*>("btnPageDown")->click();
    EXPECT_EQ(labelText(*w, "pGosen1"), "2");
    EXPECT_EQ(labelText(*w, "pGosen3"), "4");
    EXPECT_EQ(d.gosen1.musicData[0], d.musicData[40]);
    w->findChild<QPushButton*>("btnPageUp")->click();
    EXPECT_EQ(labelText(*w, "pGosen1"), "1");
}

TEST(ScoreWindow, ChordFieldsAndSettingsReachTheDocument) {
    auto w = makeWindow();
    Document& d = w->document();
    auto* field = w->findChild<QLineEdit*>("cdText1");
    field->setFocus();
    QTest::keyClicks(field, "Am7");
    EXPECT_EQ(d.cdText[0], QString(7, ' ').append("Am7").toStdString());
    w->scoreArea()->setFocus();  // editing ends
    EXPECT_EQ(d.codeData[0], d.cdText[0]);

    auto* tempo = w->findChild<QComboBox*>("cmbTempo");
    tempo->setCurrentIndex(5);
    emit tempo->activated(5);
    EXPECT_EQ(d.cmbTempo.selected, 5);
    w->findChild<QCheckBox*>("withCode")->setChecked(true);
    EXPECT_TRUE(d.withCode);
}
