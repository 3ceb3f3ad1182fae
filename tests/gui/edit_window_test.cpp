// Editing through the real score window: the entry cell's matrices, the cell buttons, chord
// fields, transposition, the tone of a pitch step, and undo/redo through the Edit menu.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <cmath>
#include <vector>

#include "../core/app_test_ports.h"
#include "../core/capturing_audio_output.h"
#include "app/settings.h"
#include "edit/undo_history.h"
#include "score_window.h"
#include "sorvel_application.h"
#include "staff_widget.h"
#include "test_support.h"

using sorvel::Document;
using sorvel::ScoreCell;
using sorvel::gui::PortOverrides;
using sorvel::gui::ScoreLayout;
using sorvel::gui::ScoreWindow;
using sorvel::gui::SorvelApplication;
using sorvel::test::clickButton;
using sorvel::test::labelText;
using sorvel::test::menuAction;
using sorvel::testing::CapturingAudioOutput;

namespace {

using Cells = std::vector<ScoreCell>;

struct WindowWithSound {
    std::unique_ptr<ScoreWindow> window;
    CapturingAudioOutput* audio = nullptr;  // owned by the window
};

WindowWithSound makeWindow() {
    auto audio = std::make_unique<CapturingAudioOutput>();
    WindowWithSound out;
    out.audio = audio.get();
    out.window = std::make_unique<ScoreWindow>(std::make_unique<Document>(),
                                               sorvel::test::setFolder(), std::move(audio));
    out.window->show();
    out.window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(out.window.get()));
    return out;
}

// Clicks the named buttons in order; fails the test for a missing one.
void click(QWidget& w, std::initializer_list<const char*> names) {
    for (const char* name : names) ASSERT_TRUE(clickButton(w, name)) << name;
}

void fillScore(Document& d, const Cells& cells) {
    d.musicData = cells;
    d.showPage(1);
}

// Centre of a cell of a staff row in the staff widget's coordinates.
QPoint cellCentre(int column) {
    return {(column - 1) * ScoreLayout::kStaffWidth / 40 + 15, ScoreLayout::kStaffHeight / 2};
}

void clickCell(ScoreWindow& w, int row, int column, bool shift = false) {
    QTest::mouseClick(w.staffWidget(row), Qt::LeftButton,
                      shift ? Qt::KeyboardModifiers(Qt::ShiftModifier) : Qt::KeyboardModifiers(),
                      cellCentre(column));
}

// Types text over the whole content of a field that has the keyboard.
void typeInto(QLineEdit* field, const QString& text) {
    ASSERT_NE(field, nullptr);
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, text);
}

// The three staves hold exactly the cells of the pages shown, blanks past the end.
void expectStavesShowScore(const Document& d) {
    for (int row = 1; row <= 3; ++row) {
        const sorvel::GosenView& staff = *d.staffOfRow(row);
        for (std::int64_t c = 0; c < staff.cellMax; ++c) {
            const std::int64_t index = d.startCell + (row - 1) * d.gosenCellMax + c;
            const ScoreCell want = index < static_cast<std::int64_t>(d.musicData.size())
                                       ? d.musicData[static_cast<std::size_t>(index)]
                                       : ScoreCell{0, 0};
            ASSERT_LT(c, static_cast<std::int64_t>(staff.musicData.size()));
            EXPECT_EQ(staff.musicData[static_cast<std::size_t>(c)], want)
                << "row " << row << " column " << c + 1;
        }
    }
}

// Largest difference between a channel and a full-scale sine of frequency f starting at
// phase 0.
double sineError(const std::vector<float>& samples, double f, double sampleRate) {
    double worst = 0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const double want = std::sin(2.0 * M_PI * f * static_cast<double>(i) / sampleRate);
        worst = std::max(worst, std::abs(samples[i] - want));
    }
    return worst;
}

}  // namespace

TEST(EditWindow, PitchMatrixStepsTheEntryAndQueuesAHalfSecondTone) {
    auto [w, audio] = makeWindow();
    Document& d = w->document();
    ASSERT_EQ(d.entryCell(), (ScoreCell{0, 0}));

    struct Step {
        const char* button;
        std::int64_t pitch;
        double hz;
    };
    // Default frequency table until the concert pitch is applied; then A1 = 442.
    const Step steps[] = {
        {"pitchMtx_4", 17, 440},  // octave up from A0
        {"pitchMtx_0", 18, 466},  // next pitch: A1#
        {"pitchMtx_1", 20, 493},  // next natural up: B1
        {"pitchMtx_2", 17, 440},  // next natural down: A1
        {"pitchMtx_3", 16, 415},  // previous pitch: A1b
        {"pitchMtx_2", 14, 392},  // natural below A1b's position: G0
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.button);
        const std::size_t before = audio->buffers.size();
        click(*w, {s.button});
        EXPECT_EQ(d.entryCell().noteIndex, s.pitch);
        EXPECT_EQ(d.gosenE.musicData[0].noteIndex, s.pitch) << "the entry staff shows it";
        ASSERT_EQ(audio->buffers.size(), before + 1) << "one tone per step";
        const sorvel::PcmBuffer& tone = audio->buffers.back();
        EXPECT_EQ(tone.frameLength, 22050u) << "0.5 s at 44.1 kHz";
        ASSERT_EQ(tone.channelData.size(), 2u);
        EXPECT_LT(sineError(tone.channelData[0], s.hz, 44100.0), 2e-3);
        EXPECT_EQ(tone.channelData[1], tone.channelData[0]);
    }
    EXPECT_EQ(d.musicData, (Cells{{0, 0}})) << "stepping the entry leaves the score alone";

    // A new concert pitch: the field is rewritten as an integer and the tones follow it.
    auto* aHz = w->findChild<QLineEdit*>("A_Hz");
    typeInto(aHz, "442.7");
    QTest::keyClick(aHz, Qt::Key_Return);
    EXPECT_EQ(aHz->text(), "442");
    EXPECT_EQ(d.A_Hz, "442");
    click(*w, {"pitchMtx_1"});  // G0 -> A1
    ASSERT_EQ(d.entryCell().noteIndex, 17);
    EXPECT_LT(sineError(audio->buffers.back().channelData[0], 442.0, 44100.0), 2e-3);
}

TEST(EditWindow, ValueButtonsSetTheEntryValueWithoutSound) {
    struct Case {
        std::vector<const char*> clicks;
        ScoreCell entry;
    };
    // Every case starts from the entry (17, 5), an A1 quarter note.
    const Case cases[] = {
        {{"onpMtx1_0_0"}, {17, 1}},
        {{"onpMtx1_0_5"}, {17, 11}},
        {{"onpMtx1_0_2", "onpMtx1_2_1"}, {17, 6}},  // dotted
        {{"onpMtx1_2_1", "onpMtx1_2_1"}, {17, 5}},  // dot and back
        {{"pitchMtx_0", "onpMtx1_1_2"}, {17, 17}},  // a rest resets the pitch
        {{"pitchMtx_0", "onpMtx1_1_0", "onpMtx1_2_1"}, {17, 14}},
        {{"pitchMtx_0", "onpMtx1_2_3"}, {17, 26}},  // repeat start mark
        {{"onpMtx1_2_0"}, {17, 0}},                 // blank keeps the pitch
        {{"onpMtx1_2_0", "onpMtx1_2_1"}, {17, 0}},  // a blank has no dotted form
        {{"Triplet"}, {17, 41}},
        {{"Triplet", "Triplet"}, {17, 5}},
        {{"onpMtx1_0_2", "onpMtx1_2_1", "Triplet"}, {17, 6}},  // dotted quarter: no triplet
        {{"onpMtx1_0_0", "tie"}, {17, 53}},
        {{"onpMtx1_0_0", "tie", "tie"}, {17, 1}},
        {{"onpMtx1_0_0", "onpMtx1_2_1", "tie"}, {17, 2}},  // dotted whole: no tie
    };
    auto [w, audio] = makeWindow();
    Document& d = w->document();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.clicks.front());
        d.entryCell() = ScoreCell{17, 5};
        audio->buffers.clear();
        for (const char* name : c.clicks) ASSERT_TRUE(clickButton(*w, name)) << name;
        EXPECT_EQ(d.entryCell(), c.entry);
        const bool pitchStep = std::string(c.clicks.front()).starts_with("pitchMtx");
        EXPECT_EQ(audio->buffers.size(), pitchStep ? 1u : 0u) << "only pitch steps sound";
    }
    EXPECT_EQ(d.musicData, (Cells{{0, 0}}));
}

TEST(EditWindow, UpdateInsertAddAndDeleteMoveTheSelection) {
    struct Step {
        std::vector<const char*> clicks;
        Cells score;
        std::int64_t selCol;
        ScoreCell entry;
    };
    // From a new score: one blank cell, the entry (0, 0), the pointer on (1, 1).
    const Step steps[] = {
        {{"pitchMtx_4", "onpMtx1_0_2", "btnUPDate"}, {{17, 5}}, 1, {17, 5}},
        // Add writes after the selected cell and selects the new cell.
        {{"onpMtx1_0_1", "btnADD"}, {{17, 5}, {17, 3}}, 2, {17, 3}},
        // Insert writes before it; the selection stays on the column, now the new cell.
        {{"pitchMtx_0", "btnIns"}, {{17, 5}, {18, 3}, {17, 3}}, 2, {18, 3}},
        {{"onpMtx1_1_3", "btnUPDate"}, {{17, 5}, {17, 19}, {17, 3}}, 2, {17, 19}},
        // Delete in the middle keeps the column, now showing the next cell.
        {{"btnDel"}, {{17, 5}, {17, 3}}, 2, {17, 3}},
        // Delete of the last cell moves one column left.
        {{"btnDel"}, {{17, 5}}, 1, {17, 5}},
        // A score of one cell is never emptied by Delete.
        {{"btnDel"}, {{17, 5}}, 1, {17, 5}},
        {{"pitchMtx_2", "btnADD"}, {{17, 5}, {14, 5}}, 2, {14, 5}},
    };
    auto [w, audio] = makeWindow();
    Document& d = w->document();
    int n = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE("step " + std::to_string(++n));
        for (const char* name : s.clicks) ASSERT_TRUE(clickButton(*w, name)) << name;
        EXPECT_EQ(d.musicData, s.score);
        EXPECT_EQ(d.selRow, 1);
        EXPECT_EQ(d.selCol, s.selCol);
        EXPECT_EQ(d.selColTo, s.selCol) << "a single cell stays selected";
        EXPECT_EQ(labelText(*w, "gosenCol"), QString::number(s.selCol));
        EXPECT_EQ(labelText(*w, "gosenColTo"), QString::number(s.selCol));
        EXPECT_EQ(d.entryCell(), s.entry);
        EXPECT_EQ(labelText(*w, "allP"), "1");
        expectStavesShowScore(d);
    }
}

TEST(EditWindow, RangeDeleteCanEmptyTheScoreAndTheButtonsStillWork) {
    auto [w, audio] = makeWindow();
    Document& d = w->document();
    Cells score;
    for (int i = 0; i < 45; ++i) score.push_back({i % 39, 1 + i % 12});
    fillScore(d, score);
    EXPECT_EQ(labelText(*w, "allP"), "2");

    // Cells 38..41 (row 1 column 39 to row 2 column 2).
    clickCell(*w, 1, 39);
    clickCell(*w, 2, 2, true);
    ASSERT_EQ(d.selStart(), 38);
    ASSERT_EQ(d.selEnd(), 41);
    click(*w, {"btnDel"});
    Cells want = score;
    want.erase(want.begin() + 38, want.begin() + 42);
    EXPECT_EQ(d.musicData, want);
    EXPECT_EQ(d.selRow, 1);
    EXPECT_EQ(d.selCol, 39);
    EXPECT_EQ(d.selRowTo, 1);
    EXPECT_EQ(d.selColTo, 39);
    EXPECT_EQ(d.entryCell(), want[38]);
    EXPECT_EQ(labelText(*w, "gosenRawTo"), "1");
    expectStavesShowScore(d);

    // Every cell.
    clickCell(*w, 1, 1);
    clickCell(*w, 2, 1, true);
    ASSERT_EQ(d.selEnd(), 40);
    click(*w, {"btnDel"});
    EXPECT_TRUE(d.musicData.empty());
    EXPECT_EQ(labelText(*w, "allP"), "0");
    expectStavesShowScore(d);
    // Nothing to delete or update; transposition has nothing to do.
    click(*w, {"btnDel", "btnUPDate", "transposeMtx_0", "transposeMtx_1"});
    EXPECT_TRUE(d.musicData.empty());

    // Insert and Add fill it again.
    d.entryCell() = ScoreCell{20, 3};
    click(*w, {"btnIns"});
    EXPECT_EQ(d.musicData, (Cells{{20, 3}}));
    EXPECT_EQ(labelText(*w, "allP"), "1");
    click(*w, {"onpMtx1_0_3", "btnADD"});
    EXPECT_EQ(d.musicData, (Cells{{20, 3}, {20, 7}}));
    EXPECT_EQ(d.selCol, 2);
    EXPECT_EQ(d.selColTo, 2);
    expectStavesShowScore(d);
}

TEST(EditWindow, TransposingTheWholeScoreTransposesTheChordFieldsWhenWithCodeIsOn) {
    auto [w, audio] = makeWindow();
    Document& d = w->document();
    fillScore(d, {{38, 5}, {1, 5}, {17, 17}, {17, 25}, {0, 0}, {3, 5}, {0, 7}});
    auto* cd1 = w->findChild<QLineEdit*>("cdText1");
    auto* cd2 = w->findChild<QLineEdit*>("cdText2");
    auto* cd3 = w->findChild<QLineEdit*>("cdText3");

    typeInto(cd2, "Bb7");
    w->scoreArea()->setFocus();  // editing of cdText2 ends
    EXPECT_EQ(d.codeData[1], "Bb7");
    // cdText1 still has the keyboard when the transposition button is clicked: what is
    // typed there counts.
    typeInto(cd1, "C G7");
    ASSERT_TRUE(cd1->hasFocus());
    w->findChild<QCheckBox*>("withCode")->click();
    ASSERT_TRUE(d.withCode);
    click(*w, {"transposeMtx_0"});

    const std::vector<std::string> chordsUp = {"C# G#7 ", "B7 ", std::string(8, ' ')};
    EXPECT_EQ(d.codeData, chordsUp);
    EXPECT_EQ(cd1->text(), "C# G#7 ");
    EXPECT_EQ(cd2->text(), "B7 ");
    EXPECT_EQ(cd3->text(), QString(8, ' '));
    // Rests, marks and blanks keep their pitch; C2 wraps to C0#.
    EXPECT_EQ(d.musicData, (Cells{{5, 5}, {3, 5}, {17, 17}, {17, 25}, {0, 0}, {4, 5}, {1, 7}}));
    expectStavesShowScore(d);

    // Without withCode the chords stay; down spells with flats, A0# wraps to A2.
    w->findChild<QCheckBox*>("withCode")->click();
    ASSERT_FALSE(d.withCode);
    click(*w, {"transposeMtx_1"});
    EXPECT_EQ(d.codeData, chordsUp);
    EXPECT_EQ(cd1->text(), "C# G#7 ");
    EXPECT_EQ(d.musicData, (Cells{{4, 5}, {2, 5}, {17, 17}, {17, 25}, {0, 0}, {3, 5}, {34, 7}}));
    expectStavesShowScore(d);
    EXPECT_EQ(d.selCol, 1) << "transposition leaves the selection";
}

TEST(EditWindow, TransposingARangeChangesOnlyItsCellsAndNoChords) {
    auto [w, audio] = makeWindow();
    Document& d = w->document();
    Cells score;
    for (int i = 0; i < 50; ++i) score.push_back({20, 5});
    fillScore(d, score);
    w->findChild<QCheckBox*>("withCode")->click();
    typeInto(w->findChild<QLineEdit*>("cdText1"), "Dm");
    clickCell(*w, 1, 40);  // ends the chord editing
    clickCell(*w, 2, 2, true);
    click(*w, {"transposeMtx_0"});
    EXPECT_EQ(d.codeData[0], "Dm") << "chords move only with the whole score";
    for (std::size_t i = 0; i < score.size(); ++i) {
        const bool inRange = i >= 39 && i <= 41;
        EXPECT_EQ(d.musicData[i], (ScoreCell{inRange ? 21 : 20, 5})) << i;
    }
    expectStavesShowScore(d);
    EXPECT_EQ(d.selColTo, 2) << "the range stays selected";
}

// ---- Undo and redo through the application's Edit menu ----------------------------------

namespace {

class EditUndo : public ::testing::Test {
  protected:
    void SetUp() override {
        settings_.values[sorvel::kFilePassKey] = sorvel::test::setFolder();
        PortOverrides ports;
        ports.alerts = &alerts_;
        ports.dialogs = &dialogs_;
        ports.settings = &settings_;
        ports.silent = true;
        app_ = std::make_unique<SorvelApplication>(
            QFileInfo(QString::fromStdString(sorvel::test::setFolder())).path(), ports);
    }
    void TearDown() override {
        app_.reset();
        EXPECT_TRUE(alerts_.shown.empty());
    }

    ScoreWindow* newWindow() {
        Document* doc = app_->newScoreDocument();
        return doc ? app_->windowOf(*doc) : nullptr;
    }
    static void trigger(ScoreWindow* w, const char* text) {
        QAction* action = menuAction(*w, QString::fromUtf8(text));
        ASSERT_NE(action, nullptr) << text;
        action->trigger();
    }

    sorvel::testing::FakeAlerts alerts_;
    sorvel::testing::FakeDialogs dialogs_;
    sorvel::testing::FakeSettings settings_;
    std::unique_ptr<SorvelApplication> app_;
};

}  // namespace

TEST_F(EditUndo, UndoAndRedoThroughTheEditMenuFollowTheEditsAcrossTwoWindows) {
    ScoreWindow* a = newWindow();
    ScoreWindow* b = newWindow();
    ASSERT_TRUE(a && b);
    Document& da = a->document();
    Document& db = b->document();

    click(*a, {"pitchMtx_4", "onpMtx1_0_2", "btnUPDate"});
    click(*b, {"onpMtx1_0_0", "btnADD"});
    const Cells aEdited = {{17, 5}};
    const Cells bEdited = {{0, 0}, {0, 1}};
    ASSERT_EQ(da.musicData, aEdited);
    ASSERT_EQ(db.musicData, bEdited);

    // The latest step first, whichever window's menu is used.
    trigger(a, "Undo");
    EXPECT_EQ(db.musicData, (Cells{{0, 0}}));
    EXPECT_EQ(da.musicData, aEdited);
    trigger(b, "Undo");
    EXPECT_EQ(da.musicData, (Cells{{0, 0}}));
    EXPECT_EQ(db.musicData, (Cells{{0, 0}}));
    expectStavesShowScore(da);
    expectStavesShowScore(db);
    trigger(a, "Undo");  // nothing left
    EXPECT_EQ(da.musicData, (Cells{{0, 0}}));

    trigger(b, "Redo");
    EXPECT_EQ(da.musicData, aEdited);
    EXPECT_EQ(db.musicData, (Cells{{0, 0}}));
    trigger(b, "Redo");
    EXPECT_EQ(db.musicData, bEdited);
    trigger(a, "Redo");  // nothing left
    EXPECT_EQ(da.musicData, aEdited);
    EXPECT_EQ(db.musicData, bEdited);
    expectStavesShowScore(da);
    expectStavesShowScore(db);
    EXPECT_EQ(labelText(*b, "allP"), "1");
}

TEST_F(EditUndo, UndoOfAnUpdateAfterThePageMovedKeepsTheStavesTrue) {
    ScoreWindow* w = newWindow();
    ASSERT_NE(w, nullptr);
    Document& d = w->document();
    Cells score;
    for (int i = 0; i < 100; ++i) score.push_back({i % 39, 1 + i % 12});
    fillScore(d, score);

    clickCell(*w, 1, 5);
    click(*w, {"pitchMtx_0", "btnUPDate"});
    Cells edited = score;
    edited[4].noteIndex += 1;
    ASSERT_EQ(d.musicData, edited);

    click(*w, {"btnPageDown"});
    ASSERT_EQ(labelText(*w, "pGosen1"), "2");
    trigger(w, "Undo");
    EXPECT_EQ(d.musicData, score);
    expectStavesShowScore(d);  // column 5 of the top staff still shows cell 44
    trigger(w, "Redo");
    EXPECT_EQ(d.musicData, edited);
    expectStavesShowScore(d);
    click(*w, {"btnPageUp"});
    ASSERT_EQ(labelText(*w, "pGosen1"), "1");
    EXPECT_EQ(d.gosen1.musicData[4], edited[4]);
}

TEST_F(EditUndo, ClosingAWindowDropsItsStepsAndUndoGoesOnInTheOther) {
    ScoreWindow* a = newWindow();
    QPointer<ScoreWindow> b = newWindow();
    ASSERT_TRUE(a && b);
    Document& da = a->document();
    click(*a, {"pitchMtx_4", "onpMtx1_0_2", "btnUPDate"});
    click(*b, {"onpMtx1_0_0", "btnADD", "btnADD"});
    ASSERT_EQ(app_->delegate().undoHistory().undoStepCount(), 3u);

    trigger(b, "Close");
    // The window goes when the event loop next runs.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(b.isNull());
    EXPECT_EQ(app_->scoreWindows().size(), 1);
    EXPECT_EQ(app_->delegate().undoHistory().undoStepCount(), 1u);

    trigger(a, "Undo");
    EXPECT_EQ(da.musicData, (Cells{{0, 0}}));
    trigger(a, "Undo");
    EXPECT_EQ(da.musicData, (Cells{{0, 0}}));
    trigger(a, "Redo");
    EXPECT_EQ(da.musicData, (Cells{{17, 5}}));
    EXPECT_FALSE(app_->delegate().undoHistory().canRedo());
    expectStavesShowScore(da);
}
