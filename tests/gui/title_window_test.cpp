// The title window opened from the About item: a framed window that does not stay above the
// others and closes on Escape.
#include <QApplication>

#include "test_support.h"

namespace sorvel::test {
namespace {

QWidget* titleWindow() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QLatin1String("titleWindow")) return w;
    }
    return nullptr;
}

TEST_F(AppTest, TheAboutWindowHasAFrameStaysBehindOthersAndClosesOnEscape) {
    ScoreWindow* w = newWindow();
    ASSERT_NE(w, nullptr);
    for (int round = 0; round < 2; ++round) {  // opened again after closing
        SCOPED_TRACE(round);
        trigger(w, "About Sorvel Score");
        QWidget* title = titleWindow();
        ASSERT_NE(title, nullptr);
        ASSERT_TRUE(title->isVisible());
        const Qt::WindowFlags flags = title->windowFlags();
        EXPECT_FALSE(flags.testFlag(Qt::WindowStaysOnTopHint));
        EXPECT_FALSE(flags.testFlag(Qt::FramelessWindowHint));
        EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
        ASSERT_TRUE(QTest::qWaitForWindowActive(title));
        QTest::keyClick(title, Qt::Key_Escape);
        EXPECT_FALSE(title->isVisible());
    }
}

}  // namespace
}  // namespace sorvel::test
