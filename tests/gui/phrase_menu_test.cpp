// Tools > Phrase Builder in the running application: the builder works for the score in
// front, sends its line there, and refuses to run without a score (appending the line and
// showing line one are the core's).
#include <QLabel>

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

    ScoreWindow* first_ = nullptr;
};

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
