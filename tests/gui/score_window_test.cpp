// The real score window: its controls mirror the document, and clicks, buttons, fields and
// combo boxes reach it; Qt key events become the key codes of its tables; it fits a small
// screen at every zoom; and the keyboard map reads the key logic's own table.
#include <QCheckBox>
#include <QImage>
#include <QKeyEvent>
#include <optional>
#include <set>

#include "key_mapping.h"
#include "keyboard_map_window.h"
#include "model/notation_tables.h"
#include "test_support.h"

namespace sorvel::test {
namespace {

using namespace sorvel::testing;
using testing::Selection;  // the test builder's, not the key logic's

TEST(ScoreWindow, ItsControlsMirrorTheNewDocument) {
    auto [w, audio] = makeWindow();
    QString labels;
    for (const char* name : {"pGosen1", "pGosen2", "pGosen3", "allP", "gosenRaw", "gosenCol",
                             "gosenRawTo", "gosenColTo"}) {
        labels += labelText(*w, name);
    }
    EXPECT_EQ(labels, "12311111");
    EXPECT_EQ(w->findChild<QLineEdit*>("A_Hz")->text(), "440");
    EXPECT_EQ(w->findChild<QLineEdit*>("cdText2")->text(), QString(7, ' '));
    for (auto [combo, text] : {std::pair{"cmbTempo", "120"}, {"cmbInKey", "C"}, {"cmbBeat", "4"}})
        EXPECT_EQ(w->findChild<QComboBox*>(combo)->currentText(), text) << combo;
    auto* images = w->findChild<QComboBox*>("imgCombo");
    ASSERT_GE(images->count(), 2) << "image sets of the set folder";
    EXPECT_EQ(images->currentText().toStdString(), w->document().imageSet());
    const QRect pointer = w->findChild<QWidget*>("celPointer")->geometry();
    EXPECT_EQ(pointer, QRect(w->staffWidget(1)->geometry().topLeft(),
                             QSize(30, 140 + ScoreLayout::kStaffHeadroom)));
}

TEST(ScoreWindow, ClicksSelectCellsThatArePaintedYellowAndPagesMoveOneStaff) {
    auto [w, audio] = makeWindow();
    Document& d = w->document();
    Cells score;
    for (int i = 0; i < 81; ++i) score.push_back({i % 5, 1 + i % 12});  // low glyphs
    givenScore().cells(score).applyTo(d);
    EXPECT_EQ(labelText(*w, "allP"), "3");

    clickCell(*w, 2, 5);
    EXPECT_EQ(selection(d).from, (Pos{2, 5}));
    EXPECT_EQ(labelText(*w, "gosenRaw") + labelText(*w, "gosenCol"), "25");
    EXPECT_EQ(entry(d), score[44]);
    EXPECT_EQ(w->findChild<QWidget*>("celPointer")->geometry().topLeft(),
              w->staffWidget(2)->geometry().topLeft() + QPoint(4 * 30, 0));
    // A Shift-click extends the selection (where its ends go is the core's).
    clickCell(*w, 2, 9, true);
    EXPECT_EQ(labelText(*w, "gosenColTo"), "9");

    auto colourAt = [&](int row, int column) {
        const QImage shot = w->staffWidget(row)->grab().toImage();
        const double dpr = shot.devicePixelRatio();
        return shot.pixelColor(qRound(((column - 1) * 30 + 2) * dpr), qRound(4 * dpr));
    };
    EXPECT_EQ(colourAt(2, 4), QColor(Qt::white));
    EXPECT_EQ(colourAt(2, 5), QColor(Qt::yellow));
    EXPECT_EQ(colourAt(2, 9), QColor(Qt::yellow));
    EXPECT_EQ(colourAt(2, 10), QColor(Qt::white));

    click(*w, {"btnPageDown"});
    EXPECT_EQ(labelText(*w, "pGosen1") + labelText(*w, "pGosen3"), "24");
    EXPECT_EQ(staffCells(d, 1)[0], score[40]);
    click(*w, {"btnPageUp"});
    EXPECT_EQ(labelText(*w, "pGosen1"), "1");
}

TEST(ScoreWindow, ButtonsDriveTheEntryCellAndTheScore) {
    const struct {
        std::vector<const char*> clicks;
        ScoreCell entry;
        Cells score;
        std::int64_t column;  // selected, start and end
        bool sounds;
    } steps[] = {
        // One button of each family, from a new score: one blank cell, the entry (0, 0), the
        // pointer on (1, 1). What each row and column does is the core's.
        {{"pitchMtx_4"}, {17, 0}, {{0, 0}}, 1, true},  // octave up
        {{"onpMtx1_0_2"}, {17, 5}, {{0, 0}}, 1, false},
        {{"Triplet"}, {17, 41}, {{0, 0}}, 1, false},
        {{"Triplet", "tie"}, {17, 55}, {{0, 0}}, 1, false},
        {{"tie", "btnUPDate"}, {17, 5}, {{17, 5}}, 1, false},
        // Add writes after the selected cell and selects it; Insert writes before it.
        {{"onpMtx1_0_1", "btnADD"}, {17, 3}, {{17, 5}, {17, 3}}, 2, false},
        {{"onpMtx1_1_0", "btnIns"}, {17, 13}, {{17, 5}, {17, 13}, {17, 3}}, 2, false},
        {{"btnDel"}, {17, 3}, {{17, 5}, {17, 3}}, 2, false},  // the next cell moves up
    };
    auto [w, audio] = makeWindow();
    Document& d = w->document();
    int n = 0;
    for (const auto& s : steps) {
        SCOPED_TRACE("step " + std::to_string(++n));
        const std::size_t tones = audio->buffers.size();
        for (const char* name : s.clicks) click(*w, {name});
        EXPECT_EQ(entry(d), s.entry);
        EXPECT_EQ(staffCells(d, 0)[0], s.entry) << "the entry staff shows it";
        EXPECT_EQ(cells(d), s.score);
        EXPECT_EQ(selection(d), (testing::Selection{{1, s.column}, {1, s.column}}));
        const QString column = QString::number(s.column);
        EXPECT_EQ(labelText(*w, "gosenCol") + labelText(*w, "gosenColTo"), column + column);
        EXPECT_EQ(staffMismatch(d), "");
        // Only steps sound (at which frequency is the core's).
        EXPECT_EQ(audio->buffers.size(), tones + (s.sounds ? 1 : 0));
    }
}

TEST(ScoreWindow, ChordFieldsAndTranspositionReachTheDocument) {
    auto [w, audio] = makeWindow();
    Document& d = w->document();
    givenScore().cells({{38, 5}, {1, 5}, {17, 17}}).applyTo(d);
    auto field = [&](int i) { return w->findChild<QLineEdit*>(QStringLiteral("cdText%1").arg(i)); };

    typeInto(*w, "cdText2", "Bb7");
    EXPECT_EQ(chordFields(d)[1], "Bb7");
    w->scoreArea()->setFocus();  // editing ends: the line is stored
    EXPECT_EQ(chordLines(d)[1], "Bb7");
    // cdText1 still has the keyboard when the transposition button is clicked: what is
    // typed there counts.
    typeInto(*w, "cdText1", "C G7");
    ASSERT_TRUE(field(1)->hasFocus());
    w->findChild<QCheckBox*>("withCode")->click();
    ASSERT_TRUE(chordsTransposeAlong(d));
    click(*w, {"transposeMtx_0"});
    const std::vector<std::string> chordsUp = {"C# G#7 ", "B7 ", std::string(8, ' ')};
    EXPECT_EQ(chordLines(d), chordsUp);
    EXPECT_EQ(field(1)->text() + "|" + field(2)->text(), "C# G#7 |B7 ");
    EXPECT_EQ(cells(d), (Cells{{5, 5}, {3, 5}, {17, 17}}));
    EXPECT_EQ(staffMismatch(d), "");
    // Without withCode the chords stay.
    w->findChild<QCheckBox*>("withCode")->click();
    click(*w, {"transposeMtx_1"});
    EXPECT_EQ(chordLines(d), chordsUp);
    EXPECT_EQ(cells(d), (Cells{{4, 5}, {2, 5}, {17, 17}}));

    // The settings' combo boxes and the reference pitch are the saving and focus tests'.
}

// A key acts on its release only when it was pressed in the score window: the Return that
// closed a dialog, or a letter that chose a menu item, arrives here as a lone release.
TEST(ScoreWindow, OnlyKeysPressedInTheWindowActOnRelease) {
    auto [w, audio] = makeWindow();
    w->scoreArea()->setFocus();
    Document& d = w->document();

    QKeyEvent loneRelease(QEvent::KeyRelease, Qt::Key_G, Qt::NoModifier, QStringLiteral("g"));
    QApplication::sendEvent(w->scoreArea(), &loneRelease);
    EXPECT_EQ(entry(d), (ScoreCell{0, 0}));

    QTest::keyClick(w->scoreArea(), Qt::Key_G);  // press and release here: E0
    EXPECT_EQ(entry(d).noteIndex, 10);
    QKeyEvent loneReturn(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(w->scoreArea(), &loneReturn);
    EXPECT_EQ(cells(d).front(), (ScoreCell{0, 0}));
    QTest::keyClick(w->scoreArea(), Qt::Key_Return);
    EXPECT_EQ(cells(d).front(), (ScoreCell{10, 0}));
}

QKeyEvent release(int key, Qt::KeyboardModifiers m = Qt::NoModifier) {
    return QKeyEvent(QEvent::KeyRelease, key, m, 0, 0, 0);
}

// Without a scan code (the offscreen platform, synthesized events) the key decides, as a US
// layout would type it; the characters themselves are the core's table.
TEST(KeyMapping, FallbackByQtKey) {
    const std::pair<int, std::int64_t> keys[] = {
        {Qt::Key_Enter, 36},  {Qt::Key_Backspace, 51}, {Qt::Key_Escape, 53}, {Qt::Key_Left, 123},
        {Qt::Key_Right, 124}, {Qt::Key_Down, 125},     {Qt::Key_Up, 126},    {Qt::Key_Exclam, 18},
    };
    for (const auto& [key, mac] : keys) EXPECT_EQ(gui::macKeyCode(release(key)), mac) << key;
    for (int key : {int(Qt::Key_F1), int(Qt::Key_Shift), int(Qt::Key_Control), int(Qt::Key_Delete),
                    int(Qt::Key_unknown), int(Qt::Key_Eacute)}) {
        EXPECT_FALSE(gui::macKeyCode(release(key)).has_value()) << key;
    }
}

// On X11 and Wayland the physical key decides, whatever the layout made of it; on macOS the
// virtual key is the code; elsewhere, and for synthesized events, the Qt key.
TEST(KeyMapping, ThePlatformChoosesScanCodeVirtualKeyOrQtKey) {
    const struct {
        const char* platform;
        quint32 scanCode, virtualKey;
        int key;
        std::optional<std::int64_t> mac;
    } events[] = {
        {"xcb", 38, 0, Qt::Key_Q, 0},   // AZERTY: the A position types Q
        {"xcb", 24, 0, Qt::Key_A, 12},  // and the Q position types A
        {"wayland-egl", 36, 0, Qt::Key_Return, 36},
        {"xcb", 67, 0, Qt::Key_F1, std::nullopt},
        {"xcb", 0, 0, Qt::Key_A, 0},          // synthesized: by key
        {"offscreen", 38, 0, Qt::Key_Q, 12},  // no X11 numbering: by key
        {"windows", 30, 0, Qt::Key_A, 0},
        {"cocoa", 0, 0, Qt::Key_Q, 0},  // key code 0 is a real key (A) there, not "none"
        {"cocoa", 0, 93, Qt::Key_yen, 93},
    };
    for (const auto& e : events) {
        EXPECT_EQ(
            gui::macKeyCodeFrom(QString::fromLatin1(e.platform), e.scanCode, e.virtualKey, e.key),
            e.mac)
            << e.platform << " " << e.scanCode;
    }
    const std::pair<Qt::KeyboardModifiers, KeyModifiers> modifiers[] = {
        {Qt::ShiftModifier | Qt::KeypadModifier, {.shift = true}},
        {Qt::ControlModifier, {.control = true}},
        {Qt::AltModifier | Qt::MetaModifier, {.alt = true, .meta = true}},
    };
    for (const auto& [qt, expected] : modifiers) {
        const KeyModifiers m = gui::keyModifiers(release(Qt::Key_S, qt));
        EXPECT_EQ((std::vector{m.shift, m.control, m.alt, m.meta}),
                  (std::vector{expected.shift, expected.control, expected.alt, expected.meta}));
    }
}

TEST(ScoreWindowLayout, EveryStaffAndThePageButtonsStayInsideAtEveryZoom) {
    auto [w, audio] = makeWindow();
    const QSize least = w->minimumSize();
    EXPECT_LE(least.width(), 1366);
    EXPECT_LE(least.height(), 700);
    const auto inside = [&](const QWidget* part) {
        return w->rect().contains(QRect(part->mapTo(w.get(), QPoint(0, 0)), part->size()));
    };
    for (const QSize size : {least, QSize(1366, 700)}) {
        w->resize(size);
        for (const double zoom : gui::StaffPanel::zoomSteps()) {
            w->zoomTo(zoom);
            w->resize(size);
            QApplication::processEvents();
            SCOPED_TRACE(QStringLiteral("%1x%2 at %3")
                             .arg(size.width())
                             .arg(size.height())
                             .arg(zoom)
                             .toStdString());
            for (int row = 1; row <= 3; ++row) EXPECT_TRUE(inside(w->staffWidget(row))) << row;
            for (const char* name : {"btnPageUp", "btnPageDown"}) {
                EXPECT_TRUE(inside(w->findChild<QPushButton*>(name))) << name;
            }
            // A zoom the window has room for is shown as asked, and the staff drawn at it.
            if (gui::StaffPanel::sizeAt(zoom).height() <= w->staffPanel().height() &&
                gui::StaffPanel::sizeAt(zoom).width() <= w->staffPanel().width()) {
                EXPECT_DOUBLE_EQ(w->staffPanel().scale(), zoom);
            }
            EXPECT_EQ(w->staffWidget(1)->width(),
                      qRound(w->staffPanel().scale() * ScoreLayout::kStaffWidth));
        }
    }
    // Fitting: the staves fill the panel's width or its height.
    w->resize(1366, 700);
    w->staffPanel().setFitToWindow(true);
    const QSize fitted = gui::StaffPanel::sizeAt(w->staffPanel().scale());
    EXPECT_TRUE(fitted.width() >= w->staffPanel().width() - 2 ||
                fitted.height() >= w->staffPanel().height() - 2);
}

TEST(KeyboardMap, ListsEveryPianoKeyOfTheKeyTable) {
    gui::KeyboardMapWindow map;
    std::set<std::pair<std::int64_t, QString>> shown, table;
    for (const auto& key : map.keys()) {
        if (key.hasRole && key.kind == KeyRole::Pitch) shown.insert({key.code, key.role});
    }
    for (const KeyBinding& b : keyBindings()) {
        if (b.role != KeyRole::Pitch) continue;
        const std::string_view name = tables::noteArr[static_cast<std::size_t>(b.plain)];
        table.insert({b.code, QString::fromLatin1(name.data(), static_cast<int>(name.size()))});
    }
    EXPECT_GE(table.size(), 17u) << "the home row and the row above";
    EXPECT_EQ(shown, table);
}

}  // namespace
}  // namespace sorvel::test
