// A score window's playback shown on its widgets, driven by the real player and clock.
#include "playback_view.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "../core/fakes.h"
#include "model/diagnostics.h"
#include "model/notation_tables.h"
#include "qt_clock.h"
#include "sound/tone.h"

namespace sorvel::gui {
namespace {

TEST(PlaybackView, TheButtonMessageAndAlertFollowPlayback) {
    testing::DiagCapture quiet;
    QWidget window;
    auto* button = new QPushButton(QStringLiteral("▶︎"), &window);
    auto* message = new QLabel(&window);
    window.show();
    testing::FakeAlerts alerts;
    PlaybackView view(button, message, alerts);
    EXPECT_FALSE(message->isVisible());

    QtClock clock;
    testing::CapturingAudioOutput output({8000, 1}, &clock);
    ScorePlayer player(output, clock, view);
    Score score{{{17, 11}}, {}, {}};  // one thirty-second note, no tempo chosen
    score.settings.tempo = -1;
    const std::vector<float> table(tables::freqArr.begin(), tables::freqArr.end());
    player.playAll({.score = &score, .freqArr = &table});
    EXPECT_TRUE(message->isVisible());
    EXPECT_FALSE(message->text().isEmpty());
    EXPECT_EQ(button->text(), QStringLiteral("▶︎"));

    score.settings.tempo = 9;  // 240
    score.settings.beat = 2;   // 2
    player.playAll({.score = &score, .freqArr = &table});
    EXPECT_FALSE(message->isVisible());
    EXPECT_EQ(button->text(), QStringLiteral("■"));
    // Two clicks and a thirty-second note at 240 per minute: about 0.53 s.
    EXPECT_TRUE(QTest::qWaitFor([&] { return player.idle(); }, 2000));
    EXPECT_EQ(button->text(), QStringLiteral("▶︎"));
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_EQ(alerts.shown[0].text, "end");
    EXPECT_EQ(output.programs.at(0).program->length(),
              2 * frameCount(8000, 60.0f / 240.0f) + frameCount(8000, noteSeconds(11, 240)));
}

}  // namespace
}  // namespace sorvel::gui
