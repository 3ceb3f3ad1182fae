// The application with its real windows and menus: saving through the window and the atomic
// file writer, opening in new windows, failed saves, modes, preferences, undo and redo
// through the Edit menu across windows, and the About window.
#include <QDir>
#include <QPointer>

#include "app/recent_files.h"
#include "test_support.h"

namespace sorvel::test {
namespace {

using AppFiles = AppWithWindow;

TEST_F(AppFiles, SaveThroughTheWindowThenOpenInANewWindowGivesTheSameScore) {
    // given a score of three cells, chord text, a reference pitch and settings, all entered
    // through the window's controls
    ScoreWindow& w = *window_;
    writeThreeCells(w);
    typeInto(w, "cdText1", "C G7");
    typeInto(w, "cdText3", "F");
    typeInto(w, "A_Hz", "442", true);  // cdText3's editing ends
    w.scoreArea()->setFocus();
    const std::pair<const char*, int> combos[] = {
        {"imgCombo", 1}, {"cmbTempo", 5}, {"cmbInKey", 2}, {"cmbBeat", 1}};
    for (auto [name, index] : combos) choose(w, name, index);
    // when saved through the File menu
    const QString saved = path("my song.txt");
    dialogs_.saveAnswer = saved.toStdString();
    trigger(window_, "Save");
    // then the file holds it all, and opens again in windows that show it and save it alike
    EXPECT_EQ(dialogs_.saveSuggestions, (std::vector<std::string>{"Untitled"}));
    EXPECT_EQ(readFile(saved),
              QByteArray("<,sorvel2,1,5,442,2,1\n#C G7\n#       \n#F\n17,5\n20,3\n17,17\n"));
    EXPECT_EQ(window_->windowTitle(), "my song.txt[*]");
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{"my song.txt"})
        << "no temporary file is left behind";

    // Opened through the system's request: a second window whose controls show the file.
    app_->delegate().openFile(saved.toStdString());
    ASSERT_EQ(app_->scoreWindows().size(), 2);
    ScoreWindow* second = app_->scoreWindows().last();
    EXPECT_EQ(testing::cells(second->document()), testing::cells(window_->document()));
    EXPECT_EQ(second->windowTitle(), "my song.txt[*]");
    EXPECT_EQ(app_->delegate().rootDocument(), &second->document());
    for (auto [field, text] : {std::pair{"cdText1", "C G7"}, {"cdText3", "F"}, {"A_Hz", "442"}})
        EXPECT_EQ(second->findChild<QLineEdit*>(field)->text(), text) << field;
    for (auto [name, index] : combos) {
        EXPECT_EQ(second->findChild<QComboBox*>(name)->currentIndex(), index) << name;
    }
    EXPECT_EQ(labelText(*second, "allP"), "1");
    EXPECT_EQ(recentFiles(settings_).front(), saved.toStdString());

    // File > Open reaches the dialog and opens a third window.
    dialogs_.openAnswer = saved.toStdString();
    trigger(second, "Open");
    EXPECT_EQ(app_->scoreWindows().size(), 3);
    EXPECT_TRUE(alerts_.shown.empty());
}

TEST_F(AppFiles, AFailedSaveSaysSoAndWritesNothing) {
    QDir(dir_.path()).mkdir(QStringLiteral("a folder"));
    dialogs_.saveAnswer = path("a folder").toStdString();
    trigger(window_, "Save");
    ASSERT_EQ(alerts_.shown.size(), 1u);
    EXPECT_EQ(alerts_.shown[0].text, "The file could not be saved.");
    EXPECT_FALSE(alerts_.shown[0].informative.empty()) << "and why";
    EXPECT_EQ(window_->windowTitle(), "Untitled[*]");
    EXPECT_TRUE(QDir(path("a folder")).isEmpty());
}

TEST_F(AppFiles, SongAndExerciseAreARadioPairInEveryWindowsMenu) {
    trigger(window_, "New");
    ASSERT_EQ(app_->scoreWindows().size(), 2);
    // The application starts in Song mode; a choice in one window shows in every window.
    for (auto [window, chosen, song] : {std::tuple{window_, "", true},
                                        {window_, "mnExercise", false},
                                        {app_->scoreWindows().last(), "mnSong", true}}) {
        if (*chosen) action(window, chosen)->trigger();
        for (ScoreWindow* w : app_->scoreWindows()) {
            EXPECT_EQ(action(w, "mnSong")->isChecked(), song);
            EXPECT_EQ(action(w, "mnExercise")->isChecked(), !song);
        }
        EXPECT_EQ(app_->delegate().exerciseMode(), !song);
    }
}

TEST_F(AppFiles, PreferencesShowAndChooseTheSetFolder) {
    QMainWindow* prefs = qobject_cast<QMainWindow*>(app_->preferencesWindow());
    ASSERT_NE(prefs, nullptr);
    auto* prefURL = prefs->findChild<QLineEdit*>("prefURL");
    ASSERT_NE(prefURL, nullptr);
    EXPECT_EQ(prefURL->text().toStdString(), setFolder());
    EXPECT_FALSE(prefs->isVisible()) << "hidden at launch";
    trigger(window_, "Preferences");
    EXPECT_TRUE(prefs->isVisible());

    dialogs_.folderAnswer = dir_.path().toStdString();
    trigger(window_, "Choose Set Folder");
    EXPECT_EQ(prefURL->text(), dir_.path());
    EXPECT_EQ(app_->delegate().prefURLStr, setFolder()) << "until the next start";
    typeInto(*prefs, "prefURL", "/elsewhere");
    EXPECT_EQ(app_->delegate().prefURL, "/elsewhere");
}

using EditUndo = AppTest;

TEST_F(EditUndo, EachWindowUndoesItsOwnEditsAndAsksBeforeClosingAModifiedScore) {
    ScoreWindow* a = newWindow();
    QPointer<ScoreWindow> b = newWindow();
    ASSERT_TRUE(a && b);
    Document& da = a->document();
    Document& db = b->document();
    click(*a, {"pitchMtx_4", "onpMtx1_0_2", "btnUPDate"});
    click(*b, {"onpMtx1_0_0", "btnADD"});
    const Cells blank = {{0, 0}}, bEdited = {{0, 0}, {0, 1}};
    EXPECT_TRUE(a->isWindowModified() && b->isWindowModified());

    // The Edit menu acts on the score in front, and on nothing else.
    const struct {
        ScoreWindow* window;
        const char* item;
        Cells a, b;
    } steps[] = {
        {a, "Undo", blank, bEdited}, {b, "Undo", blank, blank}, {b, "Redo", blank, bEdited}};
    for (const auto& s : steps) {
        ASSERT_TRUE(makeKey(s.window));
        trigger(s.window, s.item);
        EXPECT_EQ(testing::cells(da), s.a);
        EXPECT_EQ(testing::cells(db), s.b);
        EXPECT_EQ(testing::staffMismatch(s.window->document()), "");
        EXPECT_EQ(s.window->isWindowModified(), testing::cells(s.window->document()) != blank);
    }

    // Closing asks; Cancel keeps the window, Don't Save closes it.
    questions_.saveAnswers = {SaveChoice::Cancel, SaveChoice::Discard};
    trigger(b, "Close");
    EXPECT_TRUE(b->isVisible());
    trigger(b, "Close");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(b.isNull());
    EXPECT_EQ(questions_.asked, (std::vector<std::string>{"Untitled 2", "Untitled 2"}));
}

// The title window opened from the About item: a framed window that does not stay above the
// others and closes on Escape.
TEST_F(AppTest, TheAboutWindowHasAFrameStaysBehindOthersAndClosesOnEscape) {
    ScoreWindow* w = newWindow();
    ASSERT_NE(w, nullptr);
    for (int round = 0; round < 2; ++round) {  // opened again after closing
        SCOPED_TRACE(round);
        trigger(w, "About Sorvel Score");
        QWidget* title = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (!title && top->objectName() == QLatin1String("titleWindow")) title = top;
        }
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
