// A score window's playback shown on its widgets, driven by the real player and clock.
#include "playback_view.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "../core/app_test_ports.h"
#include "../core/edit_test_document.h"
#include "model/diagnostics.h"
#include "model/notation_tables.h"
#include "qt_clock.h"
#include "sound/tone.h"

namespace sorvel::gui {
namespace {

TEST(PlaybackView, TheButtonMessageAndAlertFollowPlayback) {
    setDiagnosticSink([](std::string_view) {});
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
    const std::vector<ScoreCell> cells = {{17, 11}};  // one thirty-second note
    const std::vector<float> table(tables::freqArr.begin(), tables::freqArr.end());
    player.playAll({.cells = &cells, .freqArr = &table, .tempoText = "tempo"});
    EXPECT_TRUE(message->isVisible());
    EXPECT_FALSE(message->text().isEmpty());
    EXPECT_EQ(button->text(), QStringLiteral("▶︎"));

    player.playAll({.cells = &cells, .freqArr = &table, .tempoText = "1000", .beatsText = "2"});
    EXPECT_FALSE(message->isVisible());
    EXPECT_EQ(button->text(), QStringLiteral("■"));
    // Two clicks and a thirty-second note at 1000 per minute: about 0.13 s.
    EXPECT_TRUE(QTest::qWaitFor([&] { return player.idle(); }, 2000));
    EXPECT_EQ(button->text(), QStringLiteral("▶︎"));
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_EQ(alerts.shown[0].text, "end");
    EXPECT_EQ(output.programs.at(0).program->length(),
              2 * frameCount(8000, 60.0f / 1000.0f) + frameCount(8000, noteSeconds(11, 1000)));
    setDiagnosticSink({});
}

}  // namespace
}  // namespace sorvel::gui
