// A score window plays its score: the play button, Space and the Score menu start and stop it,
// the count-in and the notes reach the window's sound output, and the metronome and volume
// preferences reach playback. And the main thread's clock it runs on: one-shot timers in time
// order, and cancelling.
#include "score_playback.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QSlider>

#include "../core/fake_clock.h"
#include "sound/tone.h"
#include "sound_output.h"
#include "test_support.h"

namespace sorvel::test {
namespace {

const QString kIdle = QStringLiteral("▶︎");
const QString kPlaying = QStringLiteral("■");

QPushButton* playButton(ScoreWindow& w) {
    return w.findChild<QPushButton*>(QStringLiteral("playBtn"));
}

class ScorePlaybackTest : public ::testing::Test {
  protected:
    void SetUp() override {
        made_ = makeWindow();
        w().setPlaybackContext(&alerts_, [this] { return exercise_; });
    }
    void TearDown() override { made_.window.reset(); }
    ScoreWindow& w() { return *made_.window; }
    // Two eighth notes, A4 and B4 of the entry staff's table, from the first cell.
    void writeScore() { testing::givenScore().cells({{10, 7}, {12, 7}}).applyTo(w().document()); }
    void chooseTempo240() {
        auto* tempo = w().findChild<QComboBox*>(QStringLiteral("cmbTempo"));
        choose(w(), "cmbTempo", tempo ? tempo->findText(QStringLiteral("240")) : -1);
    }
    bool waitIdle(int ms = 3000) {
        return QTest::qWaitFor([&] { return !w().playback().playing(); }, ms);
    }

    testing::DiagCapture quiet_;
    WindowWithSound made_;
    testing::FakeAlerts alerts_;
    bool exercise_ = false;
};

TEST_F(ScorePlaybackTest, ThePlayButtonCountsInThenPlaysTheNotesAndShowsItsState) {
    writeScore();
    chooseTempo240();
    QPushButton* button = playButton(w());
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), kIdle);
    button->click();
    EXPECT_EQ(button->text(), kPlaying);
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(button->text(), kIdle);
    ASSERT_EQ(alerts_.shown.size(), 1u);
    EXPECT_EQ(alerts_.shown[0].text, "end");
    // What it sounds is the player's; here it reaches the window's output.
    EXPECT_EQ(made_.audio->programs.size(), 1u);
}

TEST_F(ScorePlaybackTest, SpaceStartsAndStopsButNotInAChordField) {
    writeScore();
    QPushButton* button = playButton(w());
    QTest::keyClick(w().scoreArea(), Qt::Key_Space);
    EXPECT_EQ(button->text(), kPlaying);
    // Stopped during the count-in: the first beat ends the sound, and no end alert.
    QTest::keyClick(w().scoreArea(), Qt::Key_Space);
    EXPECT_EQ(button->text(), kIdle);
    ASSERT_TRUE(waitIdle());
    EXPECT_TRUE(alerts_.shown.empty());
    EXPECT_LE(made_.audio->programs.at(0).end, frameCount(48000, 0.5f));

    auto* chord = w().findChild<QLineEdit*>(QStringLiteral("cdText1"));
    ASSERT_NE(chord, nullptr);
    chord->setFocus();
    QTest::keyClick(chord, Qt::Key_Space);
    EXPECT_EQ(button->text(), kIdle);
    EXPECT_FALSE(w().playback().playing());
}

TEST_F(ScorePlaybackTest, NoTempoChosenSaysWhyAndExerciseModeLoopsUntilStopped) {
    writeScore();
    // A score file whose tempo the list does not have.
    w().document().chooseTempo(-1);
    playButton(w())->click();
    EXPECT_FALSE(w().playback().playing());
    auto* message = w().findChild<QLabel*>(QStringLiteral("playMessage"));
    ASSERT_NE(message, nullptr);
    EXPECT_TRUE(message->isVisible());
    EXPECT_FALSE(message->text().isEmpty());

    chooseTempo240();
    exercise_ = true;
    playButton(w())->click();
    EXPECT_FALSE(message->isVisible());
    EXPECT_TRUE(made_.audio->programs.at(0).program->loops());
    playButton(w())->click();
    ASSERT_TRUE(waitIdle());
    EXPECT_TRUE(alerts_.shown.empty());
}

// The output's clock stands still until the test moves it to each entry's start; the window
// marks the cell heard and turns its staves to it, leaving the selection where it was.
TEST(ScorePlaybackCursor, TheSoundingCellIsMarkedAndTheStavesFollowIt) {
    testing::DiagCapture quiet;
    testing::FakeClock clock;
    WindowWithSound made = makeWindow(&clock);
    ScoreWindow& w = *made.window;
    testing::FakeAlerts alerts;
    w.setPlaybackContext(&alerts, [] { return false; });
    std::vector<ScoreCell> eighths;
    for (int i = 0; i < 130; ++i) eighths.push_back({10 + i % 12, 7});
    testing::givenScore().cells(eighths).selected({2, 3}).applyTo(w.document());  // cell 42
    const double t0 = clock.now();
    w.togglePlayback();
    const PlayProgram& program = *made.audio->programs.at(0).program;
    auto colourOf = [&](int row, std::int64_t column) {
        const QImage shot = w.staffWidget(row)->grab().toImage();
        const int cell = shot.width() / 40;
        return shot.pixelColor(static_cast<int>(column - 1) * cell + cell - 4, shot.height() - 8);
    };
    const QColor sounding(kSoundingCellColor.r, kSoundingCellColor.g, kSoundingCellColor.b);
    // Entry 78 is cell 120, the first of page 4 (which page when is the core's).
    clock.advanceTo(t0 + static_cast<double>(program.entryStart(78)) / program.sampleRate());
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.playback().soundingCell() == 120; }, 2000));
    EXPECT_EQ(w.document().pages().topPage(), 4);
    EXPECT_EQ(colourOf(1, 1), sounding);
    EXPECT_NE(colourOf(1, 2), sounding);
    EXPECT_FALSE(w.findChild<gui::PointerWidget*>()->isVisible())
        << "the selection is off the staves";
    clock.advance(100.0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.playback().playing(); }, 2000));
    EXPECT_EQ(w.document().selStart(), 42);
    EXPECT_EQ(w.document().pages().topPage(), 2);
    EXPECT_TRUE(w.findChild<gui::PointerWidget*>()->isVisible());
    EXPECT_EQ(alerts.shown.size(), 1u);
}

class PlaybackMenuTest : public AppTest {};

TEST_F(PlaybackMenuTest, TheScoreMenuPlaysAndStopsAndClosingAPlayingWindowIsSafe) {
    ScoreWindow* w = newWindow();
    ASSERT_NE(w, nullptr);
    testing::givenScore().cells({{10, 1}}).applyTo(w->document());  // a whole note: 2 s at 120
    QAction* play = w->menuBar()->findChild<QAction*>(QStringLiteral("mnPlay"));
    ASSERT_NE(play, nullptr);
    EXPECT_TRUE(play->text().startsWith(QStringLiteral("Play")));
    EXPECT_TRUE(play->text().endsWith(QStringLiteral("\tSpace")));
    play->trigger();
    EXPECT_TRUE(w->playback().playing());
    EXPECT_EQ(playButton(*w)->text(), kPlaying);
    auto* scoreMenu = w->menuBar()->findChild<QMenu*>(QStringLiteral("scoreMenu"));
    ASSERT_NE(scoreMenu, nullptr);
    emit scoreMenu->aboutToShow();
    EXPECT_TRUE(play->text().startsWith(QStringLiteral("Stop")));
    play->trigger();
    EXPECT_EQ(playButton(*w)->text(), kIdle);

    // A second window plays while the first is closed in the middle of its count-in.
    ScoreWindow* other = newWindow();
    ASSERT_NE(other, nullptr);
    other->togglePlayback();
    w->togglePlayback();
    QPointer<ScoreWindow> closing(w);
    w->close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return closing.isNull(); }, 2000));
    EXPECT_TRUE(other->playback().playing());
    other->togglePlayback();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !other->playback().playing(); }, 3000));

    // The metronome item and the volume reach Preferences, the settings and the next start.
    QAction* metronome = other->menuBar()->findChild<QAction*>(QStringLiteral("mnMetronome"));
    ASSERT_NE(metronome, nullptr);
    metronome->trigger();
    auto* prefs = app_->preferencesWindow();
    EXPECT_TRUE(prefs->findChild<QCheckBox*>(QStringLiteral("prefMetronome"))->isChecked());
    EXPECT_EQ(settings_.values["metronome"], "1");
    testing::givenScore().cells({{10, 1}}).applyTo(other->document());
    other->togglePlayback();
    const PlayProgram* program = other->playback().player().program();
    std::vector<float> click(100);
    program->render(program->countInFrames(), click.data(), click.size(), 1, program->length());
    EXPECT_NE(click[50], 0.0f) << "a click after the count-in";
    other->togglePlayback();
    prefs->findChild<QSlider*>(QStringLiteral("prefVolume"))->setValue(40);
    EXPECT_EQ(settings_.values["volume"], "40");
    EXPECT_FLOAT_EQ(gui::SoundOutput::volume(), 0.4f);
    prefs->findChild<QSlider*>(QStringLiteral("prefVolume"))->setValue(100);
}

// Runs the event loop until the condition holds or the time is up.
bool spinUntil(const std::function<bool()>& done, qint64 ms = 2000) {
    QElapsedTimer guard;
    guard.start();
    while (!done() && guard.elapsed() < ms) {
        QTest::qWait(1);
    }
    return done();
}

TEST(QtClock, TimersFireOnceInTimeOrderAndNotBeforeTheirTime) {
    gui::QtClock clock;
    const double t0 = clock.now();
    std::vector<std::pair<int, double>> fired;
    auto at = [&](int tag) { return [&, tag] { fired.emplace_back(tag, clock.now()); }; };
    // Far enough behind the chained timer that a loaded machine's lateness cannot swap them.
    clock.schedule(0.200, at(3));
    const auto cancelled = clock.schedule(0.020, at(99));
    clock.schedule(0.010, at(1));
    clock.schedule(-5.0, at(0));  // a delay in the past fires at once
    // A callback that arms the next timer, as playback does.
    clock.schedule(0.015, [&] {
        fired.emplace_back(2, clock.now());
        clock.schedule(0.010, at(4));
    });
    clock.cancel(cancelled);
    clock.cancel(12345);  // unknown ids are ignored
    ASSERT_TRUE(spinUntil([&] { return fired.size() == 5; }));
    spinUntil([] { return false; }, 100);  // nothing else arrives later
    ASSERT_EQ(fired.size(), 5u);
    const int order[] = {0, 1, 2, 4, 3};
    const double due[] = {0.0, 0.010, 0.015, 0.025, 0.200};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(fired[i].first, order[i]) << i;
        EXPECT_GE(fired[i].second - t0, due[i] - 1e-4) << fired[i].first;
    }
    EXPECT_EQ(clock.pendingTimers(), 0u);
}

TEST(QtClock, TimersOfAClockThatIsGoneNeverFire) {
    int fired = 0;
    {
        gui::QtClock clock;
        clock.schedule(0.001, [&] { ++fired; });
    }
    spinUntil([] { return false; }, 50);
    EXPECT_EQ(fired, 0);
}

}  // namespace
}  // namespace sorvel::test
