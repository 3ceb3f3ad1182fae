// Tools > Phrase Builder in the running application: the builder works for the score in
// front, sends its line there as one undoable step, and refuses to run without a score.
#include <QLabel>

#include "app/document.h"
#include "phrase_builder_window.h"
#include "test_support.h"

namespace sorvel::test {
namespace {

using Cells = std::vector<ScoreCell>;

class PhraseMenu : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        first_ = startWithOneWindow();
        ASSERT_NE(first_, nullptr);
    }
    // Opens the builder from the window's Tools menu.
    gui::PhraseBuilderWindow* openBuilder(ScoreWindow* from) {
        EXPECT_TRUE(makeKey(from));
        trigger(from, "Phrase Builder");
        gui::PhraseBuilderWindow* b = app_->phraseBuilderWindow();
        EXPECT_NE(b, nullptr);
        EXPECT_TRUE(b && b->isVisible());
        return b;
    }
    // Two note buttons and the chord G: the phrase ",C0,E0,G0,B0,D1,00", copied to the line.
    void buildLine(gui::PhraseBuilderWindow& b) {
        click(b, {"note_C0", "note_E0"});
        typeInto(b, "cdFld", "G");
        click(b, {"intScale", "addBtn"});
    }
    static const Cells& lineCells() {
        static const Cells cells{{4, 5}, {10, 5}, {14, 5}, {20, 5}, {24, 5}, {17, 25}};
        return cells;
    }

    ScoreWindow* first_ = nullptr;
};

TEST_F(PhraseMenu, SendsTheLineToTheScoreInFrontAndOneUndoTakesItBack) {
    Document& doc = first_->document();
    // given a score of four lines, its third line shown on top
    const Cells before = testing::distinctCells(130);
    testing::givenScore().cells(before).onPage(3).applyTo(doc);
    ASSERT_EQ(labelText(*first_, "pGosen1"), "3");

    // when the builder's line is sent to it
    gui::PhraseBuilderWindow* b = openBuilder(first_);
    ASSERT_NE(b, nullptr);
    buildLine(*b);
    EXPECT_EQ(b->findChild<QLineEdit*>("editLineFld")->text(), "C0 E0 G0 B0 D1 |");
    click(*b, {"setMain"});
    EXPECT_FALSE(b->isVisible());

    // then it is appended, shown from line 1, and one undo step
    Cells expected = before;
    expected.insert(expected.end(), lineCells().begin(), lineCells().end());
    EXPECT_EQ(testing::cells(doc), expected);
    EXPECT_EQ(testing::topPage(doc), 1);
    EXPECT_EQ(labelText(*first_, "pGosen1"), "1");

    ASSERT_TRUE(makeKey(first_));
    trigger(first_, "Undo");
    EXPECT_EQ(testing::cells(doc), before);
    trigger(first_, "Redo");
    EXPECT_EQ(testing::cells(doc), expected);
    EXPECT_TRUE(alerts_.shown.empty());
}

TEST_F(PhraseMenu, OneWindowFollowsTheScoreItWasLastOpenedFor) {
    ScoreWindow* second = newWindow();
    ASSERT_NE(second, nullptr);
    ASSERT_TRUE(makeKey(second));  // its activation is over before another window takes over
    const Cells firstBefore = testing::cells(first_->document());
    const Cells secondBefore = testing::cells(second->document());

    gui::PhraseBuilderWindow* fromFirst = openBuilder(first_);
    fromFirst->close();
    gui::PhraseBuilderWindow* b = openBuilder(second);
    EXPECT_EQ(b, fromFirst);  // the same window, kept with its fields
    click(*b, {"note_A0", "addBtn", "setMain"});
    Cells expected = secondBefore;
    expected.push_back({17, 5});
    EXPECT_EQ(testing::cells(second->document()), expected);
    EXPECT_EQ(testing::cells(first_->document()), firstBefore);

    // The score's window goes away while the builder is open: nothing is sent anywhere.
    b = openBuilder(second);
    questions_.saveAnswers = {SaveChoice::Discard};
    second->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    click(*b, {"setMain"});
    EXPECT_TRUE(b->isVisible());
    EXPECT_FALSE(b->findChild<QLabel*>("message")->text().isEmpty());
    EXPECT_EQ(testing::cells(first_->document()), firstBefore);
}

TEST_F(PhraseMenu, WithoutAScoreInFrontTheUserIsToldSo) {
    ScoreWindow* second = newWindow();
    ASSERT_NE(second, nullptr);
    ASSERT_TRUE(makeKey(second));  // its activation is over before another window takes over
    gui::PhraseBuilderWindow* b = openBuilder(first_);
    ASSERT_NE(b, nullptr);
    // The builder itself in front is no score window: the builder keeps its score.
    ASSERT_TRUE(makeKey(b));
    trigger(second, "Phrase Builder");
    ASSERT_EQ(alerts_.shown.size(), 1u);
    EXPECT_EQ(alerts_.shown[0].text, "Please open or select the main window and try again");
    EXPECT_EQ(app_->delegate().rootDocument(), &first_->document());
    const Cells secondBefore = testing::cells(second->document());
    click(*b, {"note_D0", "addBtn", "setMain"});
    EXPECT_EQ(testing::cells(first_->document()).back(), (ScoreCell{7, 5}));
    EXPECT_EQ(testing::cells(second->document()), secondBefore);
}

}  // namespace
}  // namespace sorvel::test
