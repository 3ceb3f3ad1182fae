// A score window plays its score: the play button, Space and the Score menu start and stop it,
// the count-in and the notes reach the window's sound output, and the metronome and volume
// preferences reach playback.
#include "score_playback.h"

#include <QCheckBox>
#include <QComboBox>
#include <QSlider>

#include "../core/fake_clock.h"
#include "model/diagnostics.h"
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

void choose(ScoreWindow& w, const char* combo, const char* text) {
    auto* box = w.findChild<QComboBox*>(QString::fromLatin1(combo));
    ASSERT_NE(box, nullptr) << combo;
    const int i = box->findText(QString::fromLatin1(text));
    ASSERT_GE(i, 0) << combo << " has no " << text;
    // As a user's choice does.
    box->setCurrentIndex(i);
    emit box->activated(i);
}

// Zero crossings in `frames` frames from `start`: about 2 f t for a sine.
int crossings(const std::vector<float>& s, std::size_t start, std::size_t frames) {
    int n = 0;
    for (std::size_t i = start + 1; i < std::min(start + frames, s.size()); ++i) {
        if ((s[i - 1] < 0.0f) != (s[i] < 0.0f)) ++n;
    }
    return n;
}

class ScorePlaybackTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setDiagnosticSink([](std::string_view) {});
        made_ = makeWindow();
        w().setPlaybackContext(&alerts_, [this] { return exercise_; });
    }
    void TearDown() override {
        made_.window.reset();
        setDiagnosticSink({});
    }
    ScoreWindow& w() { return *made_.window; }
    // Two eighth notes, A4 and B4 of the entry staff's table, from the first cell.
    void writeScore() { testing::givenScore().cells({{10, 7}, {12, 7}}).applyTo(w().document()); }
    bool waitIdle(int ms = 3000) {
        return QTest::qWaitFor([&] { return !w().playback().playing(); }, ms);
    }

    WindowWithSound made_;
    testing::FakeAlerts alerts_;
    bool exercise_ = false;
};

TEST_F(ScorePlaybackTest, ThePlayButtonCountsInThenPlaysTheNotesAndShowsItsState) {
    writeScore();
    choose(w(), "cmbTempo", "240");
    choose(w(), "cmbBeat", "2");
    QPushButton* button = playButton(w());
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), kIdle);
    button->click();
    EXPECT_EQ(button->text(), kPlaying);
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(button->text(), kIdle);
    ASSERT_EQ(alerts_.shown.size(), 1u);
    EXPECT_EQ(alerts_.shown[0].text, "end");

    ASSERT_EQ(made_.audio->programs.size(), 1u);
    const std::vector<float> sound = made_.audio->renderRun(0);
    const double rate = made_.audio->outputFormat().sampleRate;
    const std::vector<float>& table = testing::frequencies(w().document());
    const auto beat = static_cast<std::size_t>(frameCount(rate, 0.25f));
    const auto note = static_cast<std::size_t>(frameCount(rate, noteSeconds(7, 240)));
    const struct {
        float hz;
        std::size_t start, frames;  // clicks sound for 20 ms only; the notes throughout
    } expected[] = {
        {kFirstBeatClickHz, 0, frameCount(rate, kClickSeconds)},
        {kBeatClickHz, beat, frameCount(rate, kClickSeconds)},
        {table.at(10), 2 * beat, note},
        {table.at(12), 2 * beat + note, note},
    };
    ASSERT_EQ(sound.size(), 2 * beat + 2 * note);
    for (const auto& e : expected) {
        SCOPED_TRACE(e.hz);
        const double wanted = 2.0 * e.hz * static_cast<double>(e.frames) / rate;
        EXPECT_NEAR(crossings(sound, e.start, e.frames), wanted, 2.0);
    }
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
    if (!chord) chord = w().findChild<QLineEdit*>();
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

    choose(w(), "cmbTempo", "240");
    choose(w(), "cmbBeat", "2");
    exercise_ = true;
    playButton(w())->click();
    EXPECT_FALSE(message->isVisible());
    // Count-in 0.5 s and the line of 0.25 s, then it goes round: still playing after 1.2 s.
    QTest::qWait(1200);
    EXPECT_TRUE(w().playback().playing());
    EXPECT_TRUE(made_.audio->programs.at(0).program->loops());
    playButton(w())->click();
    ASSERT_TRUE(waitIdle());
    EXPECT_TRUE(alerts_.shown.empty());
}

// The output's clock stands still until the test moves it to each entry's start; the window
// marks the cell heard and turns its staves to it, leaving the selection where it was.
TEST(ScorePlaybackCursor, TheSoundingCellIsMarkedAndTheStavesFollowIt) {
    setDiagnosticSink([](std::string_view) {});
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
    const struct {
        std::size_t entry;
        std::int64_t top, row, column;
    } steps[] = {{0, 1, 2, 3}, {1, 1, 2, 4}, {77, 1, 3, 40}, {78, 4, 1, 1}};
    for (const auto& s : steps) {
        SCOPED_TRACE(s.entry);
        clock.advanceTo(t0 +
                        static_cast<double>(program.entryStart(s.entry)) / program.sampleRate());
        const std::int64_t cell = 42 + static_cast<std::int64_t>(s.entry);
        ASSERT_TRUE(QTest::qWaitFor([&] { return w.playback().soundingCell() == cell; }, 2000));
        EXPECT_EQ(w.document().pages().topPage(), s.top);
        EXPECT_EQ(colourOf(static_cast<int>(s.row), s.column), sounding);
        EXPECT_NE(colourOf(static_cast<int>(s.row), s.column == 1 ? 2 : s.column - 1), sounding);
    }
    EXPECT_FALSE(w.findChild<gui::PointerWidget*>()->isVisible())
        << "the selection is off the staves";
    clock.advance(100.0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.playback().playing(); }, 2000));
    EXPECT_EQ(w.document().selStart(), 42);
    EXPECT_EQ(w.document().pages().topPage(), 2);
    EXPECT_TRUE(w.findChild<gui::PointerWidget*>()->isVisible());
    EXPECT_EQ(alerts.shown.size(), 1u);
    setDiagnosticSink({});
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

}  // namespace
}  // namespace sorvel::test
