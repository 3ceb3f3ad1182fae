// The phrase builder window, driven through its buttons, fields and table.
#include "phrase_builder_window.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <string>
#include <vector>

#include "../core/fakes.h"

namespace sorvel {
namespace {

using gui::PhraseBuilderWindow;

class PhraseWindowTest : public ::testing::Test {
  protected:
    PhraseWindowTest() : builder(table), window(builder, alerts) {
        table.defItem = {{"maj", "0:4:7"}, {"m7", "0:3:7:10"}, {"7", "0:4:7:10"}};
        window.tableModel().reload();
        window.setScore(&score);
        window.show();
    }
    template <typename T>
    T* child(const char* name) {
        T* w = window.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void click(const char* name) {
        if (auto* b = child<QPushButton>(name)) b->click();
    }
    QString text(const char* name) {
        auto* f = child<QLineEdit>(name);
        return f ? f->text() : QString();
    }

    ScaleTable table;
    PhraseBuilder builder;
    testing::FakeAlerts alerts;
    testing::FakePhraseScore score;
    PhraseBuilderWindow window;
};

TEST_F(PhraseWindowTest, BuildsAPhraseFromButtonsAndChordsAndSendsIt) {
    click("setMain");  // an empty line is not sent, and the window says why
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(child<QLabel>("message")->text().contains("empty"));
    click("note_C0");
    click("note_E0");
    click("note_G0#");
    EXPECT_EQ(text("editField"), "C0 E0 G0#");
    click("downBtn");
    EXPECT_EQ(text("editField"), "B1 D0# G0");

    auto* chords = child<QLineEdit>("cdFld");
    ASSERT_NE(chords, nullptr);
    chords->setFocus();
    QTest::keyClicks(chords, "Dm7 H7 G");
    click("intScale");
    EXPECT_EQ(text("editField"), "B1 D0# G0 D0 F0 A0 C1 | G0 B0 D1 |");

    click("addBtn");
    // Typed text in the line counts (how the line reads is the builder's).
    auto* line = child<QLineEdit>("editLineFld");
    line->setFocus();
    line->end(false);
    QTest::keyClicks(line, " |: zz");
    click("setMain");
    ASSERT_EQ(score.appended.size(), 13u);
    EXPECT_EQ(score.appended.back(), (ScoreCell{17, 26}));
    EXPECT_FALSE(window.isVisible());  // sending closes the window
    window.show();
    EXPECT_EQ(builder.line, ",B1,D0#,G0,D0,F0,A0,C1,00,G0,B0,D1,00,01,zz");  // the line stays
}

TEST_F(PhraseWindowTest, CircleAndClefAndPlay) {
    click("note_C0");
    click("circle4thKanniBtn");
    EXPECT_EQ(text("editLineFld"), "C0 | F0 | B0 | E1 | A1 | D0 | G0");
    EXPECT_EQ(text("editField"), "G0");

    auto* note = child<QPushButton>("note_A1#");
    ASSERT_NE(note, nullptr);
    const QImage treble = note->icon().pixmap(26, 56).toImage();
    click("TOonHeon");
    EXPECT_NE(note->icon().pixmap(26, 56).toImage(), treble);
    // The clef changes the picture, not the note.
    note->click();
    EXPECT_EQ(text("editField"), "G0 A1#");

    click("soundBtn");
    EXPECT_EQ(score.played, (std::vector<ScoreCell>{{14, 5}, {35, 5}}));
}

TEST_F(PhraseWindowTest, TableEditsAddAndDelete) {
    auto* view = child<QTableView>("tblView");
    ASSERT_NE(view, nullptr);
    auto& model = window.tableModel();
    EXPECT_TRUE(model.setData(model.index(2, 0), "dom", Qt::EditRole));
    // A refused edit (which ones is the builder's) leaves the row and says why.
    EXPECT_FALSE(model.setData(model.index(2, 1), "0,4", Qt::EditRole));
    EXPECT_EQ(table.defItem[2], (ScaleRow{"dom", "0:4:7:10"}));
    EXPECT_FALSE(child<QLabel>("message")->text().isEmpty());

    click("delCode");  // nothing selected
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_EQ(alerts.shown[0].informative, "コードを選択してください");
    EXPECT_EQ(model.rowCount(), 3);

    click("addCode");
    EXPECT_EQ(model.data(model.index(3, 1), Qt::DisplayRole).toString(), "NEW");

    view->selectRow(0);
    click("delCode");
    EXPECT_EQ(alerts.shown.size(), 1u);
    EXPECT_EQ(table.defItem,
              (std::vector<ScaleRow>{{"m7", "0:3:7:10"}, {"dom", "0:4:7:10"}, {"NEW", "NEW"}}));
}

}  // namespace
}  // namespace sorvel
